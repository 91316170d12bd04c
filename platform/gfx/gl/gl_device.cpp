// The device's life: opening it on a window, its capabilities, and releasing it.

#include "platform/gfx/gl/gl_device.h"

#include <QOpenGLContext>
#include <algorithm>
#include <utility>

#include "platform/gfx/gl/gl_context_format.h"
#include "platform/gfx/gl/qt_window.h"
#include "platform/gfx/gl/screen_modes.h"

namespace tetrakon::gfx {

GlDevice::GlDevice(std::shared_ptr<GlContextHome> home, const GlAdapterFacts& facts)
    : home_(std::move(home)), facts_(facts) {}

Result GlDevice::Create(QWindow* window, const GlAdapterFacts& facts,
                        const PresentParameters& params, std::unique_ptr<Device>* out) {
    if (window == nullptr || out == nullptr ||
        (params.deviceWindow != nullptr && QWindowOf(params.deviceWindow) != window)) {
        return D3DERR_INVALIDCALL;
    }
    if (window->handle() == nullptr) {
        // Qt hands the window's requested interval to the window system when it first
        // draws into it.
        QSurfaceFormat format = WindowSurfaceFormat(window->requestedFormat(), facts.requestedApi);
        format.setSwapInterval(std::max(0, SwapIntervalFor(params.presentationInterval)));
        window->setFormat(format);
    }
    std::shared_ptr<GlContextHome> home = GlContextHome::Create(window, facts.requestedApi);
    if (!home) {
        return D3DERR_NOTAVAILABLE;
    }
    std::unique_ptr<GlDevice> device(new GlDevice(home, facts));
    QOpenGLExtraFunctions* gl = home->gl();
    std::string log;
    if (!device->program_.Build(gl, ApiOf(*home->context()), &log)) {
        qWarning("The fixed-function program does not build: %s", log.c_str());
        return E_FAIL;
    }
    gl->glGenVertexArrays(1, &device->bufferVertexArray_);
    if (facts.features.samplerObjects) {
        gl->glGenSamplers(1, &device->sampler_);
    }
    const Result applied = device->ApplyPresentParameters(params);
    if (Failed(applied)) {
        return applied;
    }
    *out = std::move(device);
    return S_OK;
}

GlDevice::~GlDevice() {
    if (home_->alive()) {
        Release();
    }
}

Result GlDevice::GetDeviceCaps(DeviceCaps* out) {
    if (out == nullptr || !home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    *out = HalDeviceCaps(facts_);
    return S_OK;
}

std::uint32_t GlDevice::Release() {
    if (home_->alive() && home_->MakeCurrent()) {
        QOpenGLExtraFunctions* gl = home_->gl();
        program_.Destroy(gl);
        gl->glDeleteVertexArrays(1, &bufferVertexArray_);
        if (sampler_ != 0) {
            gl->glDeleteSamplers(1, &sampler_);
        }
        backBuffer_.Destroy(gl);
    }
    home_->Destroy();
    return home_->liveResources();
}

}  // namespace tetrakon::gfx
