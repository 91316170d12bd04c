#pragma once

#include <vector>

#include "gfxutil/xfile/xfile.h"
#include "tools/modelgen/model_part.h"

namespace tetrakon::modelgen {

// An X file of the parts: the definitions of the templates it uses, then one top-level
// Frame per part, in order, each with its FrameTransformMatrix and one Mesh carrying
// MeshNormals (flat, per face), MeshMaterialList (inline Materials) and MeshTextureCoords.
// Every triangle gets vertices of its own so that each face keeps its flat normal.
XFile BuildModelFile(const std::vector<ModelPart>& parts);

}  // namespace tetrakon::modelgen
