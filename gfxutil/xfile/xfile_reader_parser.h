#pragma once

#include <cstddef>

#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_token.h"

namespace tetrakon {

// Deepest nesting of data objects the reader accepts.
constexpr int kMaxXObjectDepth = 64;

// The tree may take at most this many bytes per byte of the (decompressed) body, besides
// a fixed allowance. Numbers need at most 8 (a 16-byte value from a two-byte "1,"); only
// floods of tiny objects, references, strings or template members reach the limit.
constexpr std::size_t kMaxXTreeBytesPerBodyByte = 16;
constexpr std::size_t kXTreeAllowance = std::size_t{1} << 20;

// Builds templates and data objects from a token stream of a body of `bodySize` bytes. Values are
// kept as read; typing by template and reference resolution come afterwards.
//
// A closing brace with no open object is a syntax error, except for surplus closing
// braces after the last object of the file, which real exporters leave behind and which
// are skipped. A tree that would pass its memory limit fails with TooLarge.
XStatus ParseXTokens(XTokenSource* source, std::size_t bodySize, XFile* out);

}  // namespace tetrakon
