#pragma once

#include "gfxutil/result.h"
#include "platform/gfx/device.h"
#include "puzzle/piece_table.h"
#include "resources/module_resources.h"

namespace tetrakon {

class SceneFile;
class SceneMesh;

// The scene objects that BindPieces fills. The owner (the 3-D view) keeps them for the
// program's life; BindPieces only reloads their contents.
struct PuzzleScene {
    SceneFile* root = nullptr;
    SceneMesh* hullMesh = nullptr;
    SceneMesh* turnTargetMesh = nullptr;
};

// The model resources BindPieces loads, all of type "X".
struct PuzzleModelIds {
    int pieces = kPuzzleModelId;
    int hull = kHullModelId;
    int turnTargets = kTurnTargetModelId;
};

// Discards whatever the previous load left, loads the puzzle model under the scene root,
// binds the piece table to its 58 frames and loads the hull and the turn targets. Every
// frame comes back to its stored (solved) matrix. Returns the first failure:
// - the puzzle model cannot be loaded: that code at once; the table stays unbound;
// - the model lacks a piece frame: kPieceFrameMissing at once; the table stays unbound;
// - the hull or the targets cannot be loaded: that code, with the table already bound.
// Only the source meshes are rebuilt; the device copies are made by the next reset.
Result BindPieces(gfx::Device* device, const PuzzleScene& scene, PieceTable& pieces,
                  const PuzzleModelIds& models = {});

}  // namespace tetrakon
