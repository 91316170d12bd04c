#include "platform/gfx/gl_api.h"

#include <gtest/gtest.h>

#include <string_view>
#include <tuple>

namespace tetrakon::gfx {
namespace {

// Per API: drawable or not, the shaders' GLSL version, sampler objects and texture storage.
TEST(GlApi, EachContextGetsItsShaderVersionAndFeatures) {
    struct Row {
        GlApi api;
        bool drawable;
        const char* firstLine;
        bool samplers;
        bool storage;
    };
    const Row rows[] = {
        {{false, 4, 5}, true, "#version 330 core", true, true},
        {{false, 3, 3}, true, "#version 330 core", true, false},
        {{false, 3, 2}, true, "#version 140", false, false},
        {{false, 3, 1}, true, "#version 140", false, false},
        {{false, 3, 0}, false, "#version 140", false, false},
        {{false, 2, 1}, false, "#version 140", false, false},
        {{true, 3, 2}, true, "#version 300 es", true, true},
        {{true, 3, 0}, true, "#version 300 es", true, true},
        {{true, 2, 0}, false, "#version 300 es", true, true},
    };
    for (const Row& row : rows) {
        const std::string_view preamble = ShaderPreamble(row.api);
        const GlFeatures features = FeaturesOf(row.api, false, false);
        EXPECT_EQ(std::tuple(CanDrawWith(row.api), preamble.substr(0, preamble.find('\n')),
                             features.samplerObjects, features.textureStorage),
                  std::tuple(row.drawable, row.firstLine, row.samplers, row.storage))
            << ApiName(row.api);
    }
    // Older desktop versions get them from their extensions.
    const GlFeatures extended = FeaturesOf({false, 3, 1}, true, true);
    EXPECT_TRUE(extended.samplerObjects && extended.textureStorage);
    EXPECT_NE(ShaderPreamble({true, 3, 0}).find("precision highp float;"), std::string::npos);
}

}  // namespace
}  // namespace tetrakon::gfx
