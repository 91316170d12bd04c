#pragma once

#include <QOpenGLExtraFunctions>

#include "platform/gfx/gfx_types.h"

namespace tetrakon::gfx {

// The renderbuffer format that stands for a back-buffer format, or 0 when none does.
// The X formats use the alpha variant: the alpha channel is simply never shown.
GLenum ColorRenderbufferFormat(Format format);

// The renderbuffer format that stands for a depth/stencil format, or 0 when none does.
GLenum DepthRenderbufferFormat(Format format);

// The attachment point a depth/stencil format needs.
GLenum DepthAttachmentPoint(Format format);

// The back-buffer and depth formats worth trying, in the order they are reported.
inline constexpr Format kCandidateColorFormats[] = {
    Format::A8R8G8B8, Format::X8R8G8B8, Format::A2R10G10B10,
    Format::R5G6B5,   Format::A1R5G5B5, Format::X1R5G5B5,
};
inline constexpr Format kCandidateDepthFormats[] = {
    Format::D16,
    Format::D24X8,
    Format::D24S8,
    Format::D32,
};

}  // namespace tetrakon::gfx
