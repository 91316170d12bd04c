#include "framework/render_app.h"

#include "framework/app_timer.h"
#include "framework/framework_results.h"
#include "framework/setup_selection.h"

namespace tetrakon {

namespace {

std::uint32_t& PauseCounter() {
    static std::uint32_t count = 0;
    return count;
}

}  // namespace

RenderApp::RenderApp(GraphicsApiFactory createGraphics, MessageBox* messageBox)
    : createGraphics_(std::move(createGraphics)), messageBox_(messageBox) {
    // The view starts paused, with the timer stopped, until StartUp succeeds.
    ChangePauseCount(true);
}

RenderApp::~RenderApp() {
    // Normally ShutDown has closed the display, with the hooks, while they still existed.
    if (device != nullptr) {
        device->Release();
    }
}

Result RenderApp::ApplyWindowStyle() {
    return S_OK;
}

// Nothing in the game reads a frame rate, so the per-frame statistics measure nothing.
void RenderApp::RefreshFrameStats() {}

Result RenderApp::CheckDeviceCaps(const gfx::DeviceCaps&, std::uint32_t, gfx::Format) {
    return S_OK;
}

Result RenderApp::SceneInit() {
    return S_OK;
}
Result RenderApp::DeviceCreated() {
    return S_OK;
}
Result RenderApp::DeviceReset() {
    return S_OK;
}
Result RenderApp::UpdateFrame() {
    return S_OK;
}
Result RenderApp::DrawFrame() {
    return S_OK;
}
Result RenderApp::DeviceLost() {
    return S_OK;
}
Result RenderApp::DeviceDestroyed() {
    return S_OK;
}
Result RenderApp::SceneShutdown() {
    return S_OK;
}
void RenderApp::SetPaused(bool pause) {
    ChangePauseCount(pause);
}

void RenderApp::ChangePauseCount(bool pause) {
    std::uint32_t& count = PauseCounter();
    if (pause) {
        ++count;
    } else {
        --count;
    }
    active = count == 0;
    if (pause && count == 1 && frameMoving) {
        AppTimer(TimerCommand::Stop);
    }
    if (count == 0 && frameMoving) {
        AppTimer(TimerCommand::Start);
    }
}

std::uint32_t RenderApp::PauseCount() {
    return PauseCounter();
}

void RenderApp::ResetPauseCount() {
    PauseCounter() = 0;
}

Result RenderApp::StartUp() {
    std::string whyNot;
    graphics = createGraphics_ ? createGraphics_(&whyNot) : nullptr;
    if (graphics == nullptr) {
        return tetrakon::ReportError(NoGraphicsApi, ReportKind::Fatal, title, messageBox_,
                                     renderWindow, whyNot);
    }

    catalogue.SetAcceptance([this](const gfx::DeviceCaps& caps, std::uint32_t behaviorFlags,
                                   gfx::Format backBufferFormat) {
        return CheckDeviceCaps(caps, behaviorFlags, backBufferFormat);
    });
    Result result = catalogue.Build(graphics.get());
    if (Failed(result)) {
        graphics.reset();
        return ReportError(result, ReportKind::Fatal);
    }

    if (focusWindow == nullptr) {
        focusWindow = renderWindow;
    }
    if (renderWindow != nullptr) {
        windowBounds = renderWindow->GetWindowRect();
        clientRect = renderWindow->GetClientRect();
    }

    result = ChooseStartSettings();
    if (Failed(result)) {
        graphics.reset();
        return ReportError(result, ReportKind::Fatal);
    }

    AppTimer(TimerCommand::Start);

    result = SceneInit();
    if (Failed(result)) {
        graphics.reset();
        return ReportError(result, ReportKind::Fatal);
    }

    result = OpenDisplay();
    if (Failed(result)) {
        graphics.reset();
        return ReportError(result, ReportKind::Fatal);
    }

    SetPaused(false);
    return S_OK;
}

void RenderApp::ShutDown() {
    CloseDisplay();
    graphics.reset();
    if (!sceneShutDown_) {
        sceneShutDown_ = true;
        SceneShutdown();
    }
    settings = DisplaySettings{};
    catalogue.Clear();
}

Result RenderApp::ReportError(Result code, ReportKind kind) {
    return tetrakon::ReportError(code, kind, title, messageBox_, renderWindow);
}

bool RenderApp::PickWindowedSetup(bool requireHal, bool requireRef) {
    if (graphics == nullptr) {
        return false;
    }
    return tetrakon::PickWindowedSetup(catalogue, *graphics, clientRect, requireHal, requireRef,
                                       &settings);
}

bool RenderApp::PickFullScreenSetup(bool requireHal, bool requireRef) {
    if (graphics == nullptr) {
        return false;
    }
    return tetrakon::PickFullScreenSetup(catalogue, *graphics, requireHal, requireRef, &settings);
}

Result RenderApp::ChooseStartSettings() {
    if (graphics == nullptr) {
        return NoCompatibleDevice;
    }
    return tetrakon::ChooseStartSettings(catalogue, *graphics, clientRect, startFullScreen,
                                         &settings);
}

}  // namespace tetrakon
