#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gfxutil/xfile/xfile.h"

namespace tetrakon {

// Largest uncompressed file the reader accepts from the compressed container. Deflate packs
// up to about a thousand bytes into one, and the reader keeps each value of the unpacked
// data in a tree node some thirty times its text size, so this caps what a small file can
// make the reader hold (here about 2 GB from a 90 KB file); real models are far smaller.
constexpr std::uint32_t kMaxXUncompressedSize = 64u * 1024u * 1024u;

// Unpacks the compressed container ("tzip"/"bzip"): `data` is the whole file, header
// included; `body` receives the uncompressed bytes that follow the header. Every block
// must carry the "CK" signature, lie inside the data and inflate to exactly its stated
// size, and the blocks together must give the stated total.
XStatus DecompressXContainer(std::span<const std::uint8_t> data, std::vector<std::uint8_t>* body);

}  // namespace tetrakon
