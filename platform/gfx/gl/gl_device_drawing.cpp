// The device's drawing: clearing, scenes, and the draw calls with the state they need.

#include "platform/gfx/gl/gl_device.h"

#include <cstdint>
#include <utility>

#include "platform/gfx/format_info.h"
#include "platform/gfx/gl/gl_resources.h"
#include "platform/gfx/gl/vertex_attributes.h"

namespace tetrakon::gfx {

namespace {

GLenum BlendFactor(Blend blend) {
    switch (blend) {
        case Blend::Zero:
            return GL_ZERO;
        case Blend::One:
            return GL_ONE;
        case Blend::SrcAlpha:
            return GL_SRC_ALPHA;
        case Blend::InvSrcAlpha:
            return GL_ONE_MINUS_SRC_ALPHA;
    }
    return GL_ONE;
}

GLint MinifyFilter(const SamplerSetup& sampler) {
    const bool linear = sampler.minFilter == TextureFilter::Linear;
    switch (sampler.mipFilter) {
        case TextureFilter::None:
            return linear ? GL_LINEAR : GL_NEAREST;
        case TextureFilter::Point:
            return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
        case TextureFilter::Linear:
            return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    }
    return GL_NEAREST;
}

}  // namespace

bool GlDevice::Ready() {
    if (!home_->alive() || !home_->MakeCurrent()) {
        return false;
    }
    QOpenGLExtraFunctions* gl = home_->gl();
    gl->glBindFramebuffer(GL_FRAMEBUFFER, backBuffer_.drawFramebuffer());
    gl->glViewport(0, 0, static_cast<GLsizei>(params_.backBufferWidth),
                   static_cast<GLsizei>(params_.backBufferHeight));
    return true;
}

Result GlDevice::Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) {
    const Format depth =
        params_.enableAutoDepthStencil ? params_.autoDepthStencilFormat : Format::Unknown;
    if ((flags & kClearZBuffer) != 0 && depth == Format::Unknown) {
        return D3DERR_INVALIDCALL;
    }
    if ((flags & kClearStencil) != 0 && StencilBits(depth) == 0) {
        return D3DERR_INVALIDCALL;
    }
    if (!Ready()) {
        return D3DERR_INVALIDCALL;
    }
    QOpenGLExtraFunctions* gl = home_->gl();
    gl->glDisable(GL_SCISSOR_TEST);
    GLbitfield mask = 0;
    if ((flags & kClearTarget) != 0) {
        const ColorValue c = ColorFromArgb(color);
        gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        gl->glClearColor(c.r, c.g, c.b, c.a);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if ((flags & kClearZBuffer) != 0) {
        gl->glDepthMask(GL_TRUE);
        gl->glClearDepthf(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if ((flags & kClearStencil) != 0) {
        gl->glStencilMask(0xFF);
        gl->glClearStencil(static_cast<GLint>(stencil & 0xFFu));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    gl->glClear(mask);
    return S_OK;
}

Result GlDevice::BeginScene() {
    if (!home_->alive() || inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = true;
    return S_OK;
}

Result GlDevice::EndScene() {
    if (!home_->alive() || !inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = false;
    return S_OK;
}

void GlDevice::PrepareDraw(bool vertexHasColor) {
    QOpenGLExtraFunctions* gl = home_->gl();
    const RasterStates& raster = state_.raster;
    const bool hasDepth = params_.enableAutoDepthStencil;
    if (raster.depthTest && hasDepth) {
        gl->glEnable(GL_DEPTH_TEST);
        gl->glDepthFunc(GL_LEQUAL);
        gl->glDepthMask(GL_TRUE);
    } else {
        gl->glDisable(GL_DEPTH_TEST);
    }
    if (raster.alphaBlend) {
        gl->glEnable(GL_BLEND);
        gl->glBlendFunc(BlendFactor(raster.sourceBlend), BlendFactor(raster.destinationBlend));
    } else {
        gl->glDisable(GL_BLEND);
    }
    // Front faces are the clockwise ones on screen; the cull mode names the winding
    // that is dropped.
    switch (raster.cull) {
        case Cull::None:
            gl->glDisable(GL_CULL_FACE);
            break;
        case Cull::Clockwise:
            gl->glEnable(GL_CULL_FACE);
            gl->glFrontFace(GL_CCW);
            gl->glCullFace(GL_BACK);
            break;
        case Cull::CounterClockwise:
            gl->glEnable(GL_CULL_FACE);
            gl->glFrontFace(GL_CW);
            gl->glCullFace(GL_BACK);
            break;
    }
    if (raster.dither) {
        gl->glEnable(GL_DITHER);
    } else {
        gl->glDisable(GL_DITHER);
    }
    gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    const GlTexture* texture = home_->boundTexture;
    gl->glActiveTexture(GL_TEXTURE0);
    gl->glBindTexture(GL_TEXTURE_2D, texture != nullptr ? texture->name() : 0);
    const SamplerSetup& sampler = state_.sampler0;
    const std::pair<GLenum, GLint> parameters[] = {
        {GL_TEXTURE_MIN_FILTER, MinifyFilter(sampler)},
        {GL_TEXTURE_MAG_FILTER,
         sampler.magFilter == TextureFilter::Linear ? GL_LINEAR : GL_NEAREST},
        {GL_TEXTURE_WRAP_S, GL_REPEAT},
        {GL_TEXTURE_WRAP_T, GL_REPEAT},
    };
    // Without sampler objects (desktop OpenGL 3.1 and 3.2 lacking GL_ARB_sampler_objects)
    // the bound texture carries the sampling state.
    for (const auto& [name, value] : parameters) {
        if (sampler_ != 0) {
            gl->glSamplerParameteri(sampler_, name, value);
        } else if (texture != nullptr) {
            gl->glTexParameteri(GL_TEXTURE_2D, name, value);
        }
    }
    if (sampler_ != 0) {
        gl->glBindSampler(0, sampler_);
    }
    program_.Use(gl, state_, vertexHasColor, texture != nullptr);
}

Result GlDevice::DrawSubset(DeviceMesh& mesh, std::uint32_t subset) {
    auto* glMesh = dynamic_cast<GlDeviceMesh*>(&mesh);
    if (glMesh == nullptr || glMesh->home() != home_.get() || subset >= glMesh->SubsetCount() ||
        !inScene_) {
        return D3DERR_INVALIDCALL;
    }
    if (!Ready()) {
        return D3DERR_INVALIDCALL;
    }
    const IndexRange& range = glMesh->subset(subset);
    if (range.count == 0) {
        return S_OK;
    }
    PrepareDraw(false);
    QOpenGLExtraFunctions* gl = home_->gl();
    gl->glBindVertexArray(glMesh->vertexArray());
    gl->glDrawElements(
        GL_TRIANGLES, static_cast<GLsizei>(range.count), GL_UNSIGNED_INT,
        reinterpret_cast<const void*>(std::uintptr_t{range.first} * sizeof(std::uint32_t)));
    gl->glBindVertexArray(0);
    return S_OK;
}

Result GlDevice::DrawPrimitive(PrimitiveType type, VertexBuffer& buffer, std::uint32_t startVertex,
                               std::uint32_t primitiveCount) {
    auto* glBuffer = dynamic_cast<GlVertexBuffer*>(&buffer);
    if (type != PrimitiveType::TriangleList || glBuffer == nullptr ||
        glBuffer->home() != home_.get() || !inScene_ || primitiveCount == 0) {
        return D3DERR_INVALIDCALL;
    }
    const std::uint64_t vertexCount = std::uint64_t{primitiveCount} * 3;
    const std::uint64_t capacity = glBuffer->SizeInBytes() / kPositionNormalColorTex1Size;
    if (startVertex > capacity || vertexCount > capacity - startVertex) {
        return D3DERR_INVALIDCALL;
    }
    if (!Ready()) {
        return D3DERR_INVALIDCALL;
    }
    PrepareDraw(true);
    QOpenGLExtraFunctions* gl = home_->gl();
    gl->glBindVertexArray(bufferVertexArray_);
    gl->glBindBuffer(GL_ARRAY_BUFFER, glBuffer->name());
    PointPositionNormalColorTex1Attributes(gl);
    gl->glDrawArrays(GL_TRIANGLES, static_cast<GLint>(startVertex),
                     static_cast<GLsizei>(vertexCount));
    gl->glBindVertexArray(0);
    gl->glBindBuffer(GL_ARRAY_BUFFER, 0);
    return S_OK;
}

}  // namespace tetrakon::gfx
