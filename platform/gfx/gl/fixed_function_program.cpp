#include "platform/gfx/gl/fixed_function_program.h"

#include <string_view>
#include <utility>
#include <vector>

#include "platform/gfx/gl/shader_sources.h"
#include "platform/gfx/gl/vertex_attributes.h"

namespace tetrakon::gfx {

namespace {

GLuint Compile(QOpenGLExtraFunctions* gl, GLenum type, std::string_view preamble,
               const std::string& source, std::string* log) {
    const GLuint shader = gl->glCreateShader(type);
    const char* texts[] = {preamble.data(), source.c_str()};
    const GLint lengths[] = {static_cast<GLint>(preamble.size()),
                             static_cast<GLint>(source.size())};
    gl->glShaderSource(shader, 2, texts, lengths);
    gl->glCompileShader(shader);
    GLint ok = GL_FALSE;
    gl->glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        GLint length = 0;
        gl->glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
        std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
        gl->glGetShaderInfoLog(shader, length, nullptr, text.data());
        *log += text.data();
        gl->glDeleteShader(shader);
        return 0;
    }
    return shader;
}

void UploadMatrix4(QOpenGLExtraFunctions* gl, GLint location, const Matrix& matrix) {
    // Row-major data read as column-major is the transpose, which turns p x M for row
    // vectors into M^T p for the column vectors of GLSL.
    gl->glUniformMatrix4fv(location, 1, GL_FALSE, &matrix.m[0][0]);
}

void UploadMatrix3(QOpenGLExtraFunctions* gl, GLint location, const Matrix& matrix) {
    GLfloat upper[9];
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            upper[row * 3 + column] = matrix.m[row][column];
        }
    }
    gl->glUniformMatrix3fv(location, 1, GL_FALSE, upper);
}

GLint AsInt(std::uint32_t value) {
    return static_cast<GLint>(value);
}

}  // namespace

bool FixedFunctionProgram::Build(QOpenGLExtraFunctions* gl, const GlApi& api, std::string* log) {
    const std::string_view preamble = ShaderPreamble(api);
    const GLuint vertex = Compile(gl, GL_VERTEX_SHADER, preamble, FixedFunctionVertexShader(), log);
    const GLuint fragment =
        Compile(gl, GL_FRAGMENT_SHADER, preamble, FixedFunctionFragmentShader(), log);
    if (vertex == 0 || fragment == 0) {
        gl->glDeleteShader(vertex);
        gl->glDeleteShader(fragment);
        return false;
    }
    program_ = gl->glCreateProgram();
    gl->glAttachShader(program_, vertex);
    gl->glAttachShader(program_, fragment);
    gl->glBindAttribLocation(program_, kPositionAttribute, "position");
    gl->glBindAttribLocation(program_, kNormalAttribute, "normal");
    gl->glBindAttribLocation(program_, kColorAttribute, "colorBgra");
    gl->glBindAttribLocation(program_, kTexcoordAttribute, "texcoord");
    gl->glLinkProgram(program_);
    gl->glDeleteShader(vertex);
    gl->glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    gl->glGetProgramiv(program_, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        GLint length = 0;
        gl->glGetProgramiv(program_, GL_INFO_LOG_LENGTH, &length);
        std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
        gl->glGetProgramInfoLog(program_, length, nullptr, text.data());
        *log += text.data();
        Destroy(gl);
        return false;
    }
    FindUniforms(gl);
    return true;
}

void FixedFunctionProgram::FindUniforms(QOpenGLExtraFunctions* gl) {
    auto at = [&](const char* name) { return gl->glGetUniformLocation(program_, name); };
    at_.worldViewProjection = at("worldViewProjection");
    at_.normalMatrix = at("normalMatrix");
    at_.lightingOn = at("lightingOn");
    at_.vertexHasColor = at("vertexHasColor");
    at_.normalizeNormals = at("normalizeNormals");
    at_.globalAmbient = at("globalAmbient");
    at_.materialDiffuse = at("materialDiffuse");
    at_.materialAmbient = at("materialAmbient");
    at_.materialEmissive = at("materialEmissive");
    at_.lightCount = at("lightCount");
    at_.lightDirection = at("lightDirection");
    at_.lightDiffuse = at("lightDiffuse");
    at_.lightAmbient = at("lightAmbient");
    at_.stageTexture = at("stageTexture");
    at_.textureBound = at("textureBound");
    at_.colorOp = at("colorOp");
    at_.colorArg1 = at("colorArg1");
    at_.colorArg2 = at("colorArg2");
    at_.alphaOp = at("alphaOp");
    at_.alphaArg1 = at("alphaArg1");
    at_.alphaArg2 = at("alphaArg2");
}

void FixedFunctionProgram::Destroy(QOpenGLExtraFunctions* gl) {
    if (program_ != 0) {
        gl->glDeleteProgram(program_);
        program_ = 0;
    }
}

void FixedFunctionProgram::Use(QOpenGLExtraFunctions* gl, const DrawState& state,
                               bool vertexHasColor, bool textureBound) const {
    gl->glUseProgram(program_);
    const Matrix& world = state.transforms[0];
    const Matrix& view = state.transforms[1];
    const Matrix& projection = state.transforms[2];
    const Matrix worldView = world * view;
    UploadMatrix4(gl, at_.worldViewProjection, worldView * projection);
    UploadMatrix3(gl, at_.normalMatrix, NormalMatrix(worldView));

    const LightingState& lighting = state.lighting;
    gl->glUniform1i(at_.lightingOn, state.raster.lighting ? 1 : 0);
    gl->glUniform1i(at_.vertexHasColor, vertexHasColor ? 1 : 0);
    gl->glUniform1i(at_.normalizeNormals, lighting.normalizeNormals ? 1 : 0);
    const ColorValue global = ColorFromArgb(lighting.globalAmbient);
    gl->glUniform3f(at_.globalAmbient, global.r, global.g, global.b);
    const SurfaceMaterial& material = lighting.material;
    gl->glUniform4f(at_.materialDiffuse, material.diffuse.r, material.diffuse.g, material.diffuse.b,
                    material.diffuse.a);
    gl->glUniform3f(at_.materialAmbient, material.ambient.r, material.ambient.g,
                    material.ambient.b);
    gl->glUniform3f(at_.materialEmissive, material.emissive.r, material.emissive.g,
                    material.emissive.b);

    GLfloat directions[kMaxLights * 3] = {};
    GLfloat diffuse[kMaxLights * 3] = {};
    GLfloat ambient[kMaxLights * 3] = {};
    GLint count = 0;
    for (std::uint32_t i = 0; i < kMaxLights; ++i) {
        const Light& light = lighting.lights[i];
        if (!lighting.enabled[i] || light.type != LightType::Directional) {
            continue;
        }
        const Vec3 direction = LightDirectionInView(light, view);
        GLfloat* d = &directions[count * 3];
        d[0] = direction.x;
        d[1] = direction.y;
        d[2] = direction.z;
        GLfloat* c = &diffuse[count * 3];
        c[0] = light.diffuse.r;
        c[1] = light.diffuse.g;
        c[2] = light.diffuse.b;
        GLfloat* a = &ambient[count * 3];
        a[0] = light.ambient.r;
        a[1] = light.ambient.g;
        a[2] = light.ambient.b;
        ++count;
    }
    gl->glUniform1i(at_.lightCount, count);
    gl->glUniform3fv(at_.lightDirection, kMaxLights, directions);
    gl->glUniform3fv(at_.lightDiffuse, kMaxLights, diffuse);
    gl->glUniform3fv(at_.lightAmbient, kMaxLights, ambient);

    const TextureStageSetup& stage = state.stage0;
    gl->glUniform1i(at_.stageTexture, 0);
    gl->glUniform1i(at_.textureBound, textureBound ? 1 : 0);
    gl->glUniform1i(at_.colorOp, AsInt(static_cast<std::uint32_t>(stage.colorOp)));
    gl->glUniform1i(at_.colorArg1, AsInt(static_cast<std::uint32_t>(stage.colorArg1)));
    gl->glUniform1i(at_.colorArg2, AsInt(static_cast<std::uint32_t>(stage.colorArg2)));
    gl->glUniform1i(at_.alphaOp, AsInt(static_cast<std::uint32_t>(stage.alphaOp)));
    gl->glUniform1i(at_.alphaArg1, AsInt(static_cast<std::uint32_t>(stage.alphaArg1)));
    gl->glUniform1i(at_.alphaArg2, AsInt(static_cast<std::uint32_t>(stage.alphaArg2)));
}

}  // namespace tetrakon::gfx
