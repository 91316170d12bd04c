#pragma once

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QPointer>
#include <QWindow>
#include <cstdint>
#include <memory>

#include "platform/gfx/gl_api.h"

namespace tetrakon::gfx {

class GlTexture;

// The OpenGL context of one device, shared by the device and every resource it made,
// so that a resource can make it current to free its GL objects, and a resource that
// outlives the device finds it gone instead of crashing. It also counts the resources
// still alive, which the device reports when it is released.
class GlContextHome {
  public:
    // A context of `api` for `window` (which must exist and be an OpenGL surface); null
    // when none the game can draw with can be made.
    static std::shared_ptr<GlContextHome> Create(QWindow* window, const GlApi& api);
    ~GlContextHome();
    GlContextHome(const GlContextHome&) = delete;
    GlContextHome& operator=(const GlContextHome&) = delete;

    // Makes the context current on the window or, once the window is gone, on a small
    // offscreen surface. False after Destroy.
    bool MakeCurrent();
    // Makes the context current on the window itself, asking the platform again even when
    // Qt already counts it current there. Qt 6.4's Wayland platform binds a window that
    // had no size yet when it was first made current without a drawable, and only a new
    // make-current gives it one. False when the window is gone or refuses.
    bool MakeWindowCurrent();
    QOpenGLExtraFunctions* gl() const { return context_->extraFunctions(); }
    QOpenGLContext* context() const { return context_.get(); }
    // The window presented into; null once it has been destroyed.
    QWindow* window() const { return window_.data(); }
    // Presents into another window from now on; false when the context cannot use it.
    bool SetWindow(QWindow* window);
    bool alive() const { return context_ != nullptr; }

    // Frees the context with every GL object still in it. Resources alive after this
    // skip their GL calls.
    void Destroy();

    void ResourceCreated() { ++liveResources_; }
    void ResourceDestroyed() { --liveResources_; }
    std::uint32_t liveResources() const { return liveResources_; }

    // The texture bound to stage 0, forgotten when it is destroyed.
    GlTexture* boundTexture = nullptr;

  private:
    GlContextHome() = default;

    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<QOffscreenSurface> fallbackSurface_;
    QPointer<QWindow> window_;
    std::uint32_t liveResources_ = 0;
};

}  // namespace tetrakon::gfx
