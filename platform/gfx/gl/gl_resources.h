#pragma once

// The device's resources. Each holds its device's context home, makes that context
// current to free its GL objects, and does nothing to GL once the device is released.

#include <memory>
#include <vector>

#include "platform/gfx/device.h"
#include "platform/gfx/gl/gl_context_home.h"
#include "platform/gfx/mesh_draw_data.h"

namespace tetrakon::gfx {

// Bytes per vertex of VertexFormat::PositionNormalColorTex1.
constexpr std::uint32_t kPositionNormalColorTex1Size = 36;

class GlVertexBuffer : public VertexBuffer {
  public:
    // Null when the buffer cannot be made.
    static std::unique_ptr<GlVertexBuffer> Create(std::shared_ptr<GlContextHome> home,
                                                  std::uint32_t size, VertexFormat format);
    ~GlVertexBuffer() override;
    std::uint32_t SizeInBytes() const override { return size_; }
    Result Write(std::uint32_t offset, const void* data, std::uint32_t size) override;

    const GlContextHome* home() const { return home_.get(); }
    GLuint name() const { return buffer_; }
    VertexFormat format() const { return format_; }

  private:
    GlVertexBuffer(std::shared_ptr<GlContextHome> home, std::uint32_t size, VertexFormat format);
    std::shared_ptr<GlContextHome> home_;
    GLuint buffer_ = 0;
    std::uint32_t size_;
    VertexFormat format_;
};

class GlTexture : public Texture {
  public:
    // From 0xAARRGGBB pixels, rows top to bottom, with a full mipmap chain, in immutable
    // storage where the context has it (`textureStorage`).
    static std::unique_ptr<GlTexture> Create(std::shared_ptr<GlContextHome> home,
                                             std::uint32_t width, std::uint32_t height,
                                             const std::uint32_t* pixels, bool textureStorage);
    ~GlTexture() override;
    std::uint32_t Width() const override { return width_; }
    std::uint32_t Height() const override { return height_; }

    const GlContextHome* home() const { return home_.get(); }
    GLuint name() const { return texture_; }

  private:
    GlTexture(std::shared_ptr<GlContextHome> home, std::uint32_t width, std::uint32_t height);
    std::shared_ptr<GlContextHome> home_;
    GLuint texture_ = 0;
    std::uint32_t width_, height_;
};

class GlDeviceMesh : public DeviceMesh {
  public:
    static std::unique_ptr<GlDeviceMesh> Create(std::shared_ptr<GlContextHome> home,
                                                const MeshDrawData& data);
    ~GlDeviceMesh() override;
    std::uint32_t SubsetCount() const override {
        return static_cast<std::uint32_t>(subsets_.size());
    }

    const GlContextHome* home() const { return home_.get(); }
    GLuint vertexArray() const { return vertexArray_; }
    const IndexRange& subset(std::uint32_t index) const { return subsets_[index]; }

  private:
    explicit GlDeviceMesh(std::shared_ptr<GlContextHome> home);
    std::shared_ptr<GlContextHome> home_;
    GLuint vertexArray_ = 0;
    GLuint vertexBuffer_ = 0;
    GLuint indexBuffer_ = 0;
    std::vector<IndexRange> subsets_;
};

}  // namespace tetrakon::gfx
