#pragma once

#include <QOpenGLContext>
#include <QSurfaceFormat>

namespace tetrakon::gfx {

// `base` asking for an OpenGL 3.3 core context. Its buffer sizes are kept, so that a
// context made from a window's format matches that window.
QSurfaceFormat RequestedContextFormat(QSurfaceFormat base);

// `base` as the format of a window the device presents into: a 3.3 core context without
// an alpha channel (X8 back buffers leave alpha undefined; a window with alpha would show
// it).
QSurfaceFormat WindowSurfaceFormat(QSurfaceFormat base);

// True when the context that was made is desktop OpenGL 3.3 or newer.
bool ContextIsUsable(const QOpenGLContext& context);

}  // namespace tetrakon::gfx
