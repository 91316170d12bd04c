#pragma once

#include <QOpenGLExtraFunctions>
#include <cstdint>
#include <vector>

#include "platform/gfx/gfx_types.h"

namespace tetrakon::gfx {

// The device's back buffer: a framebuffer of the size, colour format, depth format and
// sample count the present parameters ask for, independent of the window's size. Present
// copies it into the window, stretched as needed. A multisampled picture goes to a window
// of its own size in one resolving blit; a single-sampled resolve buffer is made only
// when something needs it (another size, a driver refusing that blit, reading pixels).
class GlBackBuffer {
  public:
    struct Layout {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        Format color = Format::Unknown;
        Format depth = Format::Unknown;  // Unknown: no depth buffer
        std::uint32_t samples = 0;       // 0 or 1: single-sampled
    };

    // Replaces any previous buffers; false when the framebuffer is not complete.
    bool Create(QOpenGLExtraFunctions* gl, const Layout& layout);
    void Destroy(QOpenGLExtraFunctions* gl);
    // Destroys the buffers and has the driver give their memory back before this returns,
    // which llvmpipe (Mesa 22.3) otherwise does only when it next draws, so that a resize
    // never holds two back buffers at once. Clears the window's framebuffer.
    void Free(QOpenGLExtraFunctions* gl);

    const Layout& layout() const { return layout_; }
    GLuint drawFramebuffer() const { return drawFramebuffer_; }

    // Copies the picture into `target` (the window's framebuffer), scaled to its size, with
    // full alpha: the frame's own alpha is whatever it was cleared to (the game's background
    // colour has none), and a window surface that keeps alpha, as Wayland's EGL surfaces
    // do (Mesa 22.3: sway 1.7 and weston 10 showed the desktop or white through the view),
    // would let the desktop show through. False, with nothing copied, when the resolve
    // buffer it needed could not be made.
    bool CopyTo(QOpenGLExtraFunctions* gl, GLuint target, int targetWidth, int targetHeight);
    // The pixels as 0xAARRGGBB, rows top to bottom; empty when the resolve buffer it
    // needed could not be made.
    std::vector<std::uint32_t> ReadPixels(QOpenGLExtraFunctions* gl);

  private:
    enum class DirectResolve { Untried, Works, Refused };

    // Resolves the multisampled picture straight into `target` of the same size; false
    // when this driver refuses that (then nothing was drawn).
    bool ResolveInto(QOpenGLExtraFunctions* gl, GLuint target);
    // The single-sampled framebuffer holding the finished picture; 0 when it cannot be made.
    GLuint Resolve(QOpenGLExtraFunctions* gl);
    bool MakeResolveBuffer(QOpenGLExtraFunctions* gl);

    Layout layout_;
    DirectResolve directResolve_ = DirectResolve::Untried;
    GLuint drawFramebuffer_ = 0;
    GLuint colorBuffer_ = 0;
    GLuint depthBuffer_ = 0;
    GLuint resolveFramebuffer_ = 0;
    GLuint resolveBuffer_ = 0;
};

}  // namespace tetrakon::gfx
