// X file reading and writing speed: the largest real test file, and about 100 KB of
// compressed container made by the writer.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_container.h"

namespace tetrakon {
namespace {

const std::vector<std::uint8_t>& LargestFile() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::ifstream in(std::string(TETRAKON_TEST_DATA) + "/xfiles/fromtruespace_bin32.x",
                         std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>());
    }();
    return bytes;
}

XValue Float(double value) {
    return XValue::Float(value);
}

XValue Integer(std::int64_t value) {
    return XValue::Integer(value);
}

// A framed mesh of scattered vertices, large enough that its compressed form is about
// 100 KB (positions from a fixed-seed generator, so they compress like real models do).
const std::vector<std::uint8_t>& CompressedHundredKilobytes() {
    static const std::vector<std::uint8_t> packed = [] {
        constexpr int kVertices = 11000;
        auto mesh = std::make_unique<XDataObject>();
        mesh->templateName = "Mesh";
        mesh->name = "Scattered";
        mesh->values.push_back(Integer(kVertices));
        std::uint32_t state = 2024;
        for (int i = 0; i < 3 * kVertices; ++i) {
            state = state * 1664525u + 1013904223u;
            mesh->values.push_back(Float(static_cast<int>(state >> 20) / 256.0));
        }
        mesh->values.push_back(Integer(kVertices - 2));
        for (int i = 0; i + 2 < kVertices; ++i) {
            for (std::int64_t index : {3, i, i + 1, i + 2})
                mesh->values.push_back(Integer(index));
        }
        XFile file;
        auto frame = std::make_unique<XDataObject>();
        frame->templateName = "Frame";
        frame->name = "Root";
        frame->children.push_back(XChild{std::move(mesh), {}, {}, nullptr});
        file.objects.push_back(std::move(frame));
        std::vector<std::uint8_t> out;
        WriteXFileCompressed(file, &out);
        return out;
    }();
    return packed;
}

// Reads the whole file once per iteration; throughput is counted in input bytes.
void ReadRepeatedly(benchmark::State& state, std::span<const std::uint8_t> bytes) {
    for (auto _ : state) {
        XFile file;
        const XStatus status = ReadXFile(bytes, &file);
        if (!status.ok())
            state.SkipWithError(status.message.c_str());
        benchmark::DoNotOptimize(file.objects.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_ReadLargestFile(benchmark::State& state) {
    ReadRepeatedly(state, LargestFile());
}
BENCHMARK(BM_ReadLargestFile)->Unit(benchmark::kMicrosecond);

void BM_DecompressContainer100KB(benchmark::State& state) {
    const std::vector<std::uint8_t>& packed = CompressedHundredKilobytes();
    state.counters["compressed_bytes"] = static_cast<double>(packed.size());
    for (auto _ : state) {
        std::vector<std::uint8_t> body;
        const XStatus status = DecompressXContainer(packed, &body);
        if (!status.ok())
            state.SkipWithError(status.message.c_str());
        benchmark::DoNotOptimize(body.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * packed.size()));
}
BENCHMARK(BM_DecompressContainer100KB)->Unit(benchmark::kMicrosecond);

void BM_ReadCompressed100KB(benchmark::State& state) {
    ReadRepeatedly(state, CompressedHundredKilobytes());
}
BENCHMARK(BM_ReadCompressed100KB)->Unit(benchmark::kMicrosecond);

// Text files shaped to make a reader's work grow faster than its input: n references to a
// name no object has, beside n named objects; n declared templates beside n objects of an
// undeclared type; a template of n members that hold no values, repeated for n values.
std::string HostileText(int shape, int n) {
    std::string text = "xof 0303txt 0032\n";
    if (shape == 0) {
        text += "Frame F {\n";
        for (int i = 0; i < n; ++i)
            text += "{ Missing }\n";
        text += "}\n";
        for (int i = 0; i < n; ++i)
            text += "Frame F" + std::to_string(i) + " {}\n";
    } else if (shape == 1) {
        for (int i = 0; i < n; ++i)
            text += "template T" + std::to_string(i) + " {\n}\n";
        for (int i = 0; i < n; ++i)
            text += "Undeclared { 1; }\n";
    } else {
        text += "template Wide {";
        for (int i = 0; i < n; ++i)
            text += " array FLOAT empty" + std::to_string(i) + "[0];";
        text += " FLOAT v; }\ntemplate Many { DWORD n; array Wide items[n]; }\nMany { ";
        text += std::to_string(n) + ";";
        for (int i = 0; i < n; ++i)
            text += " 1;";
        text += " }\n";
    }
    return text;
}

void BM_ReadHostileText(benchmark::State& state) {
    const std::string text = HostileText(static_cast<int>(state.range(0)), 20000);
    ReadRepeatedly(state, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}
BENCHMARK(BM_ReadHostileText)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_WriteLargestFileText(benchmark::State& state) {
    XFile file;
    if (!ReadXFile(LargestFile(), &file).ok())
        state.SkipWithError("largest file does not read");
    for (auto _ : state) {
        std::string text;
        WriteXFileText(file, &text);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_WriteLargestFileText)->Unit(benchmark::kMicrosecond);

void BM_WriteLargestFileCompressed(benchmark::State& state) {
    XFile file;
    if (!ReadXFile(LargestFile(), &file).ok())
        state.SkipWithError("largest file does not read");
    for (auto _ : state) {
        std::vector<std::uint8_t> packed;
        WriteXFileCompressed(file, &packed);
        benchmark::DoNotOptimize(packed.data());
    }
}
BENCHMARK(BM_WriteLargestFileCompressed)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tetrakon
