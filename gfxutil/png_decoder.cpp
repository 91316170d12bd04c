// PNG decoding with libpng's classic interface. libpng reports errors by jumping back to
// the setjmp in Decode; as with JPEG, all state lives in the caller's frame so that the
// jump leaves nothing half-made behind. Every colour type and bit depth comes out as
// 8-bit straight alpha: palettes expanded, gray copied to red, green and blue, tRNS turned
// into alpha, 16-bit samples cut to their high byte. No gamma correction is applied, so
// the stored samples come out as they are. Only the chunks that make the pixels are read:
// every other ancillary chunk but tRNS is skipped without being kept (LimitChunks).
//
// Warnings (a bad CRC on an ancillary chunk, an empty or misplaced ancillary chunk) do
// not fail a picture; a bad CRC on a critical chunk, damaged image data or a file that
// ends early (even after the last row) does.

#include <png.h>
#include <bit>
#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

#include "gfxutil/picture.h"

namespace tetrakon {

namespace {

// libpng's bound on a chunk's length. Reading, it only warns about a longer chunk and goes
// on to handle it, which is why the chunks that allocate their length are skipped below.
constexpr png_alloc_size_t kMaxChunkBytes = 8 * 1024 * 1024;

// Ancillary chunks the picture does not need: none changes a pixel as it is decoded here
// (no gamma or colour management), and several (text, palettes, calibration) make libpng
// allocate the length the chunk claims and clear it before a byte of it is read, so that a
// few hundred bytes of file could cost gigabytes. libpng reads past them without keeping
// them. tRNS stays: it becomes the alpha channel.
constexpr png_byte kSkippedChunks[] =
    "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0sPLT\0sRGB\0"
    "tEXt\0tIME\0zTXt";
constexpr int kSkippedChunkCount = sizeof kSkippedChunks / 5;

// Bounds what libpng may allocate for one chunk and has it skip every chunk the picture
// does not need, unknown ones included, instead of reading it.
void LimitChunks(png_structp png) {
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, kSkippedChunkCount);
}

struct PngJob {
    explicit PngJob(PictureSource* source) : reader(source) {}
    png_structp png = nullptr;
    png_infop info = nullptr;
    PictureReader reader;
    std::vector<png_bytep> rows;
    Result result = E_FAIL;
};

void ReadFromSource(png_structp png, png_bytep data, std::size_t length) {
    auto* reader = static_cast<PictureReader*>(png_get_io_ptr(png));
    while (length > 0) {
        const std::span<const std::uint8_t> next = reader->Next(length);
        if (next.empty()) {
            png_error(png, "Read Error");
        }
        std::memcpy(data, next.data(), next.size());
        data += next.size();
        length -= next.size();
    }
}

[[noreturn]] void JumpBack(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Asks libpng for 8-bit B, G, R, A bytes (A, R, G, B on big-endian machines), which are
// the 0xAARRGGBB words of a Picture. An opaque picture gets its alpha byte where the
// machine's word wants it: png_set_swap_alpha moves only a real alpha channel, not a
// filler.
void RequestArgb(png_structp png, png_infop info) {
    constexpr bool kLittleEndian = std::endian::native == std::endian::little;
    png_set_expand(png);  // palette to RGB, gray below 8 bits to 8, tRNS to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if ((png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) == 0 &&
        !png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_add_alpha(png, 0xFF, kLittleEndian ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
    } else if (!kLittleEndian) {
        png_set_swap_alpha(png);
    }
    if (kLittleEndian) {
        png_set_bgr(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

Result AllocateRows(Picture* picture, std::vector<png_bytep>* rows) noexcept {
    try {
        rows->resize(picture->height);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    for (std::uint32_t y = 0; y < picture->height; ++y) {
        (*rows)[y] =
            reinterpret_cast<png_bytep>(picture->pixels.data() + std::size_t{y} * picture->width);
    }
    return S_OK;
}

void Decode(PngJob* job, const PictureLimits& limits, Picture* out) {
    if (setjmp(png_jmpbuf(job->png)) != 0) {
        job->result = E_FAIL;
        return;
    }
    png_set_read_fn(job->png, &job->reader, ReadFromSource);
    LimitChunks(job->png);
    png_read_info(job->png, job->info);
    // The header is in; nothing of the image has been allocated yet.
    job->result = AllocatePicture(png_get_image_width(job->png, job->info),
                                  png_get_image_height(job->png, job->info), limits, out);
    if (Succeeded(job->result)) {
        job->result = AllocateRows(out, &job->rows);
    }
    if (Failed(job->result)) {
        return;
    }
    job->result = E_FAIL;
    RequestArgb(job->png, job->info);
    if (png_get_rowbytes(job->png, job->info) != std::size_t{out->width} * 4) {
        return;
    }
    png_read_image(job->png, job->rows.data());
    // The rest of the file is read too: image data cut short after the last row, or a
    // missing end chunk, marks a damaged file.
    png_read_end(job->png, nullptr);
    job->result = S_OK;
}

}  // namespace

Result DecodePng(PictureSource& source, const PictureLimits& limits, Picture* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = Picture{};
    PngJob job(&source);
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpBack, IgnoreWarning);
    if (job.png == nullptr) {
        return E_OUTOFMEMORY;
    }
    job.info = png_create_info_struct(job.png);
    if (job.info == nullptr) {
        png_destroy_read_struct(&job.png, nullptr, nullptr);
        return E_OUTOFMEMORY;
    }
    Decode(&job, limits, out);
    png_destroy_read_struct(&job.png, &job.info, nullptr);
    if (Failed(job.result)) {
        *out = Picture{};
    }
    return job.result;
}

}  // namespace tetrakon
