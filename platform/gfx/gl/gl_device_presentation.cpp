// The device's presentation: the back buffer and swap interval set from the present
// parameters, the window watched for loss, and the back buffer shown in the window.

#include "platform/gfx/gl/gl_device.h"

#include <QOpenGLContext>
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/gfx/gl/qt_window.h"
#include "platform/gfx/gl/screen_modes.h"

namespace tetrakon::gfx {

namespace {

QSize PixelSize(const QWindow& window) {
    const qreal ratio = window.devicePixelRatio();
    return {static_cast<int>(std::lround(window.width() * ratio)),
            static_cast<int>(std::lround(window.height() * ratio))};
}

// Asks the window system for a swap interval on the current window: GLX through its
// MESA or SGI extension. False when neither takes it (Mesa 22.3's software GLX under
// Xvfb refuses both); the window then keeps the interval Qt gave it when it was made.
bool SetGlxSwapInterval(QOpenGLContext& context, int interval) {
    if (context.nativeInterface<QNativeInterface::QGLXContext>() == nullptr) {
        return false;
    }
    using SwapIntervalMesa = int (*)(unsigned int);
    auto mesa = reinterpret_cast<SwapIntervalMesa>(context.getProcAddress("glXSwapIntervalMESA"));
    if (mesa != nullptr && mesa(static_cast<unsigned int>(interval)) == 0) {
        return true;
    }
    using SwapIntervalSgi = int (*)(int);
    auto sgi = reinterpret_cast<SwapIntervalSgi>(context.getProcAddress("glXSwapIntervalSGI"));
    // The SGI extension cannot turn synchronisation off.
    return sgi != nullptr && interval > 0 && sgi(interval) == 0;
}

}  // namespace

// Everything is checked, and the new back buffer made, before the device changes: a
// refused reset leaves it presenting into the same window from the same back buffer.
Result GlDevice::ApplyPresentParameters(const PresentParameters& params) {
    QWindow* window = home_->window();
    if (params.deviceWindow != nullptr) {
        window = QWindowOf(params.deviceWindow);
        if (window == nullptr || window->surfaceType() != QSurface::OpenGLSurface) {
            return D3DERR_INVALIDCALL;
        }
    }
    PresentParameters resolved = params;
    if (resolved.windowed && resolved.backBufferFormat == Format::Unknown) {
        resolved.backBufferFormat = DesktopMode().format;
    }
    if (resolved.backBufferWidth == 0 || resolved.backBufferHeight == 0) {
        if (window == nullptr || !resolved.windowed) {
            return D3DERR_INVALIDCALL;
        }
        const QSize size = PixelSize(*window);
        resolved.backBufferWidth = static_cast<std::uint32_t>(std::max(1, size.width()));
        resolved.backBufferHeight = static_cast<std::uint32_t>(std::max(1, size.height()));
    }
    const Result valid =
        CheckPresentParameters(facts_, PresentationDisplayFormat(resolved), resolved);
    if (Failed(valid)) {
        return valid;
    }
    if (!home_->MakeCurrent()) {
        return D3DERR_DEVICELOST;
    }
    QOpenGLExtraFunctions* gl = home_->gl();
    GlBackBuffer::Layout layout;
    layout.width = resolved.backBufferWidth;
    layout.height = resolved.backBufferHeight;
    layout.color = resolved.backBufferFormat;
    layout.depth =
        resolved.enableAutoDepthStencil ? resolved.autoDepthStencilFormat : Format::Unknown;
    layout.samples = resolved.multiSampleType;
    // The old buffers are freed before the new ones are made, so that the two are never
    // held at once (at window size with four samples that is megabytes each); a refusal
    // below makes the old ones again at their old size.
    const GlBackBuffer::Layout previous = backBuffer_.layout();
    backBuffer_.Free(gl);
    if (!backBuffer_.Create(gl, layout)) {
        RestoreBackBuffer(previous);
        // Drawing never reaches the window, as the device is lost until a Reset succeeds.
        lost_ = true;
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    if (window != home_->window()) {
        if (!home_->SetWindow(window)) {
            if (home_->MakeCurrent()) {
                RestoreBackBuffer(previous);
            } else {
                lost_ = true;
            }
            return D3DERR_INVALIDCALL;
        }
        everExposed_ = false;
    }
    params_ = resolved;
    params_.backBufferCount = 1;
    state_ = DefaultDrawState(resolved.enableAutoDepthStencil);
    home_->boundTexture = nullptr;
    inScene_ = false;
    lost_ = false;
    ApplySwapInterval(SwapIntervalFor(resolved.presentationInterval));
    return S_OK;
}

void GlDevice::RestoreBackBuffer(const GlBackBuffer::Layout& previous) {
    QOpenGLExtraFunctions* gl = home_->gl();
    backBuffer_.Destroy(gl);
    if (previous.width != 0 && !backBuffer_.Create(gl, previous)) {
        backBuffer_.Destroy(gl);
        lost_ = true;
    }
}

void GlDevice::ApplySwapInterval(int interval) {
    if (swapInterval_ < 0) {
        // Qt set the window's own interval when the context first drew into it.
        if (QWindow* window = home_->window()) {
            swapInterval_ = window->format().swapInterval();
        }
    }
    if (swapInterval_ != interval && SetGlxSwapInterval(*home_->context(), interval)) {
        swapInterval_ = interval;
    }
}

bool GlDevice::ObserveWindow() {
    QWindow* window = home_->window();
    const bool exposed = window != nullptr && ShowsOnScreen(*window);
    if (exposed) {
        everExposed_ = true;
    } else if (everExposed_) {
        lost_ = true;
    }
    return exposed;
}

Result GlDevice::TestCooperativeLevel() {
    if (!home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    if (!ObserveWindow() && lost_) {
        return D3DERR_DEVICELOST;
    }
    return lost_ ? D3DERR_DEVICENOTRESET : S_OK;
}

Result GlDevice::Reset(const PresentParameters& params) {
    if (!home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    QWindow* target = QWindowOf(params.deviceWindow);
    const bool sameWindow = target == nullptr || target == home_->window();
    if (!ObserveWindow() && lost_ && sameWindow) {
        return D3DERR_DEVICELOST;
    }
    return ApplyPresentParameters(params);
}

Result GlDevice::Present() {
    if (!home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    const bool exposed = ObserveWindow();
    if (lost_) {
        return D3DERR_DEVICELOST;
    }
    if (!exposed) {
        return S_OK;
    }
    QWindow* window = home_->window();
    const QSize size = PixelSize(*window);
    if (!home_->MakeWindowCurrent()) {
        return D3DERR_DEVICELOST;
    }
    QOpenGLContext* context = home_->context();
    if (!backBuffer_.CopyTo(home_->gl(), context->defaultFramebufferObject(), size.width(),
                            size.height())) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    context->swapBuffers(window);
    return S_OK;
}

Result GlDevice::GetBackBufferDesc(SurfaceDesc* out) {
    if (out == nullptr || !home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    *out = {params_.backBufferFormat, params_.backBufferWidth, params_.backBufferHeight};
    return S_OK;
}

Result GlDevice::ReadBackBuffer(std::vector<std::uint32_t>* out) {
    if (out == nullptr || !Ready()) {
        return E_FAIL;
    }
    *out = backBuffer_.ReadPixels(home_->gl());
    return out->empty() ? E_OUTOFMEMORY : S_OK;
}

}  // namespace tetrakon::gfx
