#pragma once

#include <QWindow>
#include <memory>
#include <vector>

#include "platform/gfx/device.h"
#include "platform/gfx/draw_state.h"
#include "platform/gfx/gl/fixed_function_program.h"
#include "platform/gfx/gl/gl_adapter_facts.h"
#include "platform/gfx/gl/gl_back_buffer.h"
#include "platform/gfx/gl/gl_context_home.h"

namespace tetrakon::gfx {

// A display device on OpenGL: one context, presenting into one QWindow. It draws into
// its own back buffer (the size and formats of the present parameters) and Present
// copies that into the window and swaps.
//
// Cooperative level: the device becomes lost when its window, once exposed, is no longer
// exposed (minimised, hidden, or its native window gone); when the window is exposed
// again it needs a Reset, which fails while the window is still not exposed. A window
// that has not been exposed yet (just shown, or never) does not make the device lost:
// Present then succeeds without showing anything. Drawing while lost is harmless: it
// goes into the back buffer, and Present answers D3DERR_DEVICELOST.
class GlDevice : public Device {
  public:
    // Opens a device presenting into `window`; in a window, a zero back-buffer width or
    // height becomes the window's and an Unknown back-buffer format the desktop's. The
    // present parameters' own window, when set, must be `window`.
    static Result Create(QWindow* window, const GlAdapterFacts& facts,
                         const PresentParameters& params, std::unique_ptr<Device>* out);
    ~GlDevice() override;
    GlDevice(const GlDevice&) = delete;
    GlDevice& operator=(const GlDevice&) = delete;

    Result TestCooperativeLevel() override;
    Result Reset(const PresentParameters& params) override;
    Result Present() override;
    Result GetBackBufferDesc(SurfaceDesc* out) override;
    Result GetDeviceCaps(DeviceCaps* out) override;
    std::uint32_t Release() override;

    Result Clear(std::uint32_t flags, std::uint32_t color, float z, std::uint32_t stencil) override;
    Result BeginScene() override;
    Result EndScene() override;

    Result SetTransform(TransformState state, const Matrix& matrix) override;
    Result GetTransform(TransformState state, Matrix* out) override;
    Result SetLight(std::uint32_t index, const Light& light) override;
    Result LightEnable(std::uint32_t index, bool enable) override;
    Result SetMaterial(const SurfaceMaterial& material) override;
    Result SetRenderState(RenderState state, std::uint32_t value) override;
    Result SetTextureStageState(std::uint32_t stage, TextureStageState state,
                                std::uint32_t value) override;
    Result SetSamplerState(std::uint32_t sampler, SamplerState state, std::uint32_t value) override;
    Result SetTexture(std::uint32_t stage, Texture* texture) override;

    Result CreateVertexBuffer(std::uint32_t sizeInBytes, VertexFormat format,
                              std::unique_ptr<VertexBuffer>* out) override;
    Result CreateTexture(std::uint32_t width, std::uint32_t height, const std::uint32_t* pixels,
                         std::unique_ptr<Texture>* out) override;
    Result CreateMesh(const Mesh& source, std::unique_ptr<DeviceMesh>* out) override;

    Result DrawSubset(DeviceMesh& mesh, std::uint32_t subset) override;
    Result DrawPrimitive(PrimitiveType type, VertexBuffer& buffer, std::uint32_t startVertex,
                         std::uint32_t primitiveCount) override;

    // The back buffer as it is now, 0xAARRGGBB, rows top to bottom (for checks and
    // screenshots). E_FAIL once released.
    Result ReadBackBuffer(std::vector<std::uint32_t>* out);
    // The swap interval the window system was last given for the window: where it
    // refuses a change, the previous one stays.
    int swapInterval() const { return swapInterval_; }

  private:
    GlDevice(std::shared_ptr<GlContextHome> home, const GlAdapterFacts& facts);

    // Brings back buffer, swap interval and drawing state to the present parameters.
    Result ApplyPresentParameters(const PresentParameters& params);
    // Whether the window is exposed now; notes a loss when it stopped being exposed.
    bool ObserveWindow();
    // Makes the context current with the back buffer bound; false once released.
    bool Ready();
    // Sets the GL state the draw call needs and uses the program.
    void PrepareDraw(bool vertexHasColor);
    // Makes the back buffer again with the layout it had before a refused reset; the
    // device is lost when even that fails.
    void RestoreBackBuffer(const GlBackBuffer::Layout& previous);
    void ApplySwapInterval(int interval);

    std::shared_ptr<GlContextHome> home_;
    GlAdapterFacts facts_;
    PresentParameters params_;
    GlBackBuffer backBuffer_;
    FixedFunctionProgram program_;
    GLuint bufferVertexArray_ = 0;
    GLuint sampler_ = 0;
    DrawState state_;
    bool inScene_ = false;
    bool lost_ = false;
    bool everExposed_ = false;
    int swapInterval_ = -1;
};

}  // namespace tetrakon::gfx
