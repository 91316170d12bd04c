#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gfxutil/matrix.h"
#include "gfxutil/mesh.h"
#include "platform/gfx/gfx_types.h"

namespace tetrakon::gfx {

enum class TransformState : std::uint32_t { World, View, Projection };

enum class LightType : std::uint32_t { Point = 1, Spot = 2, Directional = 3 };

struct Light {
    LightType type = LightType::Directional;
    ColorValue diffuse;
    ColorValue specular;
    ColorValue ambient;
    Vec3 position;
    Vec3 direction;
    float range = 0;
};

// The colours a surface reflects; the mesh container's Material without its texture name.
struct SurfaceMaterial {
    ColorValue diffuse;
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power = 0;
};

enum class RenderState : std::uint32_t {
    ZEnable,
    Lighting,
    Ambient,  // global ambient colour, 0xAARRGGBB
    DitherEnable,
    SpecularEnable,
    AlphaBlendEnable,
    SrcBlend,
    DestBlend,
    NormalizeNormals,
    CullMode,
};

enum class Blend : std::uint32_t { Zero = 1, One = 2, SrcAlpha = 5, InvSrcAlpha = 6 };
enum class Cull : std::uint32_t { None = 1, Clockwise = 2, CounterClockwise = 3 };

enum class TextureStageState : std::uint32_t {
    ColorOp,
    ColorArg1,
    ColorArg2,
    AlphaOp,
    AlphaArg1,
    AlphaArg2
};
enum class TextureOp : std::uint32_t { Disable = 1, SelectArg1 = 2, SelectArg2 = 3, Modulate = 4 };
enum class TextureArg : std::uint32_t { Diffuse = 0, Current = 1, Texture = 2 };

enum class SamplerState : std::uint32_t { MinFilter, MagFilter, MipFilter };
enum class TextureFilter : std::uint32_t { None = 0, Point = 1, Linear = 2 };

// Clear flags.
constexpr std::uint32_t kClearTarget = 0x1;
constexpr std::uint32_t kClearZBuffer = 0x2;
constexpr std::uint32_t kClearStencil = 0x4;

// Vertex layouts a vertex buffer can hold.
enum class VertexFormat : std::uint32_t {
    // position (3 floats), normal (3 floats), colour 0xAARRGGBB, u, v: 36 bytes
    PositionNormalColorTex1,
};

enum class PrimitiveType : std::uint32_t { TriangleList = 4 };

// Resources of a device. Each is released by destroying it; one still alive when the
// device is released counts as a reference the device still holds.
class Texture {
  public:
    virtual ~Texture() = default;
    virtual std::uint32_t Width() const = 0;
    virtual std::uint32_t Height() const = 0;
};

class VertexBuffer {
  public:
    virtual ~VertexBuffer() = default;
    virtual std::uint32_t SizeInBytes() const = 0;
    // Copies bytes into the buffer at an offset; fails when they do not fit.
    virtual Result Write(std::uint32_t offset, const void* data, std::uint32_t size) = 0;
};

// A device copy of a mesh: its vertices and faces, drawn one subset at a time.
class DeviceMesh {
  public:
    virtual ~DeviceMesh() = default;
    virtual std::uint32_t SubsetCount() const = 0;
};

class Device {
  public:
    virtual ~Device() = default;

    // S_OK when usable, D3DERR_DEVICELOST while it cannot be used, D3DERR_DEVICENOTRESET
    // when it can be brought back by Reset.
    virtual Result TestCooperativeLevel() = 0;
    virtual Result Reset(const PresentParameters& params) = 0;
    virtual Result Present() = 0;
    virtual Result GetBackBufferDesc(SurfaceDesc* out) = 0;
    virtual Result GetDeviceCaps(DeviceCaps* out) = 0;
    // Releases the device and answers how many of its resources are still alive.
    virtual std::uint32_t Release() = 0;

    virtual Result Clear(std::uint32_t flags, std::uint32_t color, float z,
                         std::uint32_t stencil) = 0;
    virtual Result BeginScene() = 0;
    virtual Result EndScene() = 0;

    virtual Result SetTransform(TransformState state, const Matrix& matrix) = 0;
    virtual Result GetTransform(TransformState state, Matrix* out) = 0;
    virtual Result SetLight(std::uint32_t index, const Light& light) = 0;
    virtual Result LightEnable(std::uint32_t index, bool enable) = 0;
    virtual Result SetMaterial(const SurfaceMaterial& material) = 0;
    virtual Result SetRenderState(RenderState state, std::uint32_t value) = 0;
    virtual Result SetTextureStageState(std::uint32_t stage, TextureStageState state,
                                        std::uint32_t value) = 0;
    virtual Result SetSamplerState(std::uint32_t sampler, SamplerState state,
                                   std::uint32_t value) = 0;
    virtual Result SetTexture(std::uint32_t stage, Texture* texture) = 0;

    virtual Result CreateVertexBuffer(std::uint32_t sizeInBytes, VertexFormat format,
                                      std::unique_ptr<VertexBuffer>* out) = 0;
    // A texture from 32-bit 0xAARRGGBB pixels, rows top to bottom.
    virtual Result CreateTexture(std::uint32_t width, std::uint32_t height,
                                 const std::uint32_t* pixels, std::unique_ptr<Texture>* out) = 0;
    virtual Result CreateMesh(const Mesh& source, std::unique_ptr<DeviceMesh>* out) = 0;

    virtual Result DrawSubset(DeviceMesh& mesh, std::uint32_t subset) = 0;
    virtual Result DrawPrimitive(PrimitiveType type, VertexBuffer& buffer,
                                 std::uint32_t startVertex, std::uint32_t primitiveCount) = 0;
};

}  // namespace tetrakon::gfx
