#include "framework/framework_results.h"
#include "framework/render_app.h"

namespace tetrakon {

namespace {

// Reset failures reach the user as ResetFailed, except running out of video memory,
// which keeps its own message.
Result AsResetFailure(Result code) {
    return code == gfx::D3DERR_OUTOFVIDEOMEMORY ? code : ResetFailed;
}

}  // namespace

Result RenderApp::OnClientResize() {
    if (ignoreSizeChange || renderWindow == nullptr) {
        return S_OK;
    }
    const gfx::Rect previousClient = clientRect;
    windowBounds = renderWindow->GetWindowRect();
    clientRect = renderWindow->GetClientRect();
    if (clientRect.Width() == previousClient.Width() &&
        clientRect.Height() == previousClient.Height()) {
        return S_OK;
    }

    SetPaused(true);
    presentParams.backBufferWidth = static_cast<std::uint32_t>(clientRect.Width());
    presentParams.backBufferHeight = static_cast<std::uint32_t>(clientRect.Height());
    Result result = S_OK;
    if (device != nullptr) {
        result = ResetDisplay();
        if (Failed(result)) {
            result = ReportError(AsResetFailure(result), ReportKind::Fatal);
        }
    }
    SetPaused(false);
    return result;
}

Result RenderApp::SwitchScreenMode() {
    // Without a setup for the other mode there is nothing to switch to.
    const DisplaySetup& current = settings.Current();
    const DisplaySetup& target = settings.isWindowed
                                     ? settings.fullScreen
                                     : static_cast<const DisplaySetup&>(settings.windowed);
    if (current.combo == nullptr || target.combo == nullptr) {
        // A screen below the full-screen size floor has windowed combos only: say so.
        if (settings.isWindowed && current.adapter != nullptr &&
            current.adapter->displayModes.empty()) {
            ReportError(ScreenTooSmall, ReportKind::Warning);
        }
        return E_FAIL;
    }
    const std::uint32_t previousAdapter = current.combo->adapterOrdinal;
    const gfx::DeviceType previousType = current.combo->deviceType;

    SetPaused(true);
    ignoreSizeChange = true;
    windowed = !windowed;
    settings.isWindowed = windowed;
    const bool toFullScreen = !windowed;
    ApplyWindowStyle();

    Result result;
    const FormatCombo& combo = *settings.Current().combo;
    if (combo.adapterOrdinal == previousAdapter && combo.deviceType == previousType) {
        FillPresentParameters();
        result = ResetDisplay();
    } else {
        CloseDisplay();
        result = OpenDisplay();
    }

    ignoreSizeChange = false;
    if (Failed(result)) {
        if (toFullScreen) {
            windowed = true;
            settings.isWindowed = true;
            ApplyWindowStyle();
            if (renderWindow != nullptr) {
                renderWindow->MoveAndShow(windowBounds);
            }
        }
        // The view stays paused: a fatal report ends the program.
        return ReportError(AsResetFailure(result), ReportKind::Fatal);
    }
    if (windowed && renderWindow != nullptr) {
        renderWindow->MoveAndShow(windowBounds);
    }
    SetPaused(false);
    return S_OK;
}

Result RenderApp::ReturnToWindow() {
    if (windowed) {
        return S_OK;
    }
    if (!PickWindowedSetup(false, false)) {
        return E_FAIL;
    }
    windowed = true;
    SetPaused(true);
    CloseDisplay();
    const Result result = OpenDisplay();
    if (Failed(result)) {
        return ReportError(result, ReportKind::Fatal);
    }
    SetPaused(false);
    return S_OK;
}

}  // namespace tetrakon
