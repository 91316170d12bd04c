#pragma once

#include <cstdint>
#include <memory>

#include "gfxutil/matrix.h"
#include "platform/gfx/device.h"

namespace tetrakon {

// One vertex of the background quad, as the device's PositionNormalColorTex1 layout holds it.
struct QuadVertex {
    float x, y, z;
    float nx, ny, nz;
    // The 0xAARRGGBB colour as the layout reads it: the bytes B, G, R, A on every machine.
    std::uint8_t color[4];
    float u, v;
};
static_assert(sizeof(QuadVertex) == 36);

constexpr std::uint32_t kQuadVertexCount = 6;

// The rectangle behind the pyramid that carries the background picture. It lies in the
// plane z = 0 of its own space and is drawn translated to z = 55, 110 units in front of the
// eye, where its half extents 110 / P11 and 110 / P22 fill the view exactly. The buffer is
// rewritten only when the view's shape or the background colour changed since the last
// write.
class BackgroundQuad {
  public:
    // Makes the six-vertex buffer; the next Update writes it whatever the cache holds.
    Result Create(gfx::Device* device);
    void Release();

    // Rewrites the vertices for this projection and colour unless they are already there.
    // A buffer that cannot be written keeps the cache as it was, so the next frame tries
    // again.
    void Update(const Matrix& projection, std::uint32_t colour);

    gfx::VertexBuffer* buffer() const { return buffer_.get(); }

  private:
    std::unique_ptr<gfx::VertexBuffer> buffer_;
    float cachedHalfWidth_ = 0;
    float cachedHalfHeight_ = 0;
    std::uint32_t cachedColour_ = 0;
    bool mustWrite_ = true;
};

}  // namespace tetrakon
