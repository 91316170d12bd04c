#pragma once

#include <QOpenGLContext>
#include <QSurfaceFormat>

#include "platform/gfx/gl_api.h"

namespace tetrakon::gfx {

// `base` asking for a context of `api`: desktop OpenGL 3.2 and later in the core profile.
// Its buffer sizes are kept, so that a context made from a window's format matches that
// window.
QSurfaceFormat RequestedContextFormat(QSurfaceFormat base, const GlApi& api);

// `base` as the format of a window the device presents into with `api`: without an alpha
// channel (X8 back buffers leave alpha undefined; a window with alpha would show it).
QSurfaceFormat WindowSurfaceFormat(QSurfaceFormat base, const GlApi& api = kRequestedApis[0]);

// The API and version of the context that was made (which may differ from the one asked).
GlApi ApiOf(const QOpenGLContext& context);

}  // namespace tetrakon::gfx
