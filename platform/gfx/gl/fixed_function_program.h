#pragma once

#include <QOpenGLExtraFunctions>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/draw_state.h"
#include "platform/gfx/program_binary_cache.h"

namespace tetrakon::gfx {

// The GLSL program that stands in for the fixed-function pipeline: per-vertex lighting
// as in fixed_function_lighting.h, then texture stage 0.
class FixedFunctionProgram {
  public:
    enum class Origin { Failed, FromCache, Compiled };

    // Makes the program in the current context: from the store's saved binary when the
    // driver takes it back, otherwise compiled and linked from source, and then saved in
    // the store when the driver hands out binaries. Failed (with the log) when it does
    // not compile or link.
    Origin Build(QOpenGLExtraFunctions* gl, const ProgramBinaryStore& store, std::string* log);
    void Destroy(QOpenGLExtraFunctions* gl);

    // A program from the store stays marked as being handed over (see GuardedProgramLoad)
    // until a frame drawn with it has been shown: the driver translates it for the
    // hardware only at the first draw, and a damaged one crashes it there.
    void EndHandOver() { handOver_.reset(); }

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

    bool CompileAndLink(QOpenGLExtraFunctions* gl, bool retrievable, std::string* log);
    void FindUniforms(QOpenGLExtraFunctions* gl);

    GLuint program_ = 0;
    Locations at_;
    std::unique_ptr<GuardedProgramLoad> handOver_;
};

}  // namespace tetrakon::gfx
