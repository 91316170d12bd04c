#pragma once

#include <QOpenGLExtraFunctions>
#include <string>

#include "platform/gfx/draw_state.h"
#include "platform/gfx/gl_api.h"

namespace tetrakon::gfx {

// The GLSL program that stands in for the fixed-function pipeline: per-vertex lighting
// as in fixed_function_lighting.h, then texture stage 0.
class FixedFunctionProgram {
  public:
    // Compiles and links the program in the current context, whose API is `api`. False
    // (with the log) when it does not compile or link. The driver's own shader cache makes
    // later starts quick.
    bool Build(QOpenGLExtraFunctions* gl, const GlApi& api, std::string* log);
    void Destroy(QOpenGLExtraFunctions* gl);

    // Makes the program current with the uniforms for this state.
    void Use(QOpenGLExtraFunctions* gl, const DrawState& state, bool vertexHasColor,
             bool textureBound) const;

  private:
    struct Locations {
        GLint worldViewProjection = -1;
        GLint normalMatrix = -1;
        GLint lightingOn = -1;
        GLint vertexHasColor = -1;
        GLint normalizeNormals = -1;
        GLint globalAmbient = -1;
        GLint materialDiffuse = -1;
        GLint materialAmbient = -1;
        GLint materialEmissive = -1;
        GLint lightCount = -1;
        GLint lightDirection = -1;
        GLint lightDiffuse = -1;
        GLint lightAmbient = -1;
        GLint stageTexture = -1;
        GLint textureBound = -1;
        GLint colorOp = -1;
        GLint colorArg1 = -1;
        GLint colorArg2 = -1;
        GLint alphaOp = -1;
        GLint alphaArg1 = -1;
        GLint alphaArg2 = -1;
    };

    void FindUniforms(QOpenGLExtraFunctions* gl);

    GLuint program_ = 0;
    Locations at_;
};

}  // namespace tetrakon::gfx
