#pragma once

#include <string_view>
#include <vector>

#include "gfxutil/xfile.h"

namespace tetrakon {

// The standard template set (frames, meshes, materials, animation and skinning), so that
// files which use these types without declaring them still read.
const std::vector<XTemplate>& StandardXTemplates();

// The template of that name: the file's own definition first, then the standard one.
// Names compare exactly, then without regard to case ("TextureFileName").
const XTemplate* FindXTemplate(const XFile& file, std::string_view name);

}  // namespace tetrakon
