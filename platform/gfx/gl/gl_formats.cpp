#include "platform/gfx/gl/gl_formats.h"

namespace tetrakon::gfx {

GLenum ColorRenderbufferFormat(Format format) {
    switch (format) {
        case Format::A8R8G8B8:
            return GL_RGBA8;
        // Without alpha, as the window is: OpenGL ES resolves a multisampled buffer straight
        // into the window only when the two formats are the same.
        case Format::X8R8G8B8:
            return GL_RGB8;
        case Format::A2R10G10B10:
            return GL_RGB10_A2;
        case Format::R5G6B5:
            return GL_RGB565;
        case Format::A1R5G5B5:
        case Format::X1R5G5B5:
            return GL_RGB5_A1;
        default:
            return 0;
    }
}

GLenum DepthRenderbufferFormat(Format format) {
    switch (format) {
        case Format::D16:
            return GL_DEPTH_COMPONENT16;
        case Format::D24X8:
            return GL_DEPTH_COMPONENT24;
        case Format::D24S8:
            return GL_DEPTH24_STENCIL8;
        case Format::D32:
            return GL_DEPTH_COMPONENT32;
        default:
            return 0;
    }
}

GLenum DepthAttachmentPoint(Format format) {
    return format == Format::D24S8 ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
}

}  // namespace tetrakon::gfx
