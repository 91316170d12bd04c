#pragma once

// The materials of a mesh: its MeshMaterialList child and the Material objects (inline or
// referenced) that the list gives.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfxutil/mesh.h"
#include "gfxutil/xfile/xfile.h"

namespace tetrakon {

// The grey material of a mesh without a material list.
Material DefaultMaterial();

// Reads a MeshMaterialList: its materials in order and one material index for each of
// `polygonCount` polygons (a list shorter than the polygons repeats its last index).
XStatus ReadMaterialList(const XDataObject& object, std::size_t polygonCount,
                         std::vector<Material>* materials,
                         std::vector<std::uint32_t>* polygonMaterial);

}  // namespace tetrakon
