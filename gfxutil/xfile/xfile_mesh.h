#pragma once

#include <vector>

#include "gfxutil/matrix.h"
#include "gfxutil/mesh.h"
#include "gfxutil/xfile/xfile.h"

namespace tetrakon {

// Turns a Mesh data object (with its MeshNormals, MeshMaterialList with inline or
// referenced Materials, MeshTextureCoords and TextureFilename children) into the mesh
// container. Polygons are split into triangle fans; vertices are duplicated where one
// position carries different normals. The result has one material per material-list
// entry (a default grey one when the list is missing) and its subsets are sorted.
XStatus MeshFromXObject(const XDataObject& meshObject, Mesh* out);

// Every Mesh the frame tree places (WalkFrames: a referenced mesh or frame once for each
// place it is referred to), each with the product of the transforms of the frames around
// it (innermost first, as a child's matrix times its parent's, the root's last), in file
// order.
struct FramedMesh {
    Mesh mesh;
    Matrix world;
};
XStatus CollectMeshes(const XFile& file, std::vector<FramedMesh>* out);

// All meshes of the file merged into one (MergeMeshes), materials in file order.
XStatus LoadMergedMesh(const XFile& file, Mesh* out);

}  // namespace tetrakon
