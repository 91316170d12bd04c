#include "platform/gfx/gl_api.h"

#include <tuple>

namespace tetrakon::gfx {

namespace {

bool AtLeast(const GlApi& api, int major, int minor) {
    return std::tie(api.major, api.minor) >= std::tie(major, minor);
}

}  // namespace

bool CanDrawWith(const GlApi& api) {
    return api.es ? AtLeast(api, 3, 0) : AtLeast(api, 3, 1);
}

std::string ApiName(const GlApi& api) {
    return (api.es ? "OpenGL ES " : "OpenGL ") + std::to_string(api.major) + "." +
           std::to_string(api.minor);
}

std::string_view ShaderPreamble(const GlApi& api) {
    if (api.es) {
        return "#version 300 es\nprecision highp float;\nprecision highp int;\n";
    }
    // GLSL 1.40 goes with OpenGL 3.1 and 1.50 with 3.2; neither has layout locations,
    // which the program does not use.
    return AtLeast(api, 3, 3) ? "#version 330 core\n" : "#version 140\n";
}

GlFeatures FeaturesOf(const GlApi& api, bool hasSamplerObjectsExtension,
                      bool hasTextureStorageExtension) {
    GlFeatures features;
    features.samplerObjects = api.es || AtLeast(api, 3, 3) || hasSamplerObjectsExtension;
    features.textureStorage = api.es || AtLeast(api, 4, 2) || hasTextureStorageExtension;
    return features;
}

}  // namespace tetrakon::gfx
