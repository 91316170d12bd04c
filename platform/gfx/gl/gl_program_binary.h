#pragma once

// Handing a linked GL program to the per-user program cache (program_binary_cache) and
// back: the driver's side of that cache.

#include <QOpenGLExtraFunctions>

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/program_binary_cache.h"

namespace tetrakon::gfx {

// The binary formats the driver hands programs out in and takes them back in; none when
// it does neither.
std::vector<GLint> ProgramBinaryFormats(QOpenGLExtraFunctions* gl);

// The cache key of the fixed-function program on the current context's driver.
std::string FixedFunctionProgramKey(QOpenGLExtraFunctions* gl);

// A program made from the store's saved binary in one of `formats`, or 0 (with nothing
// made) when there is none or the driver refuses it. On success `handOver` holds the
// on-disk mark of the hand-over (see GuardedProgramLoad), to be ended once a frame drawn
// with the program has been shown.
GLuint LoadSavedProgram(QOpenGLExtraFunctions* gl, const ProgramBinaryStore& store,
                        const std::string& key, const std::vector<GLint>& formats,
                        std::unique_ptr<GuardedProgramLoad>* handOver);

// Saves the driver's binary of the linked `program` under `key`; failures are silent.
void SaveProgram(QOpenGLExtraFunctions* gl, const ProgramBinaryStore& store, GLuint program,
                 std::string key);

}  // namespace tetrakon::gfx
