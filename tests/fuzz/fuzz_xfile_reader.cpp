// Feeds arbitrary bytes to the X file reader, then converts every Mesh it finds.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_mesh.h"

namespace {

void ConvertMeshes(const tetrakon::XDataObject& object) {
    if (object.templateName == "Mesh") {
        tetrakon::Mesh mesh;
        tetrakon::MeshFromXObject(object, &mesh);
    }
    for (const tetrakon::XChild& child : object.children) {
        if (child.object)
            ConvertMeshes(*child.object);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tetrakon::XFile file;
    if (!tetrakon::ReadXFile(std::span<const std::uint8_t>(data, size), &file).ok())
        return 0;
    for (const auto& object : file.objects)
        ConvertMeshes(*object);
    std::vector<tetrakon::FramedMesh> meshes;
    tetrakon::CollectMeshes(file, &meshes);
    return 0;
}
