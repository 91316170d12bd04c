#pragma once

// Pixels as OpenGL and OpenGL ES both exchange them (GL_RGBA, GL_UNSIGNED_BYTE: the bytes
// R, G, B, A in that order), to and from the program's 0xAARRGGBB words, the same on
// every machine whatever its byte order. Plain code: no OpenGL.

#include <cstddef>
#include <cstdint>

namespace tetrakon::gfx {

void ArgbToRgbaBytes(const std::uint32_t* words, std::size_t count, std::uint8_t* bytes);
void RgbaBytesToArgb(const std::uint8_t* bytes, std::size_t count, std::uint32_t* words);

}  // namespace tetrakon::gfx
