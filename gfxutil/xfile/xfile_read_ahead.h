#pragma once

// X files read ahead, on another thread, before a load needs them: the start-up reads the
// program's models while the main thread loads the OpenGL driver.

#include <cstdint>
#include <span>

#include "gfxutil/xfile/xfile.h"

namespace tetrakon {

// Reads each file in turn on the calling thread and keeps the results for
// TakeOrReadXFile. A file is known by its bytes' address and size, so the bytes must stay
// where they are until taken (the program's embedded resources do).
void ReadXFilesAhead(std::span<const std::span<const std::uint8_t>> files);

// The result read ahead for these bytes, waiting for it while the read is still running;
// each is taken once. Bytes not read ahead (or taken already) are read here.
XStatus TakeOrReadXFile(std::span<const std::uint8_t> data, XFile* out);

}  // namespace tetrakon
