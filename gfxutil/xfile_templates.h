#pragma once

#include <span>
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

// The values of one member of an object, located through its template, e.g. "faceColor"
// of a Material or "nFaces" of a Mesh. False when the template is unknown, has no such
// member, or the object's values do not fit it.
bool FindXMemberValues(const XFile& file, const XDataObject& object, std::string_view member,
                       std::span<const XValue>* out);

}  // namespace tetrakon
