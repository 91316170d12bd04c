// Cost of one click pick on the program's own models: the ray through the pixel, the body's
// 264 triangles and the 72 targets.

#include <benchmark/benchmark.h>

#include "gfxutil/ray.h"
#include "resources/module_resources.h"
#include "scene/pick_turn.h"
#include "scene/scene_mesh.h"

namespace tetrakon {
namespace {

void BM_PickTurn(benchmark::State& state) {
    SceneMesh hull("CD3DFile_Mesh");
    SceneMesh targets("CD3DFile_Mesh");
    if (Failed(hull.LoadFromResource(nullptr, kHullModelId, "X")) ||
        Failed(targets.LoadFromResource(nullptr, kTurnTargetModelId, "X"))) {
        state.SkipWithError("the pick models did not load");
        return;
    }
    // The game's camera over a 532 x 379 drawing area, the pyramid turned a little and
    // zoomed one step, and a click just off the middle of the view, on the pyramid.
    PickInputs click;
    click.width = 532;
    click.height = 379;
    click.px = 270;
    click.py = 180;
    click.world =
        MatrixRotationY(0.4f) * MatrixRotationX(0.3f) * MatrixScaling(1.08f, 1.08f, 1.08f);
    click.view = MatrixLookAtLH({0, 0, -55}, {0, 0, 0}, {0, 1, 0});
    click.projection = MatrixPerspectiveFovLH(0.7853982f, 532.0f / 379.0f, 1.0f, 200.0f);
    click.hull = hull.sourceMesh();
    click.targets = targets.sourceMesh();
    const std::optional<PickRay> ray = PickRayThroughPixel(click);
    if (!ray || !NearestHit(*click.hull, ray->origin, ray->direction)) {
        state.SkipWithError("the ray misses the pyramid");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(PickTurn(click));
    }
}
BENCHMARK(BM_PickTurn);

}  // namespace
}  // namespace tetrakon
