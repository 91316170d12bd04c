#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gfxutil/xfile.h"

namespace tetrakon {

// Largest uncompressed file the reader accepts from the compressed container.
constexpr std::uint32_t kMaxXUncompressedSize = 256u * 1024u * 1024u;

// Unpacks the compressed container ("tzip"/"bzip"): `data` is the whole file, header
// included; `body` receives the uncompressed bytes that follow the header. Every block
// must carry the "CK" signature, lie inside the data and inflate to exactly its stated
// size, and the blocks together must give the stated total.
XStatus DecompressXContainer(std::span<const std::uint8_t> data, std::vector<std::uint8_t>* body);

}  // namespace tetrakon
