#include "platform/gfx/gl/vertex_attributes.h"

#include <cstdint>

#include "platform/gfx/mesh_draw_data.h"

namespace tetrakon::gfx {

namespace {

const void* Offset(std::uintptr_t bytes) {
    return reinterpret_cast<const void*>(bytes);
}

}  // namespace

void PointMeshAttributes(QOpenGLExtraFunctions* gl) {
    const GLsizei stride = kMeshVertexFloats * sizeof(float);
    gl->glEnableVertexAttribArray(kPositionAttribute);
    gl->glVertexAttribPointer(kPositionAttribute, 3, GL_FLOAT, GL_FALSE, stride, Offset(0));
    gl->glEnableVertexAttribArray(kNormalAttribute);
    gl->glVertexAttribPointer(kNormalAttribute, 3, GL_FLOAT, GL_FALSE, stride, Offset(12));
    gl->glDisableVertexAttribArray(kColorAttribute);
    gl->glEnableVertexAttribArray(kTexcoordAttribute);
    gl->glVertexAttribPointer(kTexcoordAttribute, 2, GL_FLOAT, GL_FALSE, stride, Offset(24));
}

void PointPositionNormalColorTex1Attributes(QOpenGLExtraFunctions* gl) {
    constexpr GLsizei stride = 36;
    constexpr std::uintptr_t base = 0;
    gl->glEnableVertexAttribArray(kPositionAttribute);
    gl->glVertexAttribPointer(kPositionAttribute, 3, GL_FLOAT, GL_FALSE, stride, Offset(base));
    gl->glEnableVertexAttribArray(kNormalAttribute);
    gl->glVertexAttribPointer(kNormalAttribute, 3, GL_FLOAT, GL_FALSE, stride, Offset(base + 12));
    // 0xAARRGGBB is B, G, R, A in memory; the program swaps red and blue back.
    gl->glEnableVertexAttribArray(kColorAttribute);
    gl->glVertexAttribPointer(kColorAttribute, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              Offset(base + 24));
    gl->glEnableVertexAttribArray(kTexcoordAttribute);
    gl->glVertexAttribPointer(kTexcoordAttribute, 2, GL_FLOAT, GL_FALSE, stride, Offset(base + 28));
}

}  // namespace tetrakon::gfx
