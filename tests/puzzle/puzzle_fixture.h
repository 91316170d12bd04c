#pragma once

#include <bitset>

#include <gtest/gtest.h>

#include "game/bind_pieces.h"
#include "gfxutil/result.h"
#include "puzzle/layer_turn.h"
#include "puzzle/piece_table.h"
#include "scene/scene_file.h"
#include "scene/scene_mesh.h"
#include "solved_pieces.h"

namespace tetrakon::testing {

// The scene objects the 3-D view owns, with a piece table bound to the solved model.
struct Puzzle {
    SceneFile root;
    SceneMesh hullMesh{"CD3DFile_Mesh"};
    SceneMesh turnTargetMesh{"CD3DFile_Mesh"};
    PieceTable pieces;

    PuzzleScene scene() { return {&root, &hullMesh, &turnTargetMesh}; }

    // Loads the solved model the way the game does.
    Result Load(const PuzzleModelIds& models = {}) {
        return BindPieces(nullptr, scene(), pieces, models);
    }

    Vec3 Position(const char* name) const { return pieces.Position(Slot(name)); }

    // Plays a whole turn in `steps` steps.
    void Turn(TurnCode code, int steps = 8) {
        for (int i = 0; i < steps; ++i) {
            DispatchTurn(pieces, code, steps);
        }
    }
};

// Tests that start from the solved pyramid.
class SolvedPuzzleTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(puzzle.Load(), S_OK); }

    Puzzle puzzle;
};

}  // namespace tetrakon::testing
