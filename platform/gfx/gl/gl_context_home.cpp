#include "platform/gfx/gl/gl_context_home.h"

#include "platform/gfx/gl/gl_context_format.h"

namespace tetrakon::gfx {

std::shared_ptr<GlContextHome> GlContextHome::Create(QWindow* window, const GlApi& api) {
    if (window == nullptr || window->surfaceType() != QSurface::OpenGLSurface) {
        return nullptr;
    }
    window->create();
    std::shared_ptr<GlContextHome> home(new GlContextHome);
    home->window_ = window;
    home->context_ = std::make_unique<QOpenGLContext>();
    home->context_->setFormat(RequestedContextFormat(window->format(), api));
    home->context_->setScreen(window->screen());
    if (!home->context_->create() || !CanDrawWith(ApiOf(*home->context_))) {
        return nullptr;
    }
    home->fallbackSurface_ = std::make_unique<QOffscreenSurface>(window->screen());
    home->fallbackSurface_->setFormat(home->context_->format());
    home->fallbackSurface_->create();
    if (!home->MakeCurrent()) {
        return nullptr;
    }
    return home;
}

GlContextHome::~GlContextHome() {
    Destroy();
}

bool GlContextHome::MakeCurrent() {
    if (!context_) {
        return false;
    }
    QSurface* surface = nullptr;
    if (window_ && window_->handle() != nullptr) {
        surface = window_.data();
    } else if (fallbackSurface_ && fallbackSurface_->isValid()) {
        surface = fallbackSurface_.get();
    } else {
        return false;
    }
    if (QOpenGLContext::currentContext() == context_.get() && context_->surface() == surface) {
        return true;
    }
    return context_->makeCurrent(surface);
}

bool GlContextHome::MakeWindowCurrent() {
    if (!context_ || !window_ || window_->handle() == nullptr) {
        return false;
    }
    return context_->makeCurrent(window_.data());
}

bool GlContextHome::SetWindow(QWindow* window) {
    if (window == nullptr || window->surfaceType() != QSurface::OpenGLSurface) {
        return false;
    }
    window->create();
    QPointer<QWindow> previous = window_;
    window_ = window;
    if (!MakeCurrent()) {
        window_ = previous;
        return false;
    }
    return true;
}

void GlContextHome::Destroy() {
    if (!context_) {
        return;
    }
    if (QOpenGLContext::currentContext() == context_.get()) {
        context_->doneCurrent();
    }
    context_.reset();
    fallbackSurface_.reset();
    boundTexture = nullptr;
}

}  // namespace tetrakon::gfx
