#include "framework/app_timer.h"
#include "framework/framework_results.h"
#include "framework/render_app.h"

namespace tetrakon {

namespace {

// Whether the back buffer stays within the device's largest render target. A larger one
// is refused before the device is asked, so nothing is spent on it; the user reads the
// reset text.
bool BackBufferFits(const gfx::PresentParameters& params, const gfx::DeviceCaps& caps) {
    return (caps.maxRenderTargetWidth == 0 ||
            params.backBufferWidth <= caps.maxRenderTargetWidth) &&
           (caps.maxRenderTargetHeight == 0 ||
            params.backBufferHeight <= caps.maxRenderTargetHeight);
}

}  // namespace

Result RenderApp::OpenDisplay() {
    const DeviceEntry* attempted = nullptr;
    Result result = TryOpenDisplay(attempted);
    if (Succeeded(result)) {
        return result;
    }
    // A hardware device that cannot be opened, or whose scene hooks fail, falls back once
    // to the reference device in a window. Missing media would fail there as well.
    if (result == MediaMissing || result == E_FILE_NOT_FOUND || attempted == nullptr ||
        attempted->deviceType != gfx::DeviceType::HAL || !PickWindowedSetup(false, true)) {
        return result;
    }
    windowed = true;
    ApplyWindowStyle();
    if (renderWindow != nullptr) {
        renderWindow->MoveAndShow(windowBounds);
    }
    ReportError(result, ReportKind::SwitchedToReference);
    return TryOpenDisplay(attempted);
}

Result RenderApp::TryOpenDisplay(const DeviceEntry*& attempted) {
    const DisplaySetup& setup = settings.Current();
    attempted = setup.device;
    if (graphics == nullptr || setup.combo == nullptr || setup.device == nullptr) {
        return E_FAIL;
    }
    windowed = settings.isWindowed;

    ApplyWindowStyle();
    FillPresentParameters();

    if ((setup.device->caps.primitiveMiscCaps & gfx::kPrimitiveMiscNullReference) != 0) {
        ReportError(NullReferenceDevice, ReportKind::Warning);
    }

    if (!BackBufferFits(presentParams, setup.device->caps)) {
        return ResetFailed;
    }
    const std::uint32_t behaviorFlags = BehaviorFlagsFor(setup.vertexProcessing);
    Result result = graphics->CreateDevice(setup.combo->adapterOrdinal, setup.device->deviceType,
                                           focusWindow, behaviorFlags, presentParams, &device);
    if (Failed(result) || device == nullptr) {
        device.reset();
        return Failed(result) ? result : E_FAIL;
    }

    if (windowed && renderWindow != nullptr) {
        renderWindow->MoveAndShow(windowBounds);
    }
    device->GetDeviceCaps(&deviceCaps);
    createFlags = behaviorFlags;
    device->GetBackBufferDesc(&backBufferDesc);
    ApplyCursorRules();

    result = DeviceCreated();
    if (Failed(result)) {
        DeviceDestroyed();
        CloseDisplay();
        return result;
    }
    objectsCreated = true;
    result = DeviceReset();
    if (Failed(result)) {
        DeviceLost();
        CloseDisplay();
        return result;
    }
    objectsRestored = true;
    return S_OK;
}

Result RenderApp::ResetDisplay() {
    if (device == nullptr) {
        return E_FAIL;
    }
    if (!BackBufferFits(presentParams, deviceCaps)) {
        return ResetFailed;
    }
    if (objectsRestored) {
        objectsRestored = false;
        DeviceLost();
    }
    Result result = device->Reset(presentParams);
    if (Failed(result)) {
        return result;
    }
    device->GetBackBufferDesc(&backBufferDesc);
    ApplyCursorRules();

    result = DeviceReset();
    if (Failed(result)) {
        DeviceLost();
        return result;
    }
    objectsRestored = true;

    // With time frozen, one UpdateFrame still runs to match the new device state.
    if (!frameMoving) {
        singleStep = true;
        AppTimer(TimerCommand::Start);
        AppTimer(TimerCommand::Stop);
    }
    return S_OK;
}

void RenderApp::CloseDisplay() {
    if (device == nullptr) {
        return;
    }
    if (objectsRestored) {
        objectsRestored = false;
        DeviceLost();
    }
    if (objectsCreated) {
        objectsCreated = false;
        DeviceDestroyed();
    }
    const std::uint32_t references = device->Release();
    device.reset();
    if (references > 0) {
        ReportError(ObjectsLeaked, ReportKind::Fatal);
    }
}

void RenderApp::FillPresentParameters() {
    const DisplaySetup& setup = settings.Current();
    gfx::PresentParameters params;
    if (settings.isWindowed) {
        params.backBufferWidth = static_cast<std::uint32_t>(clientRect.Width());
        params.backBufferHeight = static_cast<std::uint32_t>(clientRect.Height());
        params.windowed = true;
        params.fullScreenRefreshRate = 0;
    } else {
        params.backBufferWidth = setup.displayMode.width;
        params.backBufferHeight = setup.displayMode.height;
        params.windowed = false;
        params.fullScreenRefreshRate = setup.displayMode.refreshRate;
    }
    params.backBufferFormat =
        setup.combo != nullptr ? setup.combo->backBufferFormat : gfx::Format::Unknown;
    params.backBufferCount = 1;
    params.multiSampleType = setup.multisampleType;
    params.multiSampleQuality = setup.multisampleQuality;
    params.swapEffect = gfx::SwapEffect::Discard;
    params.deviceWindow = renderWindow;
    if (catalogue.limits.usesDepthBuffer) {
        params.enableAutoDepthStencil = true;
        params.autoDepthStencilFormat = setup.depthStencilFormat;
        params.flags = gfx::kPresentFlagDiscardDepthStencil;
    } else {
        params.enableAutoDepthStencil = false;
        params.flags = 0;
    }
    params.presentationInterval = setup.presentInterval;
    presentParams = params;
}

void RenderApp::ApplyCursorRules() {
    // There is no device cursor to hand the window's cursor to, so only clipping applies.
    if (clipCursorFullScreen && renderWindow != nullptr) {
        renderWindow->ClipCursor(!windowed);
    }
}

}  // namespace tetrakon
