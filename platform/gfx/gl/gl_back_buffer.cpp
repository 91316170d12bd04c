#include "platform/gfx/gl/gl_back_buffer.h"

#include <algorithm>

#include "platform/gfx/gl/gl_formats.h"
#include "platform/gfx/gl/gl_log.h"
#include "platform/gfx/rgba_bytes.h"

namespace tetrakon::gfx {

namespace {

GLuint MakeRenderbuffer(QOpenGLExtraFunctions* gl, GLenum format, GLsizei samples, GLsizei width,
                        GLsizei height) {
    GLuint renderbuffer = 0;
    gl->glGenRenderbuffers(1, &renderbuffer);
    gl->glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    if (samples > 1) {
        gl->glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
    } else {
        gl->glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
    }
    gl->glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return renderbuffer;
}

void DeleteRenderbuffer(QOpenGLExtraFunctions* gl, GLuint* renderbuffer) {
    if (*renderbuffer != 0) {
        gl->glDeleteRenderbuffers(1, renderbuffer);
        *renderbuffer = 0;
    }
}

void DeleteFramebuffer(QOpenGLExtraFunctions* gl, GLuint* framebuffer) {
    if (*framebuffer != 0) {
        gl->glDeleteFramebuffers(1, framebuffer);
        *framebuffer = 0;
    }
}

bool Complete(QOpenGLExtraFunctions* gl) {
    return gl->glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// Copies the colour of `source` (of the given size) into `target`, scaled to its size.
void BlitColor(QOpenGLExtraFunctions* gl, GLuint source, GLint width, GLint height, GLuint target,
               GLint targetWidth, GLint targetHeight) {
    const bool sameSize = width == targetWidth && height == targetHeight;
    gl->glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
    gl->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target);
    gl->glBlitFramebuffer(0, 0, width, height, 0, 0, targetWidth, targetHeight, GL_COLOR_BUFFER_BIT,
                          sameSize ? GL_NEAREST : GL_LINEAR);
}

// Sets the alpha of every pixel of `target` to one, leaving its colour; the device sets
// the colour mask and clear colour again before it next clears or draws.
void FillAlpha(QOpenGLExtraFunctions* gl, GLuint target) {
    gl->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target);
    gl->glDisable(GL_SCISSOR_TEST);
    gl->glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    gl->glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

}  // namespace

bool GlBackBuffer::Create(QOpenGLExtraFunctions* gl, const Layout& layout) {
    Destroy(gl);
    layout_ = layout;
    const auto width = static_cast<GLsizei>(layout.width);
    const auto height = static_cast<GLsizei>(layout.height);
    const auto samples = static_cast<GLsizei>(layout.samples);
    const GLenum colorFormat = ColorRenderbufferFormat(layout.color);
    if (colorFormat == 0 || width <= 0 || height <= 0) {
        return false;
    }
    gl->glGenFramebuffers(1, &drawFramebuffer_);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer_);
    colorBuffer_ = MakeRenderbuffer(gl, colorFormat, samples, width, height);
    gl->glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  colorBuffer_);
    if (layout.depth != Format::Unknown) {
        const GLenum depthFormat = DepthRenderbufferFormat(layout.depth);
        if (depthFormat == 0) {
            gl->glBindFramebuffer(GL_FRAMEBUFFER, 0);
            return false;
        }
        depthBuffer_ = MakeRenderbuffer(gl, depthFormat, samples, width, height);
        gl->glFramebufferRenderbuffer(GL_FRAMEBUFFER, DepthAttachmentPoint(layout.depth),
                                      GL_RENDERBUFFER, depthBuffer_);
    }
    return Complete(gl);
}

void GlBackBuffer::Destroy(QOpenGLExtraFunctions* gl) {
    DeleteFramebuffer(gl, &drawFramebuffer_);
    DeleteFramebuffer(gl, &resolveFramebuffer_);
    DeleteRenderbuffer(gl, &colorBuffer_);
    DeleteRenderbuffer(gl, &depthBuffer_);
    DeleteRenderbuffer(gl, &resolveBuffer_);
    directResolve_ = DirectResolve::Untried;
}

void GlBackBuffer::Free(QOpenGLExtraFunctions* gl) {
    Destroy(gl);
    // The driver's drawing state still names the deleted buffers; a clear moves it onto
    // the window's framebuffer, whose back buffer the next present overwrites whole.
    gl->glBindFramebuffer(GL_FRAMEBUFFER, 0);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    gl->glFinish();
}

bool GlBackBuffer::MakeResolveBuffer(QOpenGLExtraFunctions* gl) {
    gl->glGenFramebuffers(1, &resolveFramebuffer_);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer_);
    resolveBuffer_ =
        MakeRenderbuffer(gl, ColorRenderbufferFormat(layout_.color), 0,
                         static_cast<GLsizei>(layout_.width), static_cast<GLsizei>(layout_.height));
    gl->glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  resolveBuffer_);
    const bool complete = Complete(gl);
    if (!complete) {
        DeleteFramebuffer(gl, &resolveFramebuffer_);
        DeleteRenderbuffer(gl, &resolveBuffer_);
    }
    gl->glBindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer_);
    return complete;
}

GLuint GlBackBuffer::Resolve(QOpenGLExtraFunctions* gl) {
    if (layout_.samples <= 1) {
        return drawFramebuffer_;
    }
    if (resolveFramebuffer_ == 0 && !MakeResolveBuffer(gl)) {
        return 0;
    }
    const auto width = static_cast<GLint>(layout_.width);
    const auto height = static_cast<GLint>(layout_.height);
    BlitColor(gl, drawFramebuffer_, width, height, resolveFramebuffer_, width, height);
    return resolveFramebuffer_;
}

// GL allows a resolving blit between identical rectangles, but some drivers refuse one
// into a framebuffer of another colour format, as the window's may be. The first try on
// each back buffer finds out; earlier errors are cleared so that it is not blamed for them.
bool GlBackBuffer::ResolveInto(QOpenGLExtraFunctions* gl, GLuint target) {
    const bool firstTry = directResolve_ == DirectResolve::Untried;
    if (firstTry) {
        while (gl->glGetError() != GL_NO_ERROR) {
        }
    }
    const auto width = static_cast<GLint>(layout_.width);
    const auto height = static_cast<GLint>(layout_.height);
    BlitColor(gl, drawFramebuffer_, width, height, target, width, height);
    if (firstTry) {
        directResolve_ =
            gl->glGetError() == GL_NO_ERROR ? DirectResolve::Works : DirectResolve::Refused;
        qCDebug(lcGfx, "resolving straight into the window: %s",
                directResolve_ == DirectResolve::Works ? "yes" : "refused");
    }
    return directResolve_ == DirectResolve::Works;
}

bool GlBackBuffer::CopyTo(QOpenGLExtraFunctions* gl, GLuint target, int targetWidth,
                          int targetHeight) {
    const bool sameSize = static_cast<std::uint32_t>(targetWidth) == layout_.width &&
                          static_cast<std::uint32_t>(targetHeight) == layout_.height;
    bool copied = sameSize && layout_.samples > 1 && directResolve_ != DirectResolve::Refused &&
                  ResolveInto(gl, target);
    if (!copied) {
        // A refused direct resolve drew nothing, so this frame is shown this way too.
        const GLuint source = Resolve(gl);
        copied = source != 0;
        if (copied) {
            BlitColor(gl, source, static_cast<GLint>(layout_.width),
                      static_cast<GLint>(layout_.height), target, targetWidth, targetHeight);
        }
    }
    if (copied) {
        FillAlpha(gl, target);
    }
    gl->glBindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer_);
    return copied;
}

std::vector<std::uint32_t> GlBackBuffer::ReadPixels(QOpenGLExtraFunctions* gl) {
    const std::size_t width = layout_.width;
    const std::size_t height = layout_.height;
    const GLuint source = Resolve(gl);
    if (source == 0) {
        return {};
    }
    // R, G, B, A bytes are what every OpenGL reads back.
    std::vector<std::uint8_t> bottomUp(width * height * 4);
    gl->glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
    gl->glPixelStorei(GL_PACK_ALIGNMENT, 4);
    gl->glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGBA,
                     GL_UNSIGNED_BYTE, bottomUp.data());
    gl->glBindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer_);
    std::vector<std::uint32_t> topDown(width * height);
    for (std::size_t row = 0; row < height; ++row) {
        RgbaBytesToArgb(&bottomUp[(height - 1 - row) * width * 4], width, &topDown[row * width]);
    }
    return topDown;
}

}  // namespace tetrakon::gfx
