// Picture decoding speed: a 1024 x 768 photograph as a quality-85 JPEG (the background
// picture's usual case), and scaling it down to half size.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>  // before jpeglib.h, which uses FILE and size_t
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "gfxutil/picture.h"

namespace tetrakon {
namespace {

Picture DecodedPhoto() {
    std::ifstream in(std::string(TETRAKON_TEST_DATA) + "/images/jpeg/junk_jpeg_header.jpg",
                     std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    Picture photo;
    if (Failed(DecodePicture(bytes, {}, &photo))) {
        std::abort();
    }
    return photo;
}

// The test photograph (1024 x 768) encoded again at quality 85 with 4:2:0 chroma, as a
// camera or an image editor would save it.
std::vector<std::uint8_t> EncodeQuality85(const Picture& photo) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = photo.width;
    info.image_height = photo.height;
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<std::uint32_t*>(photo.pixels.data()) +
                                                  std::size_t{info.next_scanline} * photo.width);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> jpeg(buffer, buffer + size);
    std::free(buffer);
    return jpeg;
}

void BM_DecodeJpeg1024x768(benchmark::State& state) {
    const std::vector<std::uint8_t> jpeg = EncodeQuality85(DecodedPhoto());
    Picture picture;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodePicture(jpeg, {}, &picture));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * jpeg.size()));
    state.counters["jpeg_bytes"] = static_cast<double>(jpeg.size());
}
BENCHMARK(BM_DecodeJpeg1024x768)->Unit(benchmark::kMillisecond);

void BM_ScaleDownToHalf(benchmark::State& state) {
    const Picture photo = DecodedPhoto();
    Picture scaled;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ScalePictureToFit(photo, 512, 384, &scaled));
    }
}
BENCHMARK(BM_ScaleDownToHalf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tetrakon
