#pragma once

#include <string>

namespace tetrakon::gfx {

// The GLSL of the fixed-function program, kept as files in shaders/ and embedded as Qt
// resources. Each is read once; an empty text (a resource missing from the build) fails
// the compile like any faulty shader.
const std::string& FixedFunctionVertexShader();
const std::string& FixedFunctionFragmentShader();

}  // namespace tetrakon::gfx
