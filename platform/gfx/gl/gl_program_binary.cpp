#include "platform/gfx/gl/gl_program_binary.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/gfx/gl/shader_sources.h"

namespace tetrakon::gfx {

namespace {

std::string GlText(QOpenGLExtraFunctions* gl, GLenum name) {
    const GLubyte* text = gl->glGetString(name);
    return text == nullptr ? std::string() : reinterpret_cast<const char*>(text);
}

}  // namespace

std::vector<GLint> ProgramBinaryFormats(QOpenGLExtraFunctions* gl) {
    GLint count = 0;
    gl->glGetIntegerv(GL_NUM_PROGRAM_BINARY_FORMATS, &count);
    std::vector<GLint> formats(static_cast<std::size_t>(std::max(count, 0)));
    if (!formats.empty()) {
        gl->glGetIntegerv(GL_PROGRAM_BINARY_FORMATS, formats.data());
    }
    return formats;
}

std::string FixedFunctionProgramKey(QOpenGLExtraFunctions* gl) {
    return ProgramCacheKey({GlText(gl, GL_VENDOR), GlText(gl, GL_RENDERER), GlText(gl, GL_VERSION),
                            GlText(gl, GL_SHADING_LANGUAGE_VERSION), FixedFunctionVertexShader(),
                            FixedFunctionFragmentShader()});
}

GLuint LoadSavedProgram(QOpenGLExtraFunctions* gl, const ProgramBinaryStore& store,
                        const std::string& key, const std::vector<GLint>& formats,
                        std::unique_ptr<GuardedProgramLoad>* handOver) {
    // Marked on disk until a frame drawn with it is shown: a program that crashes the
    // driver costs only this start.
    auto load = std::make_unique<GuardedProgramLoad>(store, key);
    std::optional<ProgramRecord>& saved = load->Record();
    if (!saved || std::find(formats.begin(), formats.end(), static_cast<GLint>(saved->format)) ==
                      formats.end()) {
        return 0;
    }
    const GLuint program = gl->glCreateProgram();
    gl->glProgramBinary(program, saved->format, saved->binary.data(),
                        static_cast<GLsizei>(saved->binary.size()));
    saved.reset();  // the driver keeps its own copy
    GLint ok = GL_FALSE;
    gl->glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        gl->glDeleteProgram(program);
        return 0;
    }
    *handOver = std::move(load);
    return program;
}

void SaveProgram(QOpenGLExtraFunctions* gl, const ProgramBinaryStore& store, GLuint program,
                 std::string key) {
    GLint length = 0;
    gl->glGetProgramiv(program, GL_PROGRAM_BINARY_LENGTH, &length);
    if (length <= 0 || static_cast<std::size_t>(length) > ProgramBinaryStore::kMaxFileSize) {
        return;
    }
    ProgramRecord record;
    record.key = std::move(key);
    record.binary.resize(static_cast<std::size_t>(length));
    GLsizei written = 0;
    GLenum format = 0;
    gl->glGetProgramBinary(program, length, &written, &format, record.binary.data());
    if (written <= 0 || written > length) {
        return;
    }
    record.binary.resize(static_cast<std::size_t>(written));
    record.format = format;
    store.Store(record);
}

}  // namespace tetrakon::gfx
