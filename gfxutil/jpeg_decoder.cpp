// JPEG decoding with libjpeg. libjpeg reports fatal errors through error_exit, which by
// default ends the process; here it jumps back to the decoding function instead. Nothing
// between the setjmp and a jump owns anything that needs destroying: the picture and the
// work state live in the caller's frame, libjpeg's own memory goes with
// jpeg_destroy_decompress.
//
// Warnings (extraneous bytes before a marker, a missing end of image) do not fail a
// picture: libjpeg still delivers every row, filling what the file lacks.
//
// The file is read as libjpeg asks for it, so the frame header (and the size it claims)
// is seen before the image data is read. A picture larger than the caller can show is
// decoded scaled down by libjpeg's own inverse DCT, which never holds the full-size pixels.

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // before jpeglib.h, which uses FILE and size_t
#include <new>
#include <vector>

#include <jpeglib.h>
// jerror.h after jpeglib.h
#include <jerror.h>

#include "gfxutil/picture.h"

namespace tetrakon {

namespace {

// A file with more scans than this is refused: real progressive files have about ten,
// and each further scan costs a pass over the whole coefficient buffer.
constexpr int kMaxScans = 500;
// Rows asked from libjpeg per call; it may deliver fewer.
constexpr int kRowsPerRead = 16;
// libjpeg's own working memory. Row buffers are small, but a progressive file keeps every
// DCT coefficient of the whole image (2 bytes each, 1.5 per pixel with the usual chroma
// subsampling, 3 without) whatever the output scale: this allows about 32 Mpixel of a
// progressive photo; a larger one is refused rather than decoded.
constexpr long kMaxJpegWorkBytes = 96L * 1024 * 1024;

struct JpegErrors {
    jpeg_error_mgr manager;  // first, so that libjpeg's pointer is also ours
    std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// What a jump back means: a picture that needs more memory than allowed, or a bad file.
Result FailureOf(const jpeg_error_mgr& errors) {
    return errors.msg_code == JERR_OUT_OF_MEMORY || errors.msg_code == JERR_NO_BACKING_STORE
               ? E_OUTOFMEMORY
               : E_FAIL;
}

// libjpeg's input, read from a PictureSource as it is needed.
struct JpegSource {
    jpeg_source_mgr manager;  // first, so that libjpeg's pointer is also ours
    PictureReader* reader;
};

void StartSource(j_decompress_ptr) {}
void EndSource(j_decompress_ptr) {}

boolean FillSource(j_decompress_ptr info) {
    auto* source = reinterpret_cast<JpegSource*>(info->src);
    std::span<const std::uint8_t> next = source->reader->Next(SIZE_MAX);
    if (next.empty()) {
        // A file that ends early gets an end-of-image marker, as libjpeg's own sources do.
        static const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};
        WARNMS(info, JWRN_JPEG_EOF);
        next = kEndOfImage;
    }
    info->src->next_input_byte = next.data();
    info->src->bytes_in_buffer = next.size();
    return TRUE;
}

void SkipSource(j_decompress_ptr info, long count) {
    if (count <= 0) {
        return;
    }
    jpeg_source_mgr* manager = info->src;
    const auto wanted = static_cast<unsigned long>(count);
    if (wanted <= manager->bytes_in_buffer) {
        manager->next_input_byte += wanted;
        manager->bytes_in_buffer -= wanted;
        return;
    }
    reinterpret_cast<JpegSource*>(manager)->reader->Skip(wanted - manager->bytes_in_buffer);
    manager->bytes_in_buffer = 0;
}

bool Within(std::uint32_t side, std::uint32_t limit) {
    return limit == 0 || side <= limit;
}

// Picks the largest scale of 1/8 to 8/8 at which the output fits the limits' JPEG size; 1/8
// when none does. libjpeg's output dimensions follow the choice.
void ChooseScale(jpeg_decompress_struct* info, const PictureLimits& limits) {
    info->scale_denom = 8;
    for (unsigned eighths = 8;; --eighths) {
        info->scale_num = eighths;
        jpeg_calc_output_dimensions(info);
        const bool fits = Within(info->output_width, limits.jpegFitWidth) &&
                          Within(info->output_height, limits.jpegFitHeight);
        if (fits || eighths == 1) {
            return;
        }
    }
}

// Counts warnings without printing them; trace messages (level > 0) are dropped.
void CountWarning(j_common_ptr info, int level) {
    if (level < 0) {
        ++info->err->num_warnings;
    }
}

void RefuseEndlessScans(j_common_ptr info) {
    if (info->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
        JumpBack(info);
    }
}

// libjpeg writes the bytes B, G, R, A (or A, R, G, B) straight into the 0xAARRGGBB words.
constexpr J_COLOR_SPACE kNativeArgb =
    std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

std::uint32_t Argb(unsigned red, unsigned green, unsigned blue) {
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

// CMYK rows to 0xAARRGGBB. Adobe writes the inks inverted (255 = no ink), so that each
// channel is simply ink x black / 255; other writers store plain ink amounts.
void ConvertCmykRow(const JSAMPLE* cmyk, bool inverted, std::uint32_t width, std::uint32_t* argb) {
    for (std::uint32_t x = 0; x < width; ++x, cmyk += 4) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        }
        argb[x] = Argb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// Reads every row. CMYK rows go through `cmykRow`, one row at a time; all others are
// written by libjpeg straight into the picture.
void ReadRows(jpeg_decompress_struct* info, Picture* picture, JSAMPLE* cmykRow) {
    const std::uint32_t width = picture->width;
    while (info->output_scanline < info->output_height) {
        const JDIMENSION first = info->output_scanline;
        if (cmykRow != nullptr) {
            JSAMPROW rows[1] = {cmykRow};
            if (jpeg_read_scanlines(info, rows, 1) != 1) {
                return;  // jpeg_finish_decompress then reports the missing rows
            }
            ConvertCmykRow(cmykRow, info->saw_Adobe_marker, width,
                           picture->pixels.data() + std::size_t{first} * width);
            continue;
        }
        JSAMPROW rows[kRowsPerRead];
        const JDIMENSION wanted = std::min<JDIMENSION>(kRowsPerRead, info->output_height - first);
        for (JDIMENSION i = 0; i < wanted; ++i) {
            rows[i] =
                reinterpret_cast<JSAMPROW>(picture->pixels.data() + std::size_t{first + i} * width);
        }
        if (jpeg_read_scanlines(info, rows, wanted) == 0) {
            return;
        }
    }
}

// Everything libjpeg works on, kept in the caller's frame so that a jump back to Decode
// leaves nothing half-made in Decode's own frame.
struct JpegJob {
    explicit JpegJob(PictureSource* from) : reader(from) {}
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    jpeg_progress_mgr progress{};
    PictureReader reader;
    JpegSource source{};
    std::vector<JSAMPLE> cmykRow;
    Result result = E_FAIL;
};

Result AllocateRow(std::size_t size, std::vector<JSAMPLE>* row) noexcept {
    try {
        row->resize(size);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

void Decode(JpegJob* job, const PictureLimits& limits, Picture* out) {
    jpeg_decompress_struct* info = &job->info;
    if (setjmp(job->errors.jump) != 0) {
        job->result = FailureOf(job->errors.manager);
        return;
    }
    jpeg_create_decompress(info);
    info->mem->max_memory_to_use = kMaxJpegWorkBytes;
    info->progress = &job->progress;
    job->source.manager.init_source = StartSource;
    job->source.manager.fill_input_buffer = FillSource;
    job->source.manager.skip_input_data = SkipSource;
    job->source.manager.resync_to_restart = jpeg_resync_to_restart;
    job->source.manager.term_source = EndSource;
    job->source.reader = &job->reader;
    info->src = &job->source.manager;
    jpeg_read_header(info, TRUE);
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : kNativeArgb;
    ChooseScale(info, limits);
    if (!limits.Allows(info->output_width, info->output_height)) {
        job->result = E_OUTOFMEMORY;
        return;
    }
    // libjpeg takes its own memory first, so that a progressive file too large for its
    // cap is refused before the picture's pixels are allocated.
    jpeg_start_decompress(info);
    job->result = AllocatePicture(info->output_width, info->output_height, limits, out);
    if (Succeeded(job->result) && cmyk) {
        job->result = AllocateRow(std::size_t{info->output_width} * 4, &job->cmykRow);
    }
    if (Failed(job->result)) {
        return;
    }
    job->result = E_FAIL;
    ReadRows(info, out, cmyk ? job->cmykRow.data() : nullptr);
    jpeg_finish_decompress(info);
    job->result = S_OK;
}

}  // namespace

Result DecodeJpeg(PictureSource& source, const PictureLimits& limits, Picture* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = Picture{};
    if (source.Size() == 0) {
        return E_FAIL;
    }
    JpegJob job(&source);
    job.info.err = jpeg_std_error(&job.errors.manager);
    job.errors.manager.error_exit = JumpBack;
    job.errors.manager.emit_message = CountWarning;
    job.progress.progress_monitor = RefuseEndlessScans;
    Decode(&job, limits, out);
    jpeg_destroy_decompress(&job.info);
    if (Failed(job.result)) {
        *out = Picture{};
    }
    return job.result;
}

}  // namespace tetrakon
