#pragma once

#include <ostream>
#include <string>

#include "gfxutil/xfile/xfile.h"

namespace tetrakon {

// Prints the file's header, template definitions and object tree, one line per object,
// nested by indentation. Frames show their matrix, meshes their counts, references what
// they resolve to. Returns false, with `problem` set, when a mesh in the file does not
// convert; the tree is still printed in full.
bool PrintXTree(const XFile& file, std::ostream& out, std::string* problem);

}  // namespace tetrakon
