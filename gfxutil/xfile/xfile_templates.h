#pragma once

#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "gfxutil/xfile/xfile.h"

namespace tetrakon {

// The standard template set (frames, meshes, materials, animation and skinning), so that
// files which use these types without declaring them still read.
const std::vector<XTemplate>& StandardXTemplates();

// The template of that name: the file's own definition first, then the standard one.
// Names compare exactly, then without regard to case ("TextureFileName").
const XTemplate* FindXTemplate(const XFile& file, std::string_view name);

// The same lookup, indexed once for a file, for passes that look up a template per object
// or per array element (a file may declare any number of templates). Holds pointers into
// the file's templates, so the file must outlive it and keep its templates unchanged.
class XTemplateLookup {
  public:
    explicit XTemplateLookup(const XFile& file);
    const XTemplate* Find(std::string_view name) const;

  private:
    std::unordered_map<std::string_view, const XTemplate*> exact_;
    std::unordered_map<std::string, const XTemplate*> folded_;  // by lower-case name
};

// The values of one member of an object, located through its template, e.g. "faceColor"
// of a Material or "nFaces" of a Mesh. False when the template is unknown, has no such
// member, or the object's values do not fit it.
bool FindXMemberValues(const XFile& file, const XDataObject& object, std::string_view member,
                       std::span<const XValue>* out);

}  // namespace tetrakon
