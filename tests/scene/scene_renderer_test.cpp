// The frame drawing's bookkeeping against the recording device: the camera and lights a
// reset sets, lights that follow the zoom, the background quad's rewrites, and what a frame
// draws in which order.

#include "scene/scene_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "gfxutil/little_endian.h"
#include "resources/module_resources.h"
#include "scene/scene_file.h"
#include "tests/fakes/fake_device.h"

namespace tetrakon {
namespace {

using gfx::FakeDevice;
using gfx::FakeVertexBuffer;

// Counts the steps and notes how many subsets had been drawn when the last one ran.
struct CountingAnimation : FrameAnimation {
    void StepAnimations() override {
        ++steps;
        drawnBeforeStep = log != nullptr ? log->Matching("DrawSubset").size() : 0;
    }
    int steps = 0;
    const gfx::CallLog* log = nullptr;
    std::size_t drawnBeforeStep = 0;
};

class SceneRendererTest : public ::testing::Test {
  protected:
    void SetUp() override {
        renderer.PathImage = "no such picture.png";
        ASSERT_EQ(renderer.DeviceCreated(&device), S_OK);
        ASSERT_EQ(renderer.DeviceReset(&device, 532, 379), S_OK);
        renderer.UpdateFrame(&device, Matrix::Identity(), 1.0f);
    }

    void Draw() { ASSERT_EQ(renderer.DrawFrame(&device, root, animation), S_OK); }

    FakeDevice device;
    SceneFile root;
    SceneRenderer renderer;
    CountingAnimation animation;
};

TEST_F(SceneRendererTest, AResetSetsTheFixedCameraAndLights) {
    ASSERT_EQ(renderer.DeviceReset(&device, 640, 480), S_OK);
    const auto& transforms = device.transforms;
    const Matrix& view = transforms[static_cast<std::size_t>(gfx::TransformState::View)];
    const Matrix& projection =
        transforms[static_cast<std::size_t>(gfx::TransformState::Projection)];
    // Eye (0, 0, -55) looking at the origin, y up; a quarter-pi field of view (tan of its
    // half 0.41421356) on a 640 x 480 back buffer, depth 0 at 1 and 1 at 200.
    constexpr float kHalfHeight = 0.41421356f;
    constexpr float kHalfWidth = kHalfHeight * 640.0f / 480.0f;
    const struct {
        const char* what;
        const Matrix& matrix;
        Vec3 point, expected;
    } camera[] = {
        {"eye", view, {0, 0, -55}, {0, 0, 0}},
        {"target", view, {0, 0, 0}, {0, 0, 55}},
        {"up and right", view, {3, 10, 0}, {3, 10, 55}},
        {"near top right", projection, {kHalfWidth, kHalfHeight, 1}, {1, 1, 0}},
        {"far bottom left", projection, {-200 * kHalfWidth, -200 * kHalfHeight, 200}, {-1, -1, 1}},
    };
    for (const auto& row : camera) {
        const Vec3 moved = TransformCoord(row.point, row.matrix);
        EXPECT_NEAR(moved.x, row.expected.x, 1e-4f) << row.what;
        EXPECT_NEAR(moved.y, row.expected.y, 1e-4f) << row.what;
        EXPECT_NEAR(moved.z, row.expected.z, 1e-4f) << row.what;
    }

    // Directional, white at the intensity, travelling along the direction, range 500.
    const struct {
        float intensity;
        Vec3 position, direction;
    } lights[kSceneLightCount] = {
        {2.0f, {0, 0, -60}, {0, 0, -1}},  {1.0f, {100, 0, 0}, {1, 0, 0}},
        {1.0f, {-100, 0, 0}, {-1, 0, 0}}, {1.0f, {0, -100, 0}, {0, -1, 0}},
        {1.0f, {0, 100, 0}, {0, 1, 0}},   {1.0f, {0, 0, -100}, {0, 0, -1}},
        {1.5f, {0, 0, 100}, {0, 0, 1}},
    };
    for (std::size_t i = 0; i < std::size(lights); ++i) {
        const gfx::Light& light = device.lights[i];
        EXPECT_EQ(light.type, gfx::LightType::Directional) << i;
        EXPECT_EQ(light.direction, lights[i].direction) << i;
        EXPECT_EQ(light.position, lights[i].position) << i;
        EXPECT_EQ(light.range, 500.0f) << i;
        const float rgb[] = {light.diffuse.r, light.diffuse.g, light.diffuse.b};
        for (const float channel : rgb) {
            EXPECT_EQ(channel, lights[i].intensity) << i;
        }
    }
}

TEST_F(SceneRendererTest, LightsFollowTheZoomAndLightZeroKeepsItsIntensity) {
    renderer.UpdateFrame(&device, Matrix::Identity(), 1.08f);
    EXPECT_FLOAT_EQ(device.lights[0].diffuse.r, 2.0f);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_FLOAT_EQ(device.lights[static_cast<std::size_t>(i)].diffuse.g, 0.3f * 1.08f) << i;
    }
    EXPECT_FLOAT_EQ(device.lights[6].diffuse.b, 1.08f);
    EXPECT_FLOAT_EQ(renderer.world().m[1][1], 1.08f);
    EXPECT_TRUE(std::all_of(device.lightEnabled.begin(), device.lightEnabled.begin() + 7,
                            [](bool on) { return on; }));
    EXPECT_EQ(device.renderStates[gfx::RenderState::Ambient], 0x000F0F0Fu);
}

TEST_F(SceneRendererTest, AnUnreadablePictureTurnsThePictureOff) {
    renderer.Picture = 1;
    renderer.LoadPicture(&device, "no such picture.png");
    EXPECT_EQ(renderer.Picture, 0u);
    EXPECT_EQ(renderer.picture(), nullptr);
}

TEST_F(SceneRendererTest, AFrameThatCannotBeginDrawsAndAdvancesNothing) {
    device.beginSceneResult = E_FAIL;
    renderer.Picture = 1;
    device.log()->calls.clear();
    Draw();
    EXPECT_EQ(animation.steps, 0);
    EXPECT_TRUE(device.log()->Matching("DrawPrimitive").empty());
    EXPECT_TRUE(device.log()->Matching("EndScene").empty());
}

TEST_F(SceneRendererTest, ThePictureQuadIsDrawnAfterTheAnimationStepsOnlyWhenPictureIsOn) {
    device.log()->calls.clear();
    Draw();
    EXPECT_EQ(animation.steps, 1);
    EXPECT_TRUE(device.log()->Matching("DrawPrimitive").empty());

    renderer.Picture = 1;
    Draw();
    EXPECT_EQ(animation.steps, 2);
    ASSERT_EQ(device.log()->Matching("DrawPrimitive").size(), 1u);
    EXPECT_EQ(device.transforms[0], MatrixTranslation(0, 0, 55));
    EXPECT_EQ(device.textures[0], nullptr);
}

TEST_F(SceneRendererTest, ThePyramidIsDrawnBeforeTheTurnStepSoAFrameShowsTheStateBeforeIt) {
    ASSERT_EQ(root.LoadFromResource(&device, kPuzzleModelId, "X"), S_OK);
    root.RestoreAll(&device);
    animation.log = device.log().get();
    device.log()->calls.clear();
    Draw();
    EXPECT_GT(animation.drawnBeforeStep, 0u);
    EXPECT_EQ(animation.drawnBeforeStep, device.log()->Matching("DrawSubset").size());
}

// The quad's vertices for the current view: the first vertex's position and colour, the
// colour read from the bytes B, G, R, A that the vertex layout reads on every machine.
struct QuadCorner {
    float x, y;
    std::uint32_t colour;
};

QuadCorner FirstVertex(const std::vector<std::uint8_t>& bytes) {
    QuadVertex vertex{};
    EXPECT_GE(bytes.size(), sizeof vertex);
    std::memcpy(&vertex, bytes.data(), sizeof vertex);
    return {vertex.x, vertex.y, LoadLe32(bytes.data() + offsetof(QuadVertex, color))};
}

TEST(BackgroundQuadTest, RewritesOnlyWhenTheViewShapeOrColourChanged) {
    FakeDevice device;
    BackgroundQuad quad;
    ASSERT_EQ(quad.Create(&device), S_OK);
    auto& buffer = dynamic_cast<FakeVertexBuffer&>(*quad.buffer());
    const Matrix wide = MatrixPerspectiveFovLH(0.7853982f, 532.0f / 379.0f, 1, 200);
    const Matrix tall = MatrixPerspectiveFovLH(0.7853982f, 300.0f / 400.0f, 1, 200);

    quad.Update(wide, 0x00AACCAA);
    const QuadCorner first = FirstVertex(buffer.bytes);
    EXPECT_FLOAT_EQ(first.x, -110.0f / wide.m[0][0]);
    EXPECT_FLOAT_EQ(first.y, 110.0f / wide.m[1][1]);
    EXPECT_EQ(first.colour, 0x00AACCAAu);

    std::fill(buffer.bytes.begin(), buffer.bytes.end(), 0);
    quad.Update(wide, 0x00AACCAA);
    EXPECT_EQ(FirstVertex(buffer.bytes).colour, 0u) << "same view and colour: no rewrite";

    quad.Update(wide, 0xFF123456);
    EXPECT_EQ(FirstVertex(buffer.bytes).colour, 0xFF123456u) << "new colour";

    buffer.writeResult = E_FAIL;
    quad.Update(tall, 0xFF123456);
    buffer.writeResult = S_OK;
    quad.Update(tall, 0xFF123456);
    EXPECT_FLOAT_EQ(FirstVertex(buffer.bytes).x, -110.0f / tall.m[0][0])
        << "a failed write is tried again on the next frame";

    ASSERT_EQ(quad.Create(&device), S_OK);
    auto& remade = dynamic_cast<FakeVertexBuffer&>(*quad.buffer());
    quad.Update(tall, 0xFF123456);
    EXPECT_EQ(FirstVertex(remade.bytes).colour, 0xFF123456u) << "a new buffer is always written";
}

}  // namespace
}  // namespace tetrakon
