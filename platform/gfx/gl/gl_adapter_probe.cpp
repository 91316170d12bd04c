#include "platform/gfx/gl/gl_adapter_probe.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/gfx/gl/gl_context_format.h"
#include "platform/gfx/gl/gl_formats.h"
#include "platform/gfx/gl/gl_log.h"

namespace tetrakon::gfx {

namespace {

// A 1x1 framebuffer with one renderbuffer attached: complete or not.
bool Attaches(QOpenGLExtraFunctions* gl, GLenum internalFormat, GLenum attachment) {
    while (gl->glGetError() != GL_NO_ERROR) {
    }
    GLuint framebuffer = 0;
    GLuint colour = 0;
    GLuint tested = 0;
    gl->glGenFramebuffers(1, &framebuffer);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    if (attachment != GL_COLOR_ATTACHMENT0) {
        // A depth buffer is tried together with an ordinary colour buffer.
        gl->glGenRenderbuffers(1, &colour);
        gl->glBindRenderbuffer(GL_RENDERBUFFER, colour);
        gl->glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 1, 1);
        gl->glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                      colour);
    }
    gl->glGenRenderbuffers(1, &tested);
    gl->glBindRenderbuffer(GL_RENDERBUFFER, tested);
    gl->glRenderbufferStorage(GL_RENDERBUFFER, internalFormat, 1, 1);
    gl->glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, tested);
    const bool complete = gl->glGetError() == GL_NO_ERROR &&
                          gl->glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    gl->glBindFramebuffer(GL_FRAMEBUFFER, 0);
    gl->glBindRenderbuffer(GL_RENDERBUFFER, 0);
    gl->glDeleteRenderbuffers(1, &tested);
    if (colour != 0) {
        gl->glDeleteRenderbuffers(1, &colour);
    }
    gl->glDeleteFramebuffers(1, &framebuffer);
    return complete;
}

// Sample counts 2..16 that a renderbuffer of this format gets exactly.
std::uint32_t ExactSampleCounts(QOpenGLExtraFunctions* gl, GLenum internalFormat,
                                GLint maxSamples) {
    std::uint32_t counts = 0;
    GLuint renderbuffer = 0;
    gl->glGenRenderbuffers(1, &renderbuffer);
    gl->glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    for (GLint samples = 2; samples <= std::min<GLint>(16, maxSamples); ++samples) {
        while (gl->glGetError() != GL_NO_ERROR) {
        }
        gl->glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, internalFormat, 1, 1);
        GLint granted = 0;
        gl->glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &granted);
        if (gl->glGetError() == GL_NO_ERROR && granted == samples) {
            counts |= 1u << samples;
        }
    }
    gl->glBindRenderbuffer(GL_RENDERBUFFER, 0);
    gl->glDeleteRenderbuffers(1, &renderbuffer);
    return counts;
}

// A context that was made but is too old to draw with: its version and renderer strings
// as the driver wrote them ("2.1 Mesa 22.3.6", "OpenGL ES 2.0 Mesa 22.3.6").
struct OfferedContext {
    std::string version;
    std::string renderer;
};

std::string GlString(QOpenGLContext& context, GLenum name) {
    const auto* text = reinterpret_cast<const char*>(context.functions()->glGetString(name));
    return text != nullptr ? text : "";
}

std::string WhyNoContext(const std::vector<OfferedContext>& offered) {
    std::string text = "This program needs " + ApiName(kRequestedApis[1]) + " or " +
                       ApiName(kRequestedApis[2]) + " or later. The driver offers ";
    if (offered.empty()) {
        return text + "no OpenGL context here.";
    }
    for (std::size_t i = 0; i < offered.size(); ++i) {
        text += (i == 0 ? "\"" : " and \"") + offered[i].version + "\"";
    }
    return text + " (renderer \"" + offered.front().renderer + "\").";
}

}  // namespace

Result ProbeGlAdapter(GlAdapterFacts* out, std::string* whyNot) {
    QOffscreenSurface surface;
    QOpenGLContext context;
    GlApi requested;
    std::vector<OfferedContext> offered;
    for (const GlApi& api : kRequestedApis) {
        const QSurfaceFormat format = WindowSurfaceFormat(QSurfaceFormat::defaultFormat(), api);
        surface.destroy();
        surface.setFormat(format);
        surface.create();
        context.setFormat(format);
        if (!surface.isValid() || !context.create() || !context.makeCurrent(&surface)) {
            continue;
        }
        if (CanDrawWith(ApiOf(context))) {
            requested = api;
            break;
        }
        const OfferedContext made{GlString(context, GL_VERSION), GlString(context, GL_RENDERER)};
        if (offered.empty() || offered.back().version != made.version) {
            offered.push_back(made);
        }
        context.doneCurrent();
    }
    if (requested == GlApi{}) {
        if (whyNot != nullptr) {
            *whyNot = WhyNoContext(offered);
        }
        return E_FAIL;
    }
    QOpenGLExtraFunctions* gl = context.extraFunctions();
    GlAdapterFacts facts;
    facts.requestedApi = requested;
    facts.api = ApiOf(context);
    facts.features = FeaturesOf(facts.api, context.hasExtension("GL_ARB_sampler_objects"),
                                context.hasExtension("GL_ARB_texture_storage"));
    facts.renderer = GlString(context, GL_RENDERER);
    qCDebug(lcGfx,
            "drawing with %s (%s asked), renderer \"%s\", sampler objects %s, texture storage %s",
            ApiName(facts.api).c_str(), ApiName(requested).c_str(), facts.renderer.c_str(),
            facts.features.samplerObjects ? "yes" : "no",
            facts.features.textureStorage ? "yes" : "no");
    GLint maxTexture = 0;
    GLint maxRenderbuffer = 0;
    GLint maxViewport[2] = {};
    GLint maxSamples = 0;
    gl->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    gl->glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxRenderbuffer);
    gl->glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxViewport);
    gl->glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    facts.maxTextureSize = static_cast<std::uint32_t>(std::max(0, maxTexture));
    facts.maxRenderTargetSize = static_cast<std::uint32_t>(
        std::max(0, std::min({maxTexture, maxRenderbuffer, maxViewport[0], maxViewport[1]})));

    for (Format format : kCandidateColorFormats) {
        const GLenum internalFormat = ColorRenderbufferFormat(format);
        if (Attaches(gl, internalFormat, GL_COLOR_ATTACHMENT0)) {
            facts.colorFormats.push_back(
                {format, ExactSampleCounts(gl, internalFormat, maxSamples)});
        }
    }
    for (Format format : kCandidateDepthFormats) {
        const GLenum internalFormat = DepthRenderbufferFormat(format);
        if (Attaches(gl, internalFormat, DepthAttachmentPoint(format))) {
            facts.depthFormats.push_back(
                {format, ExactSampleCounts(gl, internalFormat, maxSamples)});
        }
    }
    context.doneCurrent();
    *out = std::move(facts);
    return S_OK;
}

}  // namespace tetrakon::gfx
