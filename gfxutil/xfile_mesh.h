#pragma once

#include <vector>

#include "gfxutil/matrix.h"
#include "gfxutil/mesh.h"
#include "gfxutil/xfile.h"

namespace tetrakon {

// Turns a Mesh data object (with its MeshNormals, MeshMaterialList with inline or
// referenced Materials, MeshTextureCoords and TextureFilename children) into the mesh
// container. Polygons are split into triangle fans; vertices are duplicated where one
// position carries different normals. The result has one material per material-list
// entry (a default grey one when the list is missing) and its subsets are sorted.
XStatus MeshFromXObject(const XDataObject& meshObject, Mesh* out);

// Every Mesh of the file, each with the product of the FrameTransformMatrix values of the
// frames around it (innermost first, as a child's matrix times its parent's), in file order.
struct FramedMesh {
    Mesh mesh;
    Matrix world;
};
XStatus CollectMeshes(const XFile& file, std::vector<FramedMesh>* out);

// All meshes of the file merged into one (MergeMeshes), materials in file order.
XStatus LoadMergedMesh(const XFile& file, Mesh* out);

}  // namespace tetrakon
