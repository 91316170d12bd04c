#pragma once

#include <QOpenGLExtraFunctions>

namespace tetrakon::gfx {

// Attribute locations of the fixed-function program.
constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kNormalAttribute = 1;
constexpr GLuint kColorAttribute = 2;
constexpr GLuint kTexcoordAttribute = 3;

// Points the bound vertex array at a mesh vertex buffer bound to GL_ARRAY_BUFFER:
// position, normal, texture coordinates; no colour.
void PointMeshAttributes(QOpenGLExtraFunctions* gl);

// Points the bound vertex array at a PositionNormalColorTex1 buffer bound to
// GL_ARRAY_BUFFER.
void PointPositionNormalColorTex1Attributes(QOpenGLExtraFunctions* gl);

}  // namespace tetrakon::gfx
