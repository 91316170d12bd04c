// The game's frame drawn by the real OpenGL device and read back: the solved pyramid at
// the start view, lit as the plain lighting reference says, and the background picture
// stretched over any shape of view. Each frame is saved as a PNG in the working directory.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/gfx/fixed_function_lighting.h"
#include "puzzle/bind_pieces.h"
#include "scene/scene_file.h"
#include "scene/scene_mesh.h"
#include "scene/scene_renderer.h"
#include "tests/platform/gl_test_window.h"

namespace tetrakon {
namespace {

using gfx::ColorFromArgb;

constexpr int kWidth = 532;
constexpr int kHeight = 379;

struct NoAnimation : FrameAnimation {
    void StepAnimations() override {}
};

struct Pixel {
    int x = 0, y = 0;
};

int Channel(std::uint32_t argb, int shift) {
    return static_cast<int>((argb >> shift) & 0xFF);
}

void ExpectColorNear(std::uint32_t pixel, ColorValue expected, const std::string& where) {
    EXPECT_NEAR(Channel(pixel, 16), expected.r * 255.0f, 2.0f) << where;
    EXPECT_NEAR(Channel(pixel, 8), expected.g * 255.0f, 2.0f) << where;
    EXPECT_NEAR(Channel(pixel, 0), expected.b * 255.0f, 2.0f) << where;
}

ColorValue Modulate(ColorValue a, ColorValue b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b, a.a * b.a};
}

// The world matrix a frame of the hierarchy is drawn with, found depth first.
std::optional<Matrix> FrameWorld(const SceneFrame* frame, const Matrix& parentWorld,
                                 const char* name) {
    for (; frame != nullptr; frame = frame->next) {
        const Matrix world = frame->matrix * parentWorld;
        if (SameSceneName(frame->name(), name)) {
            return world;
        }
        if (auto found = FrameWorld(frame->child, world, name)) {
            return found;
        }
    }
    return std::nullopt;
}

class SceneFrameRenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(device, nullptr);
        ASSERT_EQ(BindPieces(device.get(), {&root, &hull, &targets}, pieces), S_OK);
    }

    void TearDown() override {
        renderer.DeviceDestroyed();
        root.DestroyAll();
        hull.Destroy();
        targets.Destroy();
    }

    // The view's device set-up as the game makes it, for a back buffer of this size.
    void Open(std::uint32_t width = kWidth, std::uint32_t height = kHeight) {
        ASSERT_EQ(renderer.DeviceCreated(device.get()), S_OK);
        Reset(width, height);
    }

    void Reset(std::uint32_t width, std::uint32_t height) {
        ASSERT_EQ(renderer.DeviceReset(device.get(), width, height), S_OK);
        root.RestoreAll(device.get());
        renderer.UpdateFrame(device.get(), Matrix::Identity(), 1.0f);
    }

    // Draws one frame of `scene`, saves it as `name`.png and keeps its pixels.
    void Draw(const char* name, SceneFile& scene) {
        NoAnimation animation;
        ASSERT_EQ(renderer.DrawFrame(device.get(), scene, animation), S_OK);
        ASSERT_EQ(device->GetBackBufferDesc(&frameSize), S_OK);
        ASSERT_EQ(device->ReadBackBuffer(&frame), S_OK);
        QImage image(reinterpret_cast<const uchar*>(frame.data()),
                     static_cast<int>(frameSize.width), static_cast<int>(frameSize.height),
                     QImage::Format_RGB32);
        image.save(QDir::current().filePath(QString(name) + ".png"));
    }

    std::uint32_t At(Pixel p) const {
        return frame[static_cast<std::size_t>(p.y) * frameSize.width +
                     static_cast<std::size_t>(p.x)];
    }

    // Where a point of world space lands on the back buffer.
    Pixel Project(Vec3 worldPoint) const {
        const Vec3 ndc = TransformCoord(worldPoint, renderer.view() * renderer.projection());
        return {static_cast<int>((ndc.x + 1.0f) * 0.5f * static_cast<float>(frameSize.width)),
                static_cast<int>((1.0f - ndc.y) * 0.5f * static_cast<float>(frameSize.height))};
    }

    gfx::LightingState Lighting(const gfx::SurfaceMaterial& material) const {
        gfx::LightingState state;
        for (std::size_t i = 0; i < kSceneLightCount; ++i) {
            state.lights[i] = renderer.light(static_cast<int>(i));
            state.enabled[i] = true;
        }
        state.material = material;
        state.globalAmbient = 0x000F0F0F;
        return state;
    }

    gfx::TestWindow window{kWidth, kHeight};
    std::unique_ptr<gfx::GlDevice> device = gfx::OpenDevice(window);
    SceneFile root;
    SceneMesh hull{"CD3DFile_Mesh"};
    SceneMesh targets{"CD3DFile_Mesh"};
    PieceTable pieces;
    SceneRenderer renderer;
    std::vector<std::uint32_t> frame;
    gfx::SurfaceDesc frameSize;
};

TEST_F(SceneFrameRenderTest, SolvedPyramidShowsItsRedAndYellowFacesLitAsTheReferenceSays) {
    Open();
    Draw("solved_start_view", root);

    for (Pixel corner : {Pixel{0, 0}, Pixel{kWidth - 1, 0}, Pixel{0, kHeight - 1},
                         Pixel{kWidth - 1, kHeight - 1}}) {
        EXPECT_EQ(At(corner) & 0xFFFFFF, 0xAACCAAu) << corner.x << "," << corner.y;
    }

    // The red face (Gengon19-27) and the yellow face (Gengon28-36) look at the eye. Each
    // sticker is a thin plate; its pixel under the centre of the side facing the eye must
    // be that side's lit colour.
    for (int number = 19; number <= 36; ++number) {
        char name[16];
        std::snprintf(name, sizeof name, "Gengon%02d", number);
        SceneFrame* sticker = root.FindFrame(name);
        ASSERT_NE(sticker, nullptr) << name;
        ASSERT_NE(sticker->mesh, nullptr) << name;
        const Mesh& mesh = *sticker->mesh->sourceMesh();
        const Matrix world = *FrameWorld(&root, renderer.world(), name);

        // The plate's two broad sides are its largest faces; the one turned to the eye shows.
        std::size_t front = 0;
        float bestScore = -1;
        for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
            const auto& corner = mesh.faces[f].index;
            const Vec3 area = Cross(mesh.positions[corner[1]] - mesh.positions[corner[0]],
                                    mesh.positions[corner[2]] - mesh.positions[corner[0]]);
            const float facing = -Normalize(TransformNormal(mesh.normals[corner[0]], world)).z;
            const float score = facing > 0 ? Length(area) : 0;
            if (score > bestScore) {
                bestScore = score;
                front = f;
            }
        }
        const Triangle& face = mesh.faces[front];
        Vec3 centre;
        for (std::uint32_t corner : face.index) {
            centre = centre + TransformCoord(mesh.positions[corner], world) * (1.0f / 3.0f);
        }
        const auto& material = sticker->mesh->materials()[mesh.faceMaterial[front]];
        const ColorValue expected = gfx::LightVertex(Lighting(material), world, renderer.view(),
                                                     mesh.normals[face.index[0]], nullptr);
        const std::uint32_t shown = At(Project(centre));
        ExpectColorNear(shown, expected, name);

        const bool red = number <= 27;
        EXPECT_GT(Channel(shown, 16), 150) << name;
        EXPECT_LT(Channel(shown, 0), 80) << name;
        if (red) {
            EXPECT_LT(Channel(shown, 8), 80) << name;
        } else {
            EXPECT_GT(Channel(shown, 8), 150) << name;
        }
    }
}

// A picture of four coloured quarters, written as PNG into `dir`.
std::string FourQuarterPicture(const QTemporaryDir& dir) {
    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            static constexpr QRgb kQuarters[2][2] = {{qRgb(200, 40, 40), qRgb(40, 200, 40)},
                                                     {qRgb(40, 40, 200), qRgb(200, 200, 40)}};
            image.setPixel(x, y, kQuarters[y / 32][x / 32]);
        }
    }
    const QString path = dir.filePath("quarters.png");
    EXPECT_TRUE(image.save(path));
    return path.toStdString();
}

// The quad alone, so that the material in force is the one the reset set, as the lighting
// reference below assumes (after the pyramid it is the last piece's).
TEST_F(SceneFrameRenderTest, PictureFillsViewsOfAnyShapeLitByTheBackgroundColour) {
    SceneFile noPyramid;
    QTemporaryDir dir;
    renderer.PathImage = FourQuarterPicture(dir);
    renderer.Picture = 1;
    Open();
    ASSERT_NE(renderer.picture(), nullptr);
    ASSERT_EQ(renderer.Picture, 1u);

    // The quad's lit colour: its stored normal (1, 1, 1), the background colour as its
    // diffuse reflectance, the material's ambient; the picture is multiplied by it.
    auto expectQuarters = [&](const std::string& frameName) {
        gfx::SurfaceMaterial material;
        material.diffuse = {1, 0, 0, 1};
        material.ambient = {1, 0, 0, 1};
        const ColorValue quadColour = ColorFromArgb(renderer.BackgroundColour);
        const ColorValue lit = gfx::LightVertex(Lighting(material), MatrixTranslation(0, 0, 55),
                                                renderer.view(), {1, 1, 1}, &quadColour);
        const int w = static_cast<int>(frameSize.width);
        const int h = static_cast<int>(frameSize.height);
        const struct {
            Pixel where;
            std::uint32_t texel;
        } quarters[] = {{{8, 8}, 0xC82828},
                        {{w - 9, 8}, 0x28C828},
                        {{8, h - 9}, 0x2828C8},
                        {{w - 9, h - 9}, 0xC8C828}};
        for (const auto& quarter : quarters) {
            ExpectColorNear(At(quarter.where), Modulate(ColorFromArgb(quarter.texel), lit),
                            frameName + " at " + std::to_string(quarter.where.x) + "," +
                                std::to_string(quarter.where.y));
        }
    };

    Draw("picture_default_colour", noPyramid);
    expectQuarters("default colour");
    EXPECT_EQ(At({8, 8}) & 0xFFFFFF, 0xC82828u) << "the default colour shows the picture as it is";

    renderer.BackgroundColour = 0xFF303030;
    Draw("picture_dark_colour", noPyramid);
    expectQuarters("dark colour");
    EXPECT_LT(Channel(At({kWidth - 9, 8}), 8), 150) << "a dark colour darkens the picture";

    ASSERT_EQ(device->Reset(gfx::WindowedParameters(window.adapter.get(), 300, 400)), S_OK);
    Reset(300, 400);
    Draw("picture_tall_view", noPyramid);
    expectQuarters("tall view");
}

}  // namespace
}  // namespace tetrakon
