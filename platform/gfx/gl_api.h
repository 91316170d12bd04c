#pragma once

// Which OpenGL the device draws with, and what follows from it. The renderer needs only
// what desktop OpenGL 3.1 and OpenGL ES 3.0 share (vertex arrays, framebuffer objects with
// multisampled renderbuffers and a resolving blit, GLSL with `in` and `out`); the rest is
// asked of the context. Plain data: no Qt, no OpenGL.

#include <string>
#include <string_view>

namespace tetrakon::gfx {

struct GlApi {
    bool es = false;  // OpenGL ES rather than desktop OpenGL
    int major = 0;
    int minor = 0;
    bool operator==(const GlApi&) const = default;
};

// The contexts asked for, best first: desktop OpenGL 3.3 core, desktop OpenGL 3.1 (a
// driver may give 3.2 for it), OpenGL ES 3.0 (or later).
inline constexpr GlApi kRequestedApis[] = {{false, 3, 3}, {false, 3, 1}, {true, 3, 0}};

// Whether the game can draw with a context of this API: desktop 3.1 or later, ES 3.0 or
// later.
bool CanDrawWith(const GlApi& api);

// "OpenGL 3.3" or "OpenGL ES 3.0", as the messages name an API.
std::string ApiName(const GlApi& api);

// The lines every shader of the program starts with on a context of this API: the GLSL
// version and, on ES, the default precisions. The sources after them are the same on
// every API.
std::string_view ShaderPreamble(const GlApi& api);

// What a context offers beyond the shared subset: sampler objects (core in 3.3 and ES
// 3.0, else GL_ARB_sampler_objects) and immutable texture storage (core in 4.2 and ES 3.0,
// else GL_ARB_texture_storage).
struct GlFeatures {
    bool samplerObjects = false;
    bool textureStorage = false;
};
GlFeatures FeaturesOf(const GlApi& api, bool hasSamplerObjectsExtension,
                      bool hasTextureStorageExtension);

}  // namespace tetrakon::gfx
