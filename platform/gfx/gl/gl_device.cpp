#include "platform/gfx/gl/gl_device.h"

#include <QOpenGLContext>
#include <cmath>
#include <utility>

#include "platform/gfx/format_info.h"
#include "platform/gfx/gl/gl_resources.h"
#include "platform/gfx/gl/qt_window.h"
#include "platform/gfx/gl/screen_modes.h"
#include "platform/gfx/gl/vertex_attributes.h"
#include "platform/gfx/mesh_draw_data.h"

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

QSize PixelSize(const QWindow& window) {
    const qreal ratio = window.devicePixelRatio();
    return {static_cast<int>(std::lround(window.width() * ratio)),
            static_cast<int>(std::lround(window.height() * ratio))};
}

// Asks the window system for a swap interval on the current window: GLX through its
// MESA or SGI extension. False when neither takes it (Mesa's software GLX under Xvfb
// refuses both); the window then keeps the interval Qt gave it when it was made.
bool SetGlxSwapInterval(QOpenGLContext& context, int interval) {
    if (context.nativeInterface<QNativeInterface::QGLXContext>() == nullptr) {
        return false;
    }
    using SwapIntervalMesa = int (*)(unsigned int);
    auto mesa = reinterpret_cast<SwapIntervalMesa>(context.getProcAddress("glXSwapIntervalMESA"));
    if (mesa != nullptr && mesa(static_cast<unsigned int>(interval)) == 0) {
        return true;
    }
    using SwapIntervalSgi = int (*)(int);
    auto sgi = reinterpret_cast<SwapIntervalSgi>(context.getProcAddress("glXSwapIntervalSGI"));
    // The SGI extension cannot turn synchronisation off.
    return sgi != nullptr && interval > 0 && sgi(interval) == 0;
}

}  // namespace

GlDevice::GlDevice(std::shared_ptr<GlContextHome> home, const GlAdapterFacts& facts)
    : home_(std::move(home)), facts_(facts) {}

Result GlDevice::Create(QWindow* window, const GlAdapterFacts& facts,
                        const PresentParameters& params, std::unique_ptr<Device>* out) {
    if (window == nullptr || out == nullptr ||
        (params.deviceWindow != nullptr && QWindowOf(params.deviceWindow) != window)) {
        return D3DERR_INVALIDCALL;
    }
    if (window->handle() == nullptr) {
        // Qt hands the window's requested interval to the window system when it first
        // draws into it.
        QSurfaceFormat format = window->requestedFormat();
        format.setSwapInterval(std::max(0, SwapIntervalFor(params.presentationInterval)));
        window->setFormat(format);
    }
    std::shared_ptr<GlContextHome> home = GlContextHome::Create(window);
    if (!home) {
        return D3DERR_NOTAVAILABLE;
    }
    std::unique_ptr<GlDevice> device(new GlDevice(home, facts));
    QOpenGLExtraFunctions* gl = home->gl();
    std::string log;
    if (!device->program_.Build(gl, &log)) {
        qWarning("The fixed-function program does not build: %s", log.c_str());
        return E_FAIL;
    }
    gl->glGenVertexArrays(1, &device->bufferVertexArray_);
    gl->glGenSamplers(1, &device->sampler_);
    const Result applied = device->ApplyPresentParameters(params);
    if (Failed(applied)) {
        return applied;
    }
    *out = std::move(device);
    return S_OK;
}

GlDevice::~GlDevice() {
    if (home_->alive()) {
        Release();
    }
}

// Everything is checked, and the new back buffer made, before the device changes: a
// refused reset leaves it presenting into the same window from the same back buffer.
Result GlDevice::ApplyPresentParameters(const PresentParameters& params) {
    QWindow* window = home_->window();
    if (params.deviceWindow != nullptr) {
        window = QWindowOf(params.deviceWindow);
        if (window == nullptr || window->surfaceType() != QSurface::OpenGLSurface) {
            return D3DERR_INVALIDCALL;
        }
    }
    PresentParameters resolved = params;
    if (resolved.windowed && resolved.backBufferFormat == Format::Unknown) {
        resolved.backBufferFormat = DesktopMode().format;
    }
    if (resolved.backBufferWidth == 0 || resolved.backBufferHeight == 0) {
        if (window == nullptr || !resolved.windowed) {
            return D3DERR_INVALIDCALL;
        }
        const QSize size = PixelSize(*window);
        resolved.backBufferWidth = static_cast<std::uint32_t>(std::max(1, size.width()));
        resolved.backBufferHeight = static_cast<std::uint32_t>(std::max(1, size.height()));
    }
    const Result valid =
        CheckPresentParameters(facts_, PresentationDisplayFormat(resolved), resolved);
    if (Failed(valid)) {
        return valid;
    }
    if (!home_->MakeCurrent()) {
        return D3DERR_DEVICELOST;
    }
    QOpenGLExtraFunctions* gl = home_->gl();
    GlBackBuffer::Layout layout;
    layout.width = resolved.backBufferWidth;
    layout.height = resolved.backBufferHeight;
    layout.color = resolved.backBufferFormat;
    layout.depth =
        resolved.enableAutoDepthStencil ? resolved.autoDepthStencilFormat : Format::Unknown;
    layout.samples = resolved.multiSampleType;
    GlBackBuffer fresh;
    if (!fresh.Create(gl, layout)) {
        fresh.Destroy(gl);
        // The old back buffer stays bound, so drawing never reaches the window, but the
        // device is lost until a Reset succeeds.
        lost_ = true;
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    if (window != home_->window()) {
        if (!home_->SetWindow(window)) {
            if (home_->MakeCurrent()) {
                fresh.Destroy(gl);
            }
            return D3DERR_INVALIDCALL;
        }
        everExposed_ = false;
    }
    std::swap(backBuffer_, fresh);
    fresh.Destroy(gl);
    params_ = resolved;
    params_.backBufferCount = 1;
    state_ = DefaultDrawState(resolved.enableAutoDepthStencil);
    home_->boundTexture = nullptr;
    inScene_ = false;
    lost_ = false;
    ApplySwapInterval(SwapIntervalFor(resolved.presentationInterval));
    return S_OK;
}

void GlDevice::ApplySwapInterval(int interval) {
    if (swapInterval_ < 0) {
        // Qt set the window's own interval when the context first drew into it.
        if (QWindow* window = home_->window()) {
            swapInterval_ = window->format().swapInterval();
        }
    }
    if (swapInterval_ != interval && SetGlxSwapInterval(*home_->context(), interval)) {
        swapInterval_ = interval;
    }
}

bool GlDevice::ObserveWindow() {
    QWindow* window = home_->window();
    const bool exposed = window != nullptr && window->isExposed();
    if (exposed) {
        everExposed_ = true;
    } else if (everExposed_) {
        lost_ = true;
    }
    return exposed;
}

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

Result GlDevice::TestCooperativeLevel() {
    if (!home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    if (!ObserveWindow() && lost_) {
        return D3DERR_DEVICELOST;
    }
    return lost_ ? D3DERR_DEVICENOTRESET : S_OK;
}

Result GlDevice::Reset(const PresentParameters& params) {
    if (!home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    QWindow* target = QWindowOf(params.deviceWindow);
    const bool sameWindow = target == nullptr || target == home_->window();
    if (!ObserveWindow() && lost_ && sameWindow) {
        return D3DERR_DEVICELOST;
    }
    return ApplyPresentParameters(params);
}

Result GlDevice::Present() {
    if (!home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    const bool exposed = ObserveWindow();
    if (lost_) {
        return D3DERR_DEVICELOST;
    }
    if (!exposed) {
        return S_OK;
    }
    QWindow* window = home_->window();
    if (!home_->MakeCurrent() || home_->context()->surface() != window) {
        return D3DERR_DEVICELOST;
    }
    const QSize size = PixelSize(*window);
    QOpenGLContext* context = home_->context();
    backBuffer_.CopyTo(home_->gl(), context->defaultFramebufferObject(), size.width(),
                       size.height());
    context->swapBuffers(window);
    return S_OK;
}

Result GlDevice::GetBackBufferDesc(SurfaceDesc* out) {
    if (out == nullptr || !home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    *out = {params_.backBufferFormat, params_.backBufferWidth, params_.backBufferHeight};
    return S_OK;
}

Result GlDevice::GetDeviceCaps(DeviceCaps* out) {
    if (out == nullptr || !home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    *out = HalDeviceCaps(facts_);
    return S_OK;
}

std::uint32_t GlDevice::Release() {
    if (home_->alive() && home_->MakeCurrent()) {
        QOpenGLExtraFunctions* gl = home_->gl();
        program_.Destroy(gl);
        gl->glDeleteVertexArrays(1, &bufferVertexArray_);
        gl->glDeleteSamplers(1, &sampler_);
        backBuffer_.Destroy(gl);
    }
    home_->Destroy();
    return home_->liveResources();
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

Result GlDevice::SetTransform(TransformState state, const Matrix& matrix) {
    const auto index = static_cast<std::size_t>(state);
    if (index >= state_.transforms.size()) {
        return D3DERR_INVALIDCALL;
    }
    state_.transforms[index] = matrix;
    return S_OK;
}

Result GlDevice::GetTransform(TransformState state, Matrix* out) {
    const auto index = static_cast<std::size_t>(state);
    if (out == nullptr || index >= state_.transforms.size()) {
        return D3DERR_INVALIDCALL;
    }
    *out = state_.transforms[index];
    return S_OK;
}

Result GlDevice::SetLight(std::uint32_t index, const Light& light) {
    if (index >= kMaxLights) {
        return D3DERR_INVALIDCALL;
    }
    // Only directional lights are lit; a point or spot light would be silently wrong.
    if (light.type != LightType::Directional) {
        return D3DERR_NOTAVAILABLE;
    }
    state_.lighting.lights[index] = light;
    return S_OK;
}

Result GlDevice::LightEnable(std::uint32_t index, bool enable) {
    if (index >= kMaxLights) {
        return D3DERR_INVALIDCALL;
    }
    state_.lighting.enabled[index] = enable;
    return S_OK;
}

Result GlDevice::SetMaterial(const SurfaceMaterial& material) {
    state_.lighting.material = material;
    return S_OK;
}

Result GlDevice::SetRenderState(RenderState state, std::uint32_t value) {
    return SetRenderStateValue(&state_, state, value);
}

Result GlDevice::SetTextureStageState(std::uint32_t stage, TextureStageState state,
                                      std::uint32_t value) {
    if (stage != 0) {
        return D3DERR_INVALIDCALL;
    }
    return SetTextureStageValue(&state_.stage0, state, value);
}

Result GlDevice::SetSamplerState(std::uint32_t sampler, SamplerState state, std::uint32_t value) {
    if (sampler != 0) {
        return D3DERR_INVALIDCALL;
    }
    return SetSamplerValue(&state_.sampler0, state, value);
}

Result GlDevice::SetTexture(std::uint32_t stage, Texture* texture) {
    if (stage != 0 || !home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    if (texture == nullptr) {
        home_->boundTexture = nullptr;
        return S_OK;
    }
    auto* glTexture = dynamic_cast<GlTexture*>(texture);
    if (glTexture == nullptr || glTexture->home() != home_.get()) {
        return D3DERR_INVALIDCALL;
    }
    home_->boundTexture = glTexture;
    return S_OK;
}

Result GlDevice::CreateVertexBuffer(std::uint32_t sizeInBytes, VertexFormat format,
                                    std::unique_ptr<VertexBuffer>* out) {
    if (out == nullptr || sizeInBytes == 0 || !home_->alive() ||
        format != VertexFormat::PositionNormalColorTex1) {
        return D3DERR_INVALIDCALL;
    }
    std::unique_ptr<GlVertexBuffer> buffer = GlVertexBuffer::Create(home_, sizeInBytes, format);
    if (!buffer) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *out = std::move(buffer);
    return S_OK;
}

Result GlDevice::CreateTexture(std::uint32_t width, std::uint32_t height,
                               const std::uint32_t* pixels, std::unique_ptr<Texture>* out) {
    if (out == nullptr || pixels == nullptr || width == 0 || height == 0 ||
        width > facts_.maxTextureSize || height > facts_.maxTextureSize || !home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    std::unique_ptr<GlTexture> texture = GlTexture::Create(home_, width, height, pixels);
    if (!texture) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *out = std::move(texture);
    return S_OK;
}

Result GlDevice::CreateMesh(const Mesh& source, std::unique_ptr<DeviceMesh>* out) {
    if (out == nullptr || !home_->alive()) {
        return D3DERR_INVALIDCALL;
    }
    MeshDrawData data;
    const Result built = BuildMeshDrawData(source, &data);
    if (Failed(built)) {
        return built;
    }
    std::unique_ptr<GlDeviceMesh> mesh = GlDeviceMesh::Create(home_, data);
    if (!mesh) {
        return E_OUTOFMEMORY;
    }
    *out = std::move(mesh);
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
    gl->glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER, MinifyFilter(sampler));
    gl->glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER,
                            sampler.magFilter == TextureFilter::Linear ? GL_LINEAR : GL_NEAREST);
    gl->glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, GL_REPEAT);
    gl->glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, GL_REPEAT);
    gl->glBindSampler(0, sampler_);
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

Result GlDevice::ReadBackBuffer(std::vector<std::uint32_t>* out) {
    if (out == nullptr || !Ready()) {
        return E_FAIL;
    }
    *out = backBuffer_.ReadPixels(home_->gl());
    return S_OK;
}

}  // namespace tetrakon::gfx
