#include "game/bind_pieces.h"

#include "scene/scene_file.h"
#include "scene/scene_mesh.h"

namespace tetrakon {

namespace {

constexpr const char* kModelType = "X";

}  // namespace

Result BindPieces(gfx::Device* device, const PuzzleScene& scene, PieceTable& pieces,
                  const PuzzleModelIds& models) {
    // The frames the table refers to are about to be deleted.
    pieces.Unbind();
    scene.root->DestroyAll();
    scene.hullMesh->Destroy();
    scene.turnTargetMesh->Destroy();

    Result result = scene.root->LoadFromResource(device, models.pieces, kModelType);
    if (Failed(result)) {
        return result;
    }
    result = pieces.Bind(*scene.root);
    if (Failed(result)) {
        return result;
    }
    result = scene.hullMesh->LoadFromResource(device, models.hull, kModelType);
    if (Failed(result)) {
        return result;
    }
    return scene.turnTargetMesh->LoadFromResource(device, models.turnTargets, kModelType);
}

}  // namespace tetrakon
