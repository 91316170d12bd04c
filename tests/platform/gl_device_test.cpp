// The OpenGL device drawing for real: clear, present, reset, release counts, lighting,
// texturing, depth and culling, each checked by reading pixels back.

#include "platform/gfx/gl/gl_device.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <functional>

#include "platform/gfx/fixed_function_lighting.h"
#include "platform/gfx/gl/gl_adapter_probe.h"
#include "platform/gfx/gl/gl_context_format.h"
#include "tests/platform/gl_test_window.h"

namespace tetrakon::gfx {
namespace {

int Channel(std::uint32_t argb, int shift) {
    return static_cast<int>((argb >> shift) & 0xFF);
}

void ExpectColorNear(std::uint32_t pixel, ColorValue expected, int tolerance = 2) {
    EXPECT_NEAR(Channel(pixel, 16), expected.r * 255.0f, tolerance) << std::hex << pixel;
    EXPECT_NEAR(Channel(pixel, 8), expected.g * 255.0f, tolerance) << std::hex << pixel;
    EXPECT_NEAR(Channel(pixel, 0), expected.b * 255.0f, tolerance) << std::hex << pixel;
}

void ExpectRgb(std::uint32_t pixel, std::uint32_t expected) {
    EXPECT_EQ(pixel & 0xFFFFFF, expected & 0xFFFFFF) << std::hex << pixel << " " << expected;
}

Light Directional(float intensity, Vec3 direction) {
    Light light;
    light.diffuse = {intensity, intensity, intensity, 1};
    light.direction = direction;
    light.range = 500;
    return light;
}

// A triangle around the centre of the view, clockwise on screen (the front side).
std::vector<ColoredVertex> CentreTriangle(float z, std::uint32_t color, Vec3 normal) {
    return {{-0.6f, -0.6f, z, normal.x, normal.y, normal.z, color, 0, 0},
            {0.0f, 0.6f, z, normal.x, normal.y, normal.z, color, 0, 0},
            {0.6f, -0.6f, z, normal.x, normal.y, normal.z, color, 0, 0}};
}

std::unique_ptr<VertexBuffer> Upload(Device& device, const std::vector<ColoredVertex>& vertices) {
    std::unique_ptr<VertexBuffer> buffer;
    const auto size = static_cast<std::uint32_t>(vertices.size() * sizeof(ColoredVertex));
    EXPECT_EQ(device.CreateVertexBuffer(size, VertexFormat::PositionNormalColorTex1, &buffer),
              S_OK);
    if (buffer) {
        EXPECT_EQ(buffer->Write(0, vertices.data(), size), S_OK);
    }
    return buffer;
}

// Draws the buffer's triangles in one scene after clearing to black.
void DrawScene(Device& device, VertexBuffer& buffer, std::uint32_t triangles) {
    ASSERT_EQ(device.Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1.0f, 0), S_OK);
    ASSERT_EQ(device.BeginScene(), S_OK);
    EXPECT_EQ(device.DrawPrimitive(PrimitiveType::TriangleList, buffer, 0, triangles), S_OK);
    ASSERT_EQ(device.EndScene(), S_OK);
}

std::uint32_t CentrePixel(GlDevice& device) {
    SurfaceDesc desc;
    EXPECT_EQ(device.GetBackBufferDesc(&desc), S_OK);
    return BackBufferPixel(device, desc.width / 2, desc.height / 2);
}

class GlDeviceTest : public ::testing::Test {
  protected:
    TestWindow window{160, 120};
    std::unique_ptr<GlDevice> device = OpenDevice(window);
};

TEST_F(GlDeviceTest, ClearsAndPresentsIntoTheWindow) {
    ASSERT_NE(device, nullptr);
    SurfaceDesc desc;
    ASSERT_EQ(device->GetBackBufferDesc(&desc), S_OK);
    EXPECT_EQ(desc.width, 160u);
    EXPECT_EQ(desc.height, 120u);
    EXPECT_EQ(desc.format, Format::X8R8G8B8);
    EXPECT_EQ(device->TestCooperativeLevel(), S_OK);

    ASSERT_EQ(device->Clear(kClearTarget | kClearZBuffer | kClearStencil, 0xFF336699, 1.0f, 0),
              S_OK);
    std::vector<std::uint32_t> pixels;
    ASSERT_EQ(device->ReadBackBuffer(&pixels), S_OK);
    ASSERT_EQ(pixels.size(), 160u * 120u);
    for (std::uint32_t pixel : pixels) {
        ASSERT_EQ(pixel, 0xFF336699u);
    }
    ASSERT_EQ(device->Present(), S_OK);
    const QImage shown = GrabWhenShown(*window.window, 5, 5, 0x336699);
    ASSERT_EQ(shown.width(), 160);
    EXPECT_EQ(shown.pixel(5, 5) & 0xFFFFFF, 0x336699u);
    EXPECT_EQ(shown.pixel(150, 110) & 0xFFFFFF, 0x336699u);
    EXPECT_EQ(device->Release(), 0u);
}

// A surface that keeps alpha, as Wayland's EGL surfaces do, shows the frame opaque: the
// game clears to a background colour whose alpha is 0.
TEST(GlDevicePresentedAlpha, OpaqueOnASurfaceWithAlpha) {
    QWindow window;
    window.setSurfaceType(QSurface::OpenGLSurface);
    QSurfaceFormat format = window.requestedFormat();
    format.setAlphaBufferSize(8);
    window.setFormat(format);
    window.resize(64, 48);
    window.create();
    QtWindow adapter(&window);
    window.show();
    ASSERT_TRUE(WaitForExposure(window, true));
    std::unique_ptr<Device> device;
    ASSERT_EQ(TestGraphicsApi().CreateDevice(0, DeviceType::HAL, &adapter,
                                             kCreateHardwareVertexProcessing,
                                             WindowedParameters(&adapter), &device),
              S_OK);
    ASSERT_EQ(device->Clear(kClearTarget, 0x00AACCAA, 1.0f, 0), S_OK);
    ASSERT_EQ(device->Present(), S_OK);
    const QImage shown = GrabWhenShown(window, 30, 20, 0xAACCAA);
    EXPECT_EQ(shown.pixel(30, 20), 0xFFAACCAAu);
}

TEST_F(GlDeviceTest, ResetChangesTheBackBufferAndStillDraws) {
    ASSERT_NE(device, nullptr);
    PresentParameters params = WindowedParameters(window.adapter.get(), 200, 100);
    params.presentationInterval = kPresentIntervalOne;
    ASSERT_EQ(device->Reset(params), S_OK);
    SurfaceDesc desc;
    ASSERT_EQ(device->GetBackBufferDesc(&desc), S_OK);
    EXPECT_EQ(desc.width, 200u);
    EXPECT_EQ(desc.height, 100u);

    auto buffer = Upload(*device, CentreTriangle(0.5f, 0xFF20C040, {0, 0, -1}));
    ASSERT_EQ(device->SetRenderState(RenderState::Lighting, 0), S_OK);
    DrawScene(*device, *buffer, 1);
    ExpectRgb(CentrePixel(*device), 0x20C040);
    ExpectRgb(BackBufferPixel(*device, 2, 2), 0x000000);
    EXPECT_EQ(BackBufferPixel(*device, 199, 99) & 0xFFFFFF, 0u);
    ASSERT_EQ(device->Present(), S_OK);

    // The stretched picture fills the window.
    const QImage shown = GrabWhenShown(*window.window, 80, 60, 0x20C040);
    EXPECT_EQ(shown.pixel(80, 60) & 0xFFFFFF, 0x20C040u);

    // Without a depth buffer there is nothing to clear but colour.
    params.enableAutoDepthStencil = false;
    ASSERT_EQ(device->Reset(params), S_OK);
    EXPECT_EQ(device->Clear(kClearZBuffer, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(kClearTarget, 0xFF0000FF, 1.0f, 0), S_OK);
    ExpectRgb(CentrePixel(*device), 0x0000FF);

    // In a window, an unknown back-buffer format means the desktop's.
    params.backBufferFormat = Format::Unknown;
    ASSERT_EQ(device->Reset(params), S_OK);
    ASSERT_EQ(device->GetBackBufferDesc(&desc), S_OK);
    EXPECT_EQ(desc.format, Format::X8R8G8B8);

    // A depth format the implementation has no buffer for is refused.
    params.enableAutoDepthStencil = true;
    params.autoDepthStencilFormat = Format::D15S1;
    EXPECT_NE(device->Reset(params), S_OK);
    buffer.reset();
    EXPECT_EQ(device->Release(), 0u);
}

TEST_F(GlDeviceTest, MultisampledBackBufferResolves) {
    ASSERT_NE(device, nullptr);
    MultisampleType samples = 0;
    for (MultisampleType n = 2; n <= 16 && samples == 0; ++n) {
        if (TestGraphicsApi().CheckDeviceMultiSampleType(0, DeviceType::HAL, Format::X8R8G8B8, true,
                                                         n, nullptr) == S_OK &&
            TestGraphicsApi().CheckDeviceMultiSampleType(0, DeviceType::HAL, Format::D24S8, true, n,
                                                         nullptr) == S_OK) {
            samples = n;
        }
    }
    if (samples == 0) {
        GTEST_SKIP() << "this OpenGL offers no multisampling";
    }
    PresentParameters params = WindowedParameters(window.adapter.get());
    params.multiSampleType = samples;
    ASSERT_EQ(device->Reset(params), S_OK);
    auto buffer = Upload(*device, CentreTriangle(0.5f, 0xFFFFFFFF, {0, 0, -1}));
    ASSERT_EQ(device->SetRenderState(RenderState::Lighting, 0), S_OK);
    DrawScene(*device, *buffer, 1);
    ASSERT_EQ(device->Present(), S_OK);

    // The window shows the resolved picture: white inside, black around, and the first
    // lit pixel of most rows along the slanted sides is grey.
    const QImage shown = GrabWhenShown(*window.window, 80, 60, 0xFFFFFF);
    ASSERT_EQ(shown.size(), QSize(160, 120));
    EXPECT_EQ(shown.pixel(80, 60) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(shown.pixel(2, 2) & 0xFFFFFF, 0u);
    int rows = 0;
    int blended = 0;
    for (int y = 30; y < 90; ++y, ++rows) {
        int x = 0;
        while (x < 159 && (shown.pixel(x, y) & 0xFF) == 0) {
            ++x;
        }
        const int grey = static_cast<int>(shown.pixel(x, y) & 0xFF);
        blended += grey > 16 && grey < 240 ? 1 : 0;
    }
    EXPECT_GE(blended * 3, rows * 2) << blended << " of " << rows << " edge pixels are blended";
    // Pixel for pixel what the back buffer holds.
    std::vector<std::uint32_t> pixels;
    ASSERT_EQ(device->ReadBackBuffer(&pixels), S_OK);
    int differing = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) {
            differing += ((shown.pixel(x, y) ^ pixels[y * 160 + x]) & 0xFFFFFF) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);

    // A back buffer of another size is resolved first, then stretched into the window.
    params = WindowedParameters(window.adapter.get(), 100, 80);
    params.multiSampleType = samples;
    ASSERT_EQ(device->Reset(params), S_OK);
    ASSERT_EQ(device->Clear(kClearTarget, 0xFF3060C0, 1.0f, 0), S_OK);
    ASSERT_EQ(device->Present(), S_OK);
    EXPECT_EQ(GrabWhenShown(*window.window, 150, 110, 0x3060C0).pixel(150, 110) & 0xFFFFFF,
              0x3060C0u);
}

TEST_F(GlDeviceTest, ReleaseCountsWhatIsStillAlive) {
    ASSERT_NE(device, nullptr);
    const std::uint32_t pixel = 0xFFFFFFFF;
    std::unique_ptr<Texture> texture;
    ASSERT_EQ(device->CreateTexture(1, 1, &pixel, &texture), S_OK);
    Mesh mesh;
    mesh.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    mesh.faces = {Triangle{{0, 1, 2}}};
    mesh.faceMaterial = {0};
    mesh.materials.resize(1);
    mesh.subsets = {{0, 1}};
    std::unique_ptr<DeviceMesh> deviceMesh;
    ASSERT_EQ(device->CreateMesh(mesh, &deviceMesh), S_OK);
    auto kept = Upload(*device, CentreTriangle(0.5f, 0, {}));
    auto leaked = Upload(*device, CentreTriangle(0.5f, 0, {}));
    texture.reset();
    deviceMesh.reset();
    kept.reset();

    VertexBuffer* orphan = leaked.release();
    EXPECT_EQ(device->Release(), 1u);
    // The orphan outlives its device: using and destroying it must be harmless.
    const float bytes[3] = {1, 2, 3};
    EXPECT_TRUE(Failed(orphan->Write(0, bytes, sizeof bytes)));
    delete orphan;
    EXPECT_TRUE(Failed(device->Clear(kClearTarget, 0, 1.0f, 0)));
    EXPECT_TRUE(Failed(device->Present()));
}

TEST_F(GlDeviceTest, ReleaseAnswersZeroWhenEverythingWasFreed) {
    ASSERT_NE(device, nullptr);
    auto buffer = Upload(*device, CentreTriangle(0.5f, 0, {}));
    const std::uint32_t pixels[4] = {0, 0, 0, 0};
    std::unique_ptr<Texture> texture;
    ASSERT_EQ(device->CreateTexture(2, 2, pixels, &texture), S_OK);
    ASSERT_EQ(device->SetTexture(0, texture.get()), S_OK);
    buffer.reset();
    texture.reset();
    EXPECT_EQ(device->Release(), 0u);
}

// Material, global ambient, two lights (a third disabled) and a scaled, turned world:
// the colour the shader makes equals the reference formula's.
TEST_F(GlDeviceTest, LitMeshMatchesTheLightingFormula) {
    ASSERT_NE(device, nullptr);
    const Vec3 normal{0.2f, 0.3f, -0.9f};
    Mesh mesh;
    mesh.positions = {{-0.4f, -0.4f, 0.5f}, {0.0f, 0.4f, 0.5f}, {0.4f, -0.4f, 0.5f}};
    mesh.normals = {normal, normal, normal};
    mesh.faces = {Triangle{{0, 1, 2}}};
    mesh.faceMaterial = {0};
    mesh.materials.resize(1);
    mesh.subsets = {{0, 1}};
    std::unique_ptr<DeviceMesh> deviceMesh;
    ASSERT_EQ(device->CreateMesh(mesh, &deviceMesh), S_OK);
    ASSERT_EQ(deviceMesh->SubsetCount(), 1u);

    LightingState state;
    state.material.diffuse = {0.9f, 0.6f, 0.3f, 1.0f};
    state.material.ambient = {0.4f, 0.5f, 0.6f, 1.0f};
    state.globalAmbient = 0x00303030;
    state.lights[0] = Directional(0.6f, {0, 0, 1});
    state.lights[3] = Directional(0.5f, {1, -1, 1});
    state.lights[5] = Directional(1.0f, {0, 0, 1});
    state.enabled[0] = state.enabled[3] = true;
    const Matrix world = MatrixRotationZ(0.3f) * MatrixScaling(1.5f, 1.5f, 1.5f);

    ASSERT_EQ(device->SetTransform(TransformState::World, world), S_OK);
    SurfaceMaterial material = state.material;
    ASSERT_EQ(device->SetMaterial(material), S_OK);
    ASSERT_EQ(device->SetRenderState(RenderState::Ambient, state.globalAmbient), S_OK);
    for (std::uint32_t i : {0u, 3u, 5u}) {
        ASSERT_EQ(device->SetLight(i, state.lights[i]), S_OK);
        ASSERT_EQ(device->LightEnable(i, state.enabled[i]), S_OK);
    }
    ASSERT_EQ(device->Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1.0f, 0), S_OK);
    ASSERT_EQ(device->BeginScene(), S_OK);
    ASSERT_EQ(device->DrawSubset(*deviceMesh, 0), S_OK);
    EXPECT_EQ(device->DrawSubset(*deviceMesh, 1), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->EndScene(), S_OK);

    const ColorValue expected = LightVertex(state, world, Matrix{}, normal, nullptr);
    for (float channel : {expected.r, expected.g, expected.b}) {
        ASSERT_GT(channel, 0.05f);
        ASSERT_LT(channel, 0.95f);
    }
    ExpectColorNear(CentrePixel(*device), expected);

    // Turning normalisation on brightens it as the formula says.
    ASSERT_EQ(device->SetRenderState(RenderState::NormalizeNormals, 1), S_OK);
    state.normalizeNormals = true;
    ASSERT_EQ(device->BeginScene(), S_OK);
    ASSERT_EQ(device->DrawSubset(*deviceMesh, 0), S_OK);
    ASSERT_EQ(device->EndScene(), S_OK);
    ExpectColorNear(CentrePixel(*device), LightVertex(state, world, Matrix{}, normal, nullptr));
}

TEST_F(GlDeviceTest, VertexColourIsTheDiffuseReflectance) {
    ASSERT_NE(device, nullptr);
    const Vec3 normal{0.1f, -0.2f, -0.7f};
    const std::uint32_t color = 0xFF4080C0;
    auto buffer = Upload(*device, CentreTriangle(0.5f, color, normal));
    LightingState state;
    state.material.diffuse = {1, 0, 0, 1};  // not used: the vertex has a colour
    state.material.ambient = {0.5f, 0.5f, 0.5f, 1};
    state.globalAmbient = 0x00402010;
    state.lights[1] = Directional(0.9f, {0.5f, 0.5f, 1});
    state.enabled[1] = true;
    ASSERT_EQ(device->SetMaterial(state.material), S_OK);
    ASSERT_EQ(device->SetRenderState(RenderState::Ambient, state.globalAmbient), S_OK);
    ASSERT_EQ(device->SetLight(1, state.lights[1]), S_OK);
    ASSERT_EQ(device->LightEnable(1, true), S_OK);
    DrawScene(*device, *buffer, 1);
    const ColorValue vertexColor = ColorFromArgb(color);
    ExpectColorNear(CentrePixel(*device),
                    LightVertex(state, Matrix{}, Matrix{}, normal, &vertexColor));

    // Unlit, the vertex colour shows as it is.
    ASSERT_EQ(device->SetRenderState(RenderState::Lighting, 0), S_OK);
    DrawScene(*device, *buffer, 1);
    ExpectRgb(CentrePixel(*device), color);
}

// With sampler objects and without them (the texture then carries the sampling state), in
// immutable storage and without it.
class GlDeviceTextureTest : public ::testing::TestWithParam<GlFeatures> {
  protected:
    TestWindow window{160, 120};
    std::unique_ptr<GlDevice> device = OpenDevice(window, GetParam());
};

INSTANTIATE_TEST_SUITE_P(Features, GlDeviceTextureTest,
                         ::testing::Values(GlFeatures{true, true}, GlFeatures{false, false}));

TEST_P(GlDeviceTextureTest, TextureModulatesTheLitColour) {
    ASSERT_NE(device, nullptr);
    // Top row and bottom row differ, so the picture's orientation shows too.
    const std::uint32_t texels[4] = {0xFF80FF40, 0xFF80FF40, 0xFF4020FF, 0xFF4020FF};
    std::unique_ptr<Texture> texture;
    ASSERT_EQ(device->CreateTexture(2, 2, texels, &texture), S_OK);
    EXPECT_EQ(texture->Width(), 2u);
    const Vec3 n{0, 0, -1};
    const std::uint32_t white = 0xFFFFFFFF;
    auto quad = Upload(*device, {{-1, 1, 0.5f, n.x, n.y, n.z, white, 0, 0},
                                 {1, 1, 0.5f, n.x, n.y, n.z, white, 1, 0},
                                 {1, -1, 0.5f, n.x, n.y, n.z, white, 1, 1},
                                 {-1, 1, 0.5f, n.x, n.y, n.z, white, 0, 0},
                                 {1, -1, 0.5f, n.x, n.y, n.z, white, 1, 1},
                                 {-1, -1, 0.5f, n.x, n.y, n.z, white, 0, 1}});
    SurfaceMaterial material;
    ASSERT_EQ(device->SetMaterial(material), S_OK);
    ASSERT_EQ(device->SetLight(0, Directional(0.6f, {0, 0, 1})), S_OK);
    ASSERT_EQ(device->LightEnable(0, true), S_OK);
    ASSERT_EQ(device->SetTextureStageState(0, TextureStageState::ColorOp,
                                           static_cast<std::uint32_t>(TextureOp::Modulate)),
              S_OK);
    ASSERT_EQ(device->SetTextureStageState(0, TextureStageState::AlphaOp,
                                           static_cast<std::uint32_t>(TextureOp::Modulate)),
              S_OK);
    ASSERT_EQ(device->SetTexture(0, texture.get()), S_OK);
    DrawScene(*device, *quad, 2);
    auto scaled = [](std::uint32_t texel) {
        const ColorValue c = ColorFromArgb(texel);
        return ColorValue{c.r * 0.6f, c.g * 0.6f, c.b * 0.6f, 1};
    };
    ExpectColorNear(BackBufferPixel(*device, 80, 30), scaled(texels[0]));
    ExpectColorNear(BackBufferPixel(*device, 80, 90), scaled(texels[2]));
    // Point sampling, which OpenGL's defaults are not: no blend just above the middle.
    ExpectColorNear(BackBufferPixel(*device, 80, 56), scaled(texels[0]));

    // Linear filtering blends the rows across the middle.
    ASSERT_EQ(device->SetSamplerState(0, SamplerState::MagFilter,
                                      static_cast<std::uint32_t>(TextureFilter::Linear)),
              S_OK);
    DrawScene(*device, *quad, 2);
    const int middleRed = Channel(BackBufferPixel(*device, 80, 60), 16);
    EXPECT_GT(middleRed, 0x40 * 0.6 + 4);
    EXPECT_LT(middleRed, 0x80 * 0.6 - 4);

    // A texture destroyed while bound is simply no longer drawn.
    texture.reset();
    DrawScene(*device, *quad, 2);
    ExpectColorNear(BackBufferPixel(*device, 80, 30), {0.6f, 0.6f, 0.6f, 1});
}

TEST_F(GlDeviceTest, DepthTestKeepsTheNearerSurface) {
    ASSERT_NE(device, nullptr);
    std::vector<ColoredVertex> both = CentreTriangle(0.2f, 0xFF00FF00, {});
    const std::vector<ColoredVertex> far = CentreTriangle(0.8f, 0xFFFF0000, {});
    both.insert(both.end(), far.begin(), far.end());
    auto buffer = Upload(*device, both);
    ASSERT_EQ(device->SetRenderState(RenderState::Lighting, 0), S_OK);
    DrawScene(*device, *buffer, 2);
    ExpectRgb(CentrePixel(*device), 0x00FF00);
    ASSERT_EQ(device->SetRenderState(RenderState::ZEnable, 0), S_OK);
    DrawScene(*device, *buffer, 2);
    ExpectRgb(CentrePixel(*device), 0xFF0000);
}

// Depth runs from 0 at the near plane to 1 at the far plane, as the projection matrices
// make it: a surface just in front of the near plane or just past the far one is cut.
TEST_F(GlDeviceTest, ClipsToTheNearAndFarPlanes) {
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(device->SetTransform(TransformState::Projection,
                                   MatrixPerspectiveFovLH(1.5707964f, 160.0f / 120.0f, 1, 10)),
              S_OK);
    ASSERT_EQ(device->SetRenderState(RenderState::Lighting, 0), S_OK);
    auto drawnAt = [&](float z) {
        std::vector<ColoredVertex> triangle = CentreTriangle(z, 0xFFFFFFFF, {});
        for (ColoredVertex& v : triangle) {
            v.x *= z;
            v.y *= z;
        }
        auto buffer = Upload(*device, triangle);
        DrawScene(*device, *buffer, 1);
        return (CentrePixel(*device) & 0xFFFFFF) == 0xFFFFFF;
    };
    EXPECT_FALSE(drawnAt(0.8f));
    EXPECT_TRUE(drawnAt(1.2f));
    EXPECT_TRUE(drawnAt(9.8f));
    EXPECT_FALSE(drawnAt(10.5f));
}

TEST_F(GlDeviceTest, CounterClockwiseTrianglesAreCulledByDefault) {
    ASSERT_NE(device, nullptr);
    std::vector<ColoredVertex> triangle = CentreTriangle(0.5f, 0xFFFFFFFF, {});
    std::swap(triangle[0], triangle[2]);
    auto buffer = Upload(*device, triangle);
    ASSERT_EQ(device->SetRenderState(RenderState::Lighting, 0), S_OK);
    DrawScene(*device, *buffer, 1);
    ExpectRgb(CentrePixel(*device), 0x000000);
    ASSERT_EQ(device->SetRenderState(RenderState::CullMode, static_cast<std::uint32_t>(Cull::None)),
              S_OK);
    DrawScene(*device, *buffer, 1);
    ExpectRgb(CentrePixel(*device), 0xFFFFFF);
}

TEST_F(GlDeviceTest, DrawingNeedsAScene) {
    ASSERT_NE(device, nullptr);
    auto buffer = Upload(*device, CentreTriangle(0.5f, 0, {}));
    EXPECT_EQ(device->DrawPrimitive(PrimitiveType::TriangleList, *buffer, 0, 1),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->BeginScene(), S_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    // Past the end of the buffer.
    EXPECT_EQ(device->DrawPrimitive(PrimitiveType::TriangleList, *buffer, 1, 1),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->EndScene(), S_OK);
    EXPECT_EQ(buffer->Write(101, &buffer, 8), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Write(100, &buffer, 8), S_OK);
}

TEST_F(GlDeviceTest, LostWhileHiddenAndNeedsResetWhenShownAgain) {
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Present(), S_OK);
    window.window->hide();
    ASSERT_TRUE(WaitForExposure(*window.window, false));
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(), D3DERR_DEVICELOST);
    const PresentParameters params = WindowedParameters(window.adapter.get());
    EXPECT_EQ(device->Reset(params), D3DERR_DEVICELOST);

    window.window->show();
    ASSERT_TRUE(WaitForExposure(*window.window, true));
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->Present(), D3DERR_DEVICELOST);
    ASSERT_EQ(device->Reset(params), S_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), S_OK);
    EXPECT_EQ(device->Clear(kClearTarget, 0xFF102030, 1.0f, 0), S_OK);
    EXPECT_EQ(device->Present(), S_OK);
}

TEST(GlDeviceWindowGone, ResourcesAndReleaseStillWork) {
    auto window = std::make_unique<TestWindow>(80, 60);
    std::unique_ptr<GlDevice> device = OpenDevice(*window);
    ASSERT_NE(device, nullptr);
    auto buffer = Upload(*device, CentreTriangle(0.5f, 0, {}));
    ASSERT_EQ(device->Present(), S_OK);
    window.reset();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(), D3DERR_DEVICELOST);
    // The context carries on without the window, so resources can still be freed.
    EXPECT_EQ(device->Clear(kClearTarget, 0xFF010203, 1.0f, 0), S_OK);
    EXPECT_EQ(BackBufferPixel(*device, 1, 1), 0xFF010203u);
    buffer.reset();
    EXPECT_EQ(device->Release(), 0u);
}

// The background picture of the game: a quad 110 units in front of the eye under the
// game's camera and seven lights. Its normal (1, 1, 1) faces lights 0, 2, 3 and 5 fully,
// so a light colour is lit past 1 and the picture shows as it is; a dark one darkens it.
TEST_F(GlDeviceTest, BackgroundQuadUnderTheGamesLights) {
    ASSERT_NE(device, nullptr);
    const float aspect = 160.0f / 120.0f;
    const Matrix projection = MatrixPerspectiveFovLH(0.7853982f, aspect, 1, 200);
    ASSERT_EQ(device->SetTransform(TransformState::View,
                                   MatrixLookAtLH({0, 0, -55}, {0, 0, 0}, {0, 1, 0})),
              S_OK);
    ASSERT_EQ(device->SetTransform(TransformState::Projection, projection), S_OK);
    ASSERT_EQ(device->SetTransform(TransformState::World, MatrixTranslation(0, 0, 55)), S_OK);
    SurfaceMaterial material;
    material.diffuse = material.ambient = {1, 0, 0, 1};
    ASSERT_EQ(device->SetMaterial(material), S_OK);
    ASSERT_EQ(device->SetRenderState(RenderState::Ambient, 0x0F0F0F), S_OK);
    const struct {
        float intensity;
        Vec3 direction;
    } lights[7] = {{2.0f, {0, 0, -1}}, {0.3f, {1, 0, 0}},  {0.3f, {-1, 0, 0}}, {0.3f, {0, -1, 0}},
                   {0.3f, {0, 1, 0}},  {0.3f, {0, 0, -1}}, {1.0f, {0, 0, 1}}};
    for (std::uint32_t i = 0; i < 7; ++i) {
        ASSERT_EQ(device->SetLight(i, Directional(lights[i].intensity, lights[i].direction)), S_OK);
        ASSERT_EQ(device->LightEnable(i, true), S_OK);
    }
    ASSERT_EQ(device->SetSamplerState(0, SamplerState::MinFilter,
                                      static_cast<std::uint32_t>(TextureFilter::Linear)),
              S_OK);
    ASSERT_EQ(device->SetSamplerState(0, SamplerState::MagFilter,
                                      static_cast<std::uint32_t>(TextureFilter::Linear)),
              S_OK);
    const std::uint32_t texel = 0xFF3070B0;
    std::unique_ptr<Texture> picture;
    ASSERT_EQ(device->CreateTexture(1, 1, &texel, &picture), S_OK);
    ASSERT_EQ(device->SetTexture(0, picture.get()), S_OK);

    auto drawQuad = [&](std::uint32_t colour) {
        const float a = 110 / projection.m[0][0];
        const float b = 110 / projection.m[1][1];
        auto quad = Upload(*device, {{-a, b, 0, 1, 1, 1, colour, 0, 0},
                                     {a, b, 0, 1, 1, 1, colour, 1, 0},
                                     {a, -b, 0, 1, 1, 1, colour, 1, 1},
                                     {a, -b, 0, 1, 1, 1, colour, 1, 1},
                                     {-a, -b, 0, 1, 1, 1, colour, 0, 1},
                                     {-a, b, 0, 1, 1, 1, colour, 0, 0}});
        DrawScene(*device, *quad, 2);
    };
    drawQuad(0x00AACCAA);
    ExpectRgb(BackBufferPixel(*device, 80, 60), texel);
    // The quad fills the view to its edges.
    ExpectRgb(BackBufferPixel(*device, 0, 0), texel);
    ExpectRgb(BackBufferPixel(*device, 159, 119), texel);

    // 0x20 x 2.9 plus the ambient 0x0F x 1 (material ambient red only) in red.
    drawQuad(0x00202020);
    const float lit = 0x20 / 255.0f * 2.9f;
    const ColorValue t = ColorFromArgb(texel);
    ExpectColorNear(BackBufferPixel(*device, 80, 60),
                    {t.r * std::min(1.0f, lit + 0x0F / 255.0f), t.g * lit, t.b * lit, 1});
}

TEST_F(GlDeviceTest, ResetMovesPresentationToAnotherWindow) {
    ASSERT_NE(device, nullptr);
    TestWindow other(120, 90);
    ASSERT_EQ(device->Reset(WindowedParameters(other.adapter.get())), S_OK);
    SurfaceDesc desc;
    ASSERT_EQ(device->GetBackBufferDesc(&desc), S_OK);
    EXPECT_EQ(desc.width, 120u);
    ASSERT_EQ(device->Clear(kClearTarget, 0xFF405060, 1.0f, 0), S_OK);
    ASSERT_EQ(device->Present(), S_OK);
    const QImage shown = GrabWhenShown(*other.window, 60, 45, 0x405060);
    EXPECT_EQ(shown.pixel(60, 45) & 0xFFFFFF, 0x405060u);
}

// Each parameter is checked before the device switches windows: a refused reset leaves it
// presenting into the old window from the old back buffer.
TEST_F(GlDeviceTest, ARefusedResetKeepsTheWindowAndTheBackBuffer) {
    ASSERT_NE(device, nullptr);
    TestWindow other(120, 90);
    // Out of the way, so that the grab sees the first window.
    other.window->hide();
    const std::function<void(PresentParameters*)> spoilers[] = {
        [](PresentParameters* p) { p->autoDepthStencilFormat = Format::D15S1; },
        [](PresentParameters* p) { p->multiSampleQuality = 1; },
        [](PresentParameters* p) {
            p->backBufferWidth = 1u << 30;
            p->backBufferHeight = 90;
        },
    };
    for (const auto& spoil : spoilers) {
        PresentParameters params = WindowedParameters(other.adapter.get());
        spoil(&params);
        EXPECT_EQ(device->Reset(params), D3DERR_INVALIDCALL);
    }
    SurfaceDesc desc;
    ASSERT_EQ(device->GetBackBufferDesc(&desc), S_OK);
    EXPECT_EQ(desc.width, 160u);
    EXPECT_EQ(device->TestCooperativeLevel(), S_OK);
    ASSERT_EQ(device->Clear(kClearTarget, 0xFF605040, 1.0f, 0), S_OK);
    ExpectRgb(BackBufferPixel(*device, 159, 119), 0x605040);
    ASSERT_EQ(device->Present(), S_OK);
    const QImage shown = GrabWhenShown(*window.window, 80, 60, 0x605040);
    EXPECT_EQ(shown.pixel(80, 60) & 0xFFFFFF, 0x605040u);
}

// A window that has no native window yet is given the interval before it is made. Once
// it exists, the interval can only change where the window system allows it (Mesa's
// software GLX under Xvfb does not).
TEST(GlDeviceSwapInterval, RequestedOnTheWindowBeforeItIsMade) {
    QWindow window;
    QtWindow adapter(&window);
    window.resize(64, 48);
    std::unique_ptr<Device> made;
    ASSERT_EQ(
        TestGraphicsApi().CreateDevice(0, DeviceType::HAL, nullptr, kCreateHardwareVertexProcessing,
                                       WindowedParameters(&adapter), &made),
        S_OK);
    auto* device = dynamic_cast<GlDevice*>(made.get());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(window.format().swapInterval(), 0);
    EXPECT_EQ(device->swapInterval(), 0);

    // Never shown, the window is not lost: there is just nothing to show yet.
    EXPECT_EQ(device->Clear(kClearTarget, 0xFF000000, 1.0f, 0), S_OK);
    EXPECT_EQ(device->Present(), S_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), S_OK);

    // A change the window system refuses does not make the reset fail.
    PresentParameters params = WindowedParameters(&adapter);
    params.presentationInterval = kPresentIntervalOne;
    ASSERT_EQ(device->Reset(params), S_OK);
    EXPECT_EQ(made->Release(), 0u);
}

}  // namespace
}  // namespace tetrakon::gfx
