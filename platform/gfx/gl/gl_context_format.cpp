#include "platform/gfx/gl/gl_context_format.h"

namespace tetrakon::gfx {

QSurfaceFormat RequestedContextFormat(QSurfaceFormat base) {
    base.setRenderableType(QSurfaceFormat::OpenGL);
    base.setVersion(3, 3);
    base.setProfile(QSurfaceFormat::CoreProfile);
    return base;
}

QSurfaceFormat WindowSurfaceFormat(QSurfaceFormat base) {
    QSurfaceFormat format = RequestedContextFormat(base);
    format.setAlphaBufferSize(0);
    return format;
}

bool ContextIsUsable(const QOpenGLContext& context) {
    const QSurfaceFormat format = context.format();
    return context.isValid() && !context.isOpenGLES() &&
           (format.majorVersion() > 3 ||
            (format.majorVersion() == 3 && format.minorVersion() >= 3));
}

}  // namespace tetrakon::gfx
