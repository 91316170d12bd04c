// Cost of one frame of the game with the real OpenGL device at 532 x 379: the per-frame
// update (world matrix, lights) and the frame drawing (clear, 58 frames of the pyramid,
// no picture), then the present; with a single-sampled back buffer and with the four
// samples the game takes where offered (the argument). Needs an X display (run under
// xvfb-run); the GL driver's own threads may add to the wall time.
// Also the cost of opening a device, with its GL program compiled or loaded from the
// cache file (the argument: 0 compiled, 1 cached).

#include <benchmark/benchmark.h>

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QWindow>

#include "game/bind_pieces.h"
#include "platform/gfx/gl/gl_device.h"
#include "platform/gfx/gl/gl_graphics_api.h"
#include "platform/gfx/gl/qt_window.h"
#include "scene/scene_file.h"
#include "scene/scene_mesh.h"
#include "scene/scene_renderer.h"

namespace tetrakon {
namespace {

struct NoAnimation : FrameAnimation {
    void StepAnimations() override {}
};

// A shown window at the game view's size, with present parameters for it: X8R8G8B8 with
// D24S8 depth, immediate presentation.
struct BenchWindow {
    BenchWindow() {
        window.resize(532, 379);
        window.show();
        params.backBufferFormat = gfx::Format::X8R8G8B8;
        params.deviceWindow = &adapter;
        params.enableAutoDepthStencil = true;
        params.autoDepthStencilFormat = gfx::Format::D24S8;
        params.presentationInterval = gfx::kPresentIntervalImmediate;
    }
    QWindow window;
    gfx::QtWindow adapter{&window};
    gfx::PresentParameters params;
};

void BM_UpdateAndDrawFrame(benchmark::State& state) {
    BenchWindow surface;
    surface.params.multiSampleType = static_cast<gfx::MultisampleType>(state.range(0));
    // The device presents only into an exposed window; unexposed, Present would copy nothing.
    QDeadlineTimer deadline(5000);
    while (!surface.window.isExposed() && !deadline.hasExpired()) {
        QGuiApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    if (!surface.window.isExposed()) {
        state.SkipWithError("the window was never shown");
        return;
    }
    std::unique_ptr<gfx::GlGraphicsApi> api;
    std::unique_ptr<gfx::Device> device;
    if (Failed(gfx::GlGraphicsApi::Create(&api)) ||
        Failed(api->CreateDevice(0, gfx::DeviceType::HAL, &surface.adapter,
                                 gfx::kCreateHardwareVertexProcessing, surface.params, &device))) {
        state.SkipWithError("no OpenGL device on this display");
        return;
    }
    SceneFile root;
    SceneMesh hull("CD3DFile_Mesh");
    SceneMesh targets("CD3DFile_Mesh");
    PieceTable pieces;
    SceneRenderer renderer;
    if (Failed(BindPieces(device.get(), {&root, &hull, &targets}, pieces)) ||
        Failed(renderer.DeviceCreated(device.get()))) {
        state.SkipWithError("the models did not load");
        return;
    }
    gfx::SurfaceDesc size;
    device->GetBackBufferDesc(&size);
    renderer.DeviceReset(device.get(), size.width, size.height);
    root.RestoreAll(device.get());

    NoAnimation animation;
    float angle = 0;
    for (auto _ : state) {
        angle += 0.01f;
        renderer.UpdateFrame(device.get(), MatrixRotationY(angle), 1.0f);
        renderer.DrawFrame(device.get(), root, animation);
        device->Present();
    }
    renderer.DeviceDestroyed();
    root.DestroyAll();
    hull.Destroy();
    targets.Destroy();
    device->Release();
}

void BM_OpenDevice(benchmark::State& state) {
    BenchWindow surface;
    std::unique_ptr<gfx::GlGraphicsApi> api;
    if (Failed(gfx::GlGraphicsApi::Create(&api))) {
        state.SkipWithError("no OpenGL on this display");
        return;
    }
    for (auto _ : state) {
        std::unique_ptr<gfx::Device> device;
        if (Failed(api->CreateDevice(0, gfx::DeviceType::HAL, &surface.adapter,
                                     gfx::kCreateHardwareVertexProcessing, surface.params,
                                     &device))) {
            state.SkipWithError("no OpenGL device on this display");
            return;
        }
        device->Release();
    }
}
BENCHMARK(BM_OpenDevice)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_UpdateAndDrawFrame)->ArgName("samples")->Arg(0)->Arg(4)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tetrakon

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
