#include "platform/gfx/gl/gl_context_format.h"

namespace tetrakon::gfx {

QSurfaceFormat RequestedContextFormat(QSurfaceFormat base, const GlApi& api) {
    base.setRenderableType(api.es ? QSurfaceFormat::OpenGLES : QSurfaceFormat::OpenGL);
    base.setVersion(api.major, api.minor);
    const bool profiles = !api.es && (api.major > 3 || (api.major == 3 && api.minor >= 2));
    base.setProfile(profiles ? QSurfaceFormat::CoreProfile : QSurfaceFormat::NoProfile);
    return base;
}

QSurfaceFormat WindowSurfaceFormat(QSurfaceFormat base, const GlApi& api) {
    QSurfaceFormat format = RequestedContextFormat(base, api);
    format.setAlphaBufferSize(0);
    return format;
}

GlApi ApiOf(const QOpenGLContext& context) {
    if (!context.isValid()) {
        return {};
    }
    const QSurfaceFormat format = context.format();
    return {context.isOpenGLES(), format.majorVersion(), format.minorVersion()};
}

}  // namespace tetrakon::gfx
