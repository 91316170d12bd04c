// The game's frame drawn by the real OpenGL device and read back: the solved pyramid at
// the start view, lit as the plain lighting reference says, and the background picture
// stretched over any shape of view. Each frame is saved as a PNG in the working directory.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "framework/device_catalog.h"
#include "framework/setup_selection.h"
#include "game/bind_pieces.h"
#include "platform/gfx/fixed_function_lighting.h"
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

    // Where a point of world space lands on the back buffer, in pixels.
    Vec2 ProjectExactly(Vec3 worldPoint) const {
        const Vec3 ndc = TransformCoord(worldPoint, renderer.view() * renderer.projection());
        return {(ndc.x + 1.0f) * 0.5f * static_cast<float>(frameSize.width),
                (1.0f - ndc.y) * 0.5f * static_cast<float>(frameSize.height)};
    }

    Pixel Project(Vec3 worldPoint) const {
        const Vec2 p = ProjectExactly(worldPoint);
        return {static_cast<int>(p.x), static_cast<int>(p.y)};
    }

    // The side of sticker `number` (Gengon19-36: the red and yellow faces) turned to the
    // eye: each sticker is a thin plate, and its largest facing triangle shows.
    struct StickerFront {
        const SceneMesh* mesh = nullptr;
        Matrix world;
        std::size_t face = 0;
        Vec3 corners[3];  // in world space
    };

    StickerFront FrontOf(int number) {
        char name[16];
        std::snprintf(name, sizeof name, "Gengon%02d", number);
        SceneFrame* sticker = root.FindFrame(name);
        StickerFront front;
        if (sticker == nullptr || sticker->mesh == nullptr) {
            ADD_FAILURE() << "no sticker " << name;
            return front;
        }
        front.mesh = sticker->mesh;
        const Mesh& mesh = *sticker->mesh->sourceMesh();
        front.world = *FrameWorld(&root, renderer.world(), name);
        float bestScore = -1;
        for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
            const auto& corner = mesh.faces[f].index;
            const Vec3 area = Cross(mesh.positions[corner[1]] - mesh.positions[corner[0]],
                                    mesh.positions[corner[2]] - mesh.positions[corner[0]]);
            const float facing =
                -Normalize(TransformNormal(mesh.normals[corner[0]], front.world)).z;
            const float score = facing > 0 ? Length(area) : 0;
            if (score > bestScore) {
                bestScore = score;
                front.face = f;
            }
        }
        for (int i = 0; i < 3; ++i) {
            front.corners[i] =
                TransformCoord(mesh.positions[mesh.faces[front.face].index[i]], front.world);
        }
        return front;
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
        const StickerFront front = FrontOf(number);
        ASSERT_NE(front.mesh, nullptr);
        const Mesh& mesh = *front.mesh->sourceMesh();
        const Triangle& face = mesh.faces[front.face];
        const Vec3 centre =
            (front.corners[0] + front.corners[1] + front.corners[2]) * (1.0f / 3.0f);
        const auto& material = front.mesh->materials()[mesh.faceMaterial[front.face]];
        const ColorValue expected = gfx::LightVertex(
            Lighting(material), front.world, renderer.view(), mesh.normals[face.index[0]], nullptr);
        const std::string name = "Gengon" + std::to_string(number);
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

// The largest difference of the colour channels of two pixels.
int ColourDistance(std::uint32_t a, std::uint32_t b) {
    int largest = 0;
    for (int shift : {0, 8, 16}) {
        largest = std::max(largest, std::abs(Channel(a, shift) - Channel(b, shift)));
    }
    return largest;
}

constexpr std::uint32_t kBackground = 0xAACCAA;

// A pixel part background, part `inner`: each channel between the two, far from both.
bool Blended(std::uint32_t pixel, std::uint32_t inner) {
    for (int shift : {0, 8, 16}) {
        const int low = std::min(Channel(kBackground, shift), Channel(inner, shift));
        const int high = std::max(Channel(kBackground, shift), Channel(inner, shift));
        if (Channel(pixel, shift) < low - 8 || Channel(pixel, shift) > high + 8) {
            return false;
        }
    }
    return ColourDistance(pixel, kBackground) > 16 && ColourDistance(pixel, inner) > 16;
}

Vec2 Lerp(Vec2 a, Vec2 b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

float Distance(Vec2 a, Vec2 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The screen triangle of a sticker's facing side and the colour under its centre.
struct ScreenSticker {
    Vec2 corners[3];
    std::uint32_t colour = 0;
};

// The start view drawn with the windowed setup the catalogue gives on this device (four
// samples where offered). Neighbouring stickers meet edge to edge with a gap of about a
// pixel: every step along each seam shows it (never only sticker or background colour
// across it), and the pyramid's sides are blended into the background.
TEST_F(SceneFrameRenderTest, SeamsBetweenStickersAreUnbrokenAndTheOutlineIsSmooth) {
    DeviceCatalog catalogue;
    catalogue.limits.usesDepthBuffer = true;
    ASSERT_EQ(catalogue.Build(&gfx::TestGraphicsApi()), S_OK);
    DisplaySettings settings;
    ASSERT_TRUE(PickWindowedSetup(catalogue, gfx::TestGraphicsApi(), {0, 0, kWidth, kHeight}, false,
                                  false, &settings));
    const WindowedSetup& setup = settings.windowed;
    gfx::PresentParameters params = gfx::WindowedParameters(window.adapter.get(), kWidth, kHeight);
    params.backBufferFormat = setup.combo->backBufferFormat;
    params.autoDepthStencilFormat = setup.depthStencilFormat;
    params.multiSampleType = setup.multisampleType;
    params.multiSampleQuality = setup.multisampleQuality;
    ASSERT_EQ(device->Reset(params), S_OK);
    Open();
    Draw("seams_start_view", root);

    std::vector<ScreenSticker> stickers;
    for (int number = 19; number <= 36; ++number) {
        const StickerFront front = FrontOf(number);
        ASSERT_NE(front.mesh, nullptr);
        ScreenSticker sticker;
        for (int i = 0; i < 3; ++i) {
            sticker.corners[i] = ProjectExactly(front.corners[i]);
        }
        const Vec3 centre =
            (front.corners[0] + front.corners[1] + front.corners[2]) * (1.0f / 3.0f);
        sticker.colour = At(Project(centre)) & 0xFFFFFF;
        stickers.push_back(sticker);
    }

    // Steps in half pixels along the middle 70% of the seam a-b that have no pixel within
    // 1.5 pixels across it unlike both stickers' colours and the background.
    auto interruptions = [&](Vec2 a, Vec2 b, std::uint32_t colour1, std::uint32_t colour2) {
        const float length = Distance(a, b);
        const Vec2 across{-(b.y - a.y) / length, (b.x - a.x) / length};
        int count = 0;
        for (float t = 0.15f; t <= 0.85f; t += 0.5f / length) {
            const Vec2 p = Lerp(a, b, t);
            bool shown = false;
            for (float o = -1.5f; o <= 1.5f && !shown; o += 0.5f) {
                const std::uint32_t pixel = At({static_cast<int>(p.x + across.x * o),
                                                static_cast<int>(p.y + across.y * o)}) &
                                            0xFFFFFF;
                shown = ColourDistance(pixel, colour1) > 4 && ColourDistance(pixel, colour2) > 4 &&
                        ColourDistance(pixel, kBackground) > 4;
            }
            count += shown ? 0 : 1;
        }
        return count;
    };

    // Two stickers share a seam where an edge of one ends where an edge of the other does.
    int seams = 0;
    for (std::size_t i = 0; i < stickers.size(); ++i) {
        for (std::size_t j = i + 1; j < stickers.size(); ++j) {
            for (int e = 0; e < 3; ++e) {
                for (int f = 0; f < 3; ++f) {
                    const Vec2 a1 = stickers[i].corners[e], b1 = stickers[i].corners[(e + 1) % 3];
                    const Vec2 a2 = stickers[j].corners[(f + 1) % 3], b2 = stickers[j].corners[f];
                    if (Distance(a1, a2) > 3 || Distance(b1, b2) > 3) {
                        continue;
                    }
                    ++seams;
                    EXPECT_EQ(interruptions(Lerp(a1, a2, 0.5f), Lerp(b1, b2, 0.5f),
                                            stickers[i].colour, stickers[j].colour),
                              0)
                        << "seam between Gengon" << 19 + i << " and Gengon" << 19 + j;
                }
            }
        }
    }
    EXPECT_EQ(seams, 18) << "nine inside each face";

    // Along each row between the apex and the lower corners, the first pixel from either
    // side that is not background is mostly part background (without multisampling it
    // never is).
    float top = kHeight, bottom = 0;
    for (const ScreenSticker& s : stickers) {
        for (Vec2 c : s.corners) {
            top = std::min(top, c.y);
            bottom = std::max(bottom, c.y);
        }
    }
    int rows = 0;
    int unblended = 0;
    for (int y = static_cast<int>(top) + 4; y < static_cast<int>(top + (bottom - top) * 0.7f);
         ++y) {
        for (int step : {1, -1}) {
            int x = step > 0 ? 0 : kWidth - 1;
            while (x + 3 * step >= 0 && x + 3 * step < kWidth &&
                   ColourDistance(At({x, y}) & 0xFFFFFF, kBackground) <= 4) {
                x += step;
            }
            ++rows;
            unblended += Blended(At({x, y}), At({x + 2 * step, y})) ? 0 : 1;
        }
    }
    EXPECT_GT(rows, 300);
    EXPECT_LE(unblended * 3, rows)
        << unblended << " of " << rows << " outline pixels are not blended";
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
