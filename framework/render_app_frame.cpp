#include "framework/app_timer.h"
#include "framework/render_app.h"

namespace tetrakon {

Result RenderApp::StepFrame() {
    if (device == nullptr) {
        return E_FAIL;
    }
    if (deviceLost) {
        Result stepResult = S_OK;
        if (!TestDeviceState(&stepResult)) {
            return stepResult;
        }
    }

    const double appTime = AppTimer(TimerCommand::AppTime);
    const double elapsed = AppTimer(TimerCommand::ElapsedTime);
    if (elapsed == 0.0 && frameMoving) {
        return S_OK;
    }

    if (frameMoving || singleStep) {
        time = static_cast<float>(appTime);
        elapsedTime = static_cast<float>(elapsed);
        const Result updated = UpdateFrame();
        if (Failed(updated)) {
            return updated;
        }
        singleStep = false;
    }

    const Result drawn = DrawFrame();
    if (Failed(drawn)) {
        return drawn;
    }
    if (drawn == kFrameUnchanged) {
        return S_OK;
    }
    RefreshFrameStats();

    if (device->Present() == gfx::D3DERR_DEVICELOST) {
        deviceLost = true;
    }
    ++presentedFrames_;
    return S_OK;
}

bool RenderApp::TestDeviceState(Result* stepResult) {
    const Result state = device->TestCooperativeLevel();
    if (Succeeded(state)) {
        deviceLost = false;
        return true;
    }
    if (state == gfx::D3DERR_DEVICELOST) {
        *stepResult = S_OK;
        return false;
    }
    if (state == gfx::D3DERR_DEVICENOTRESET) {
        // The desktop may have changed format while the device was lost.
        if (windowed && settings.windowed.adapter != nullptr && graphics != nullptr) {
            gfx::DisplayMode desktop;
            if (Succeeded(graphics->GetAdapterDisplayMode(settings.windowed.adapter->adapterOrdinal,
                                                          &desktop))) {
                settings.windowed.displayMode = desktop;
                presentParams.backBufferFormat = desktop.format;
            }
        }
        *stepResult = ResetDisplay();
        return false;
    }
    *stepResult = state;
    return false;
}

void RenderApp::CheckFullScreenDevice() {
    if (windowed || device == nullptr) {
        return;
    }
    if (Failed(device->TestCooperativeLevel())) {
        ReturnToWindow();
    }
}

}  // namespace tetrakon
