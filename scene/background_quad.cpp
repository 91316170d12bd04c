#include "scene/background_quad.h"

#include <array>

#include "gfxutil/little_endian.h"

namespace tetrakon {

namespace {

constexpr float kQuadDistance = 110.0f;

// Two clockwise triangles as seen from the eye, v = 0 along the top edge.
std::array<QuadVertex, kQuadVertexCount> QuadVertices(float a, float b, std::uint32_t colour) {
    auto vertex = [colour](float x, float y, float u, float v) {
        QuadVertex made{x, y, 0.0f, 1.0f, 1.0f, 1.0f, {}, u, v};
        StoreLe32(colour, made.color);  // B, G, R, A
        return made;
    };
    return {vertex(-a, b, 0, 0), vertex(a, b, 1, 0),   vertex(a, -b, 1, 1),
            vertex(a, -b, 1, 1), vertex(-a, -b, 0, 1), vertex(-a, b, 0, 0)};
}

}  // namespace

Result BackgroundQuad::Create(gfx::Device* device) {
    Release();
    const Result created =
        device->CreateVertexBuffer(kQuadVertexCount * sizeof(QuadVertex),
                                   gfx::VertexFormat::PositionNormalColorTex1, &buffer_);
    mustWrite_ = true;
    return created;
}

void BackgroundQuad::Release() {
    buffer_.reset();
}

void BackgroundQuad::Update(const Matrix& projection, std::uint32_t colour) {
    const float a = kQuadDistance / projection.m[0][0];
    const float b = kQuadDistance / projection.m[1][1];
    if (!mustWrite_ && a == cachedHalfWidth_ && b == cachedHalfHeight_ && colour == cachedColour_) {
        return;
    }
    if (buffer_ == nullptr) {
        return;
    }
    const auto vertices = QuadVertices(a, b, colour);
    if (Failed(buffer_->Write(0, vertices.data(), sizeof(vertices)))) {
        return;
    }
    cachedHalfWidth_ = a;
    cachedHalfHeight_ = b;
    cachedColour_ = colour;
    mustWrite_ = false;
}

}  // namespace tetrakon
