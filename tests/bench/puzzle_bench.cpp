// Cost of one animation step of a layer turn, and of loading and binding the puzzle
// models as device creation and return to start do.

#include <benchmark/benchmark.h>

#include "game/bind_pieces.h"
#include "puzzle/layer_turn.h"
#include "scene/scene_file.h"
#include "scene/scene_mesh.h"

namespace tetrakon {
namespace {

struct LoadedPuzzle {
    SceneFile root;
    SceneMesh hullMesh{"CD3DFile_Mesh"};
    SceneMesh turnTargetMesh{"CD3DFile_Mesh"};
    PieceTable pieces;

    Result Load() { return BindPieces(nullptr, {&root, &hullMesh, &turnTargetMesh}, pieces); }
};

// One step of the middle layer of the given axis: the two passes over the 58 frames plus
// the rotation of the 15 selected ones.
void BM_RotateLayerStep(benchmark::State& state) {
    LoadedPuzzle puzzle;
    if (Failed(puzzle.Load())) {
        state.SkipWithError("the puzzle model did not load");
        return;
    }
    const int axis = static_cast<int>(state.range(0));
    int flag = 0;
    int step = 0;
    for (auto _ : state) {
        RotateLayerStep(puzzle.pieces, axis, 2, flag, 8);
        // Turn back and forth so that the state stays that of a real game.
        if (++step == 8) {
            step = 0;
            flag = 1 - flag;
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RotateLayerStep)->DenseRange(1, 4);

// Discarding the previous load, reading the three compressed models (decompression and
// parsing included), building the hierarchy and binding the 58 slots.
void BM_BindPieces(benchmark::State& state) {
    LoadedPuzzle puzzle;
    for (auto _ : state) {
        if (Failed(puzzle.Load())) {
            state.SkipWithError("the puzzle models did not load");
            return;
        }
        benchmark::DoNotOptimize(puzzle.pieces.matrix(0));
    }
}
BENCHMARK(BM_BindPieces)->Unit(benchmark::kMillisecond);

// The puzzle model alone, as the hierarchy load of BindPieces reads it.
void BM_LoadPuzzleModel(benchmark::State& state) {
    SceneFile root;
    for (auto _ : state) {
        root.DestroyAll();
        if (Failed(root.LoadFromResource(nullptr, kPuzzleModelId, "X"))) {
            state.SkipWithError("the puzzle model did not load");
            return;
        }
        benchmark::DoNotOptimize(root.child);
    }
}
BENCHMARK(BM_LoadPuzzleModel)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tetrakon
