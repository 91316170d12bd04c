#pragma once

#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_token.h"

namespace tetrakon {

// Deepest nesting of data objects the reader accepts.
constexpr int kMaxXObjectDepth = 64;

// Builds templates and data objects from a token stream. Values are kept as read;
// typing by template and reference resolution come afterwards.
//
// A closing brace with no open object is a syntax error, except for surplus closing
// braces after the last object of the file, which real exporters leave behind and which
// are skipped.
XStatus ParseXTokens(XTokenSource* source, XFile* out);

}  // namespace tetrakon
