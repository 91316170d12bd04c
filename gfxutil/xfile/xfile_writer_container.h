#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gfxutil/xfile/xfile.h"

namespace tetrakon {

// Packs an uncompressed X file (its 16-byte header included) into the compressed container:
// the header with its encoding changed to `compressedEncoding` ("bzip" or "tzip"), the
// total size, then blocks of at most 32768 bytes, each a raw deflate stream that uses the
// previous 32 KB of data as its preset dictionary.
XStatus CompressXContainer(std::span<const std::uint8_t> file, const char compressedEncoding[4],
                           std::vector<std::uint8_t>* out);

}  // namespace tetrakon
