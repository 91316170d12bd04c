// JPEG decoding with libjpeg. libjpeg reports fatal errors through error_exit, which by
// default ends the process; here it jumps back to the decoding function instead. Nothing
// between the setjmp and a jump owns anything that needs destroying: the picture and the
// work state live in the caller's frame, libjpeg's own memory goes with
// jpeg_destroy_decompress.
//
// Warnings (extraneous bytes before a marker, a missing end of image) do not fail a
// picture: libjpeg still delivers every row, filling what the file lacks.

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstddef>
#include <cstdio>  // before jpeglib.h, which uses FILE and size_t
#include <new>
#include <vector>

#include <jpeglib.h>

#include "gfxutil/picture.h"

namespace tetrakon {

namespace {

// A file with more scans than this is refused: real progressive files have about ten,
// and each further scan costs a pass over the whole coefficient buffer.
constexpr int kMaxScans = 500;
// Rows asked from libjpeg per call; it may deliver fewer.
constexpr int kRowsPerRead = 16;

struct JpegErrors {
    jpeg_error_mgr manager;  // first, so that libjpeg's pointer is also ours
    std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
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
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    jpeg_progress_mgr progress{};
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

void Decode(JpegJob* job, std::span<const std::uint8_t> bytes, const PictureLimits& limits,
            Picture* out) {
    jpeg_decompress_struct* info = &job->info;
    if (setjmp(job->errors.jump) != 0) {
        job->result = E_FAIL;
        return;
    }
    jpeg_create_decompress(info);
    info->progress = &job->progress;
    jpeg_mem_src(info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(info, TRUE);
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : kNativeArgb;
    job->result = AllocatePicture(info->image_width, info->image_height, limits, out);
    if (Succeeded(job->result) && cmyk) {
        job->result = AllocateRow(std::size_t{info->image_width} * 4, &job->cmykRow);
    }
    if (Failed(job->result)) {
        return;
    }
    job->result = E_FAIL;
    jpeg_start_decompress(info);
    if (info->output_width != out->width || info->output_height != out->height) {
        return;
    }
    ReadRows(info, out, cmyk ? job->cmykRow.data() : nullptr);
    jpeg_finish_decompress(info);
    job->result = S_OK;
}

}  // namespace

Result DecodeJpeg(std::span<const std::uint8_t> bytes, const PictureLimits& limits, Picture* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = Picture{};
    if (bytes.empty()) {
        return E_FAIL;
    }
    JpegJob job;
    job.info.err = jpeg_std_error(&job.errors.manager);
    job.errors.manager.error_exit = JumpBack;
    job.errors.manager.emit_message = CountWarning;
    job.progress.progress_monitor = RefuseEndlessScans;
    Decode(&job, bytes, limits, out);
    jpeg_destroy_decompress(&job.info);
    if (Failed(job.result)) {
        *out = Picture{};
    }
    return job.result;
}

}  // namespace tetrakon
