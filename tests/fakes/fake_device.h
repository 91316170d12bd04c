#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/device.h"

namespace tetrakon::gfx {

// Every call a fake receives, in order, as one readable line ("DrawSubset 3").
struct CallLog {
    std::vector<std::string> calls;
    void Add(std::string call) { calls.push_back(std::move(call)); }
    // The calls that start with `prefix`, in order.
    std::vector<std::string> Matching(const std::string& prefix) const;
};

// A device that records its calls and answers what the test scripts.
class FakeDevice : public Device {
  public:
    explicit FakeDevice(std::shared_ptr<CallLog> log = std::make_shared<CallLog>());
    ~FakeDevice() override;

    // Scripted answers.
    Result cooperativeLevel = S_OK;
    Result resetResult = S_OK;
    Result presentResult = S_OK;
    Result beginSceneResult = S_OK;
    Result createVertexBufferResult = S_OK;
    Result createTextureResult = S_OK;
    Result createMeshResult = S_OK;
    DeviceCaps caps;
    SurfaceDesc backBuffer{Format::X8R8G8B8, 640, 480};

    // Current state, as the calls left it.
    std::array<Matrix, 3> transforms{};
    SurfaceMaterial material;
    std::map<RenderState, std::uint32_t> renderStates;
    std::array<Texture*, 8> textures{};
    std::array<Light, 8> lights{};
    std::array<bool, 8> lightEnabled{};
    PresentParameters lastReset;
    bool released = false;

    const std::shared_ptr<CallLog>& log() const { return log_; }
    // Resources created by this device and not yet destroyed.
    std::uint32_t LiveResources() const { return static_cast<std::uint32_t>(*live_); }

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

  private:
    std::shared_ptr<CallLog> log_;
    std::shared_ptr<int> live_ = std::make_shared<int>(0);
};

// The fake's resources; tests may look inside them.
class FakeVertexBuffer : public VertexBuffer {
  public:
    explicit FakeVertexBuffer(std::shared_ptr<int> live, std::uint32_t size);
    ~FakeVertexBuffer() override;
    std::uint32_t SizeInBytes() const override;
    Result Write(std::uint32_t offset, const void* data, std::uint32_t size) override;
    std::vector<std::uint8_t> bytes;
    Result writeResult = S_OK;

  private:
    std::shared_ptr<int> live_;
};

class FakeTexture : public Texture {
  public:
    FakeTexture(std::shared_ptr<int> live, std::uint32_t width, std::uint32_t height);
    ~FakeTexture() override;
    std::uint32_t Width() const override { return width_; }
    std::uint32_t Height() const override { return height_; }

  private:
    std::shared_ptr<int> live_;
    std::uint32_t width_, height_;
};

class FakeDeviceMesh : public DeviceMesh {
  public:
    FakeDeviceMesh(std::shared_ptr<int> live, const Mesh& source);
    ~FakeDeviceMesh() override;
    std::uint32_t SubsetCount() const override;
    Mesh source;

  private:
    std::shared_ptr<int> live_;
};

}  // namespace tetrakon::gfx
