// The resources the device makes: vertex buffers, textures and meshes.

#include "platform/gfx/gl/gl_device.h"

#include <utility>

#include "platform/gfx/gl/gl_resources.h"
#include "platform/gfx/mesh_draw_data.h"

namespace tetrakon::gfx {

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
    std::unique_ptr<GlTexture> texture =
        GlTexture::Create(home_, width, height, pixels, facts_.features.textureStorage);
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

}  // namespace tetrakon::gfx
