// The GL program kept in the user's cache, on the real driver: the first device compiles
// and saves it, later devices load it and draw the same pixels, and a saved program the
// driver refuses is compiled again and replaced.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <utility>

#include "gfxutil/file_io.h"
#include "platform/gfx/program_binary_cache.h"
#include "tests/platform/gl_test_window.h"

namespace tetrakon::gfx {
namespace {

using Origin = FixedFunctionProgram::Origin;

// Draws a lit, vertex-coloured triangle over the centre; gives the pixel there.
std::uint32_t DrawLitTriangle(GlDevice& device) {
    const Vec3 n{0.1f, -0.2f, -0.7f};
    const std::uint32_t color = 0xFF4080C0;
    const ColoredVertex vertices[] = {{-0.6f, -0.6f, 0.5f, n.x, n.y, n.z, color, 0, 0},
                                      {0.0f, 0.6f, 0.5f, n.x, n.y, n.z, color, 0, 0},
                                      {0.6f, -0.6f, 0.5f, n.x, n.y, n.z, color, 0, 0}};
    std::unique_ptr<VertexBuffer> buffer;
    EXPECT_EQ(
        device.CreateVertexBuffer(sizeof vertices, VertexFormat::PositionNormalColorTex1, &buffer),
        S_OK);
    if (!buffer) {
        return 0;
    }
    EXPECT_EQ(buffer->Write(0, vertices, sizeof vertices), S_OK);
    Light light;
    light.diffuse = {0.9f, 0.9f, 0.9f, 1};
    light.direction = {0.5f, 0.5f, 1};
    light.range = 500;
    EXPECT_EQ(device.SetLight(0, light), S_OK);
    EXPECT_EQ(device.LightEnable(0, true), S_OK);
    EXPECT_EQ(device.SetRenderState(RenderState::Ambient, 0x00402010), S_OK);
    EXPECT_EQ(device.Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1.0f, 0), S_OK);
    EXPECT_EQ(device.BeginScene(), S_OK);
    EXPECT_EQ(device.DrawPrimitive(PrimitiveType::TriangleList, *buffer, 0, 1), S_OK);
    EXPECT_EQ(device.EndScene(), S_OK);
    SurfaceDesc desc;
    EXPECT_EQ(device.GetBackBufferDesc(&desc), S_OK);
    return BackBufferPixel(device, desc.width / 2, desc.height / 2);
}

// Whether the driver hands out program binaries at all (Mesa does only while its own
// shader cache is on); without them every device compiles and nothing is saved.
bool DriverSavesPrograms() {
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!context.create() || !context.makeCurrent(&surface)) {
        return false;
    }
    GLint formats = 0;
    context.functions()->glGetIntegerv(GL_NUM_PROGRAM_BINARY_FORMATS, &formats);
    context.doneCurrent();
    return formats > 0;
}

// The test main points XDG_CACHE_HOME at a private directory for the whole program; each
// test starts with no saved program.
class ProgramCacheOnGlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!DriverSavesPrograms()) {
            GTEST_SKIP() << "the driver lists no program binary formats";
        }
        std::filesystem::remove(file_);
    }

    // Opens a device on a window of its own: how its program was made, and what it draws.
    static std::pair<Origin, std::uint32_t> OpenAndDraw() {
        TestWindow window(160, 120);
        std::unique_ptr<GlDevice> device = OpenDevice(window);
        if (!device) {
            return {Origin::Failed, 0};
        }
        return {device->programOrigin(), DrawLitTriangle(*device)};
    }

    std::optional<ProgramRecord> SavedRecord() const {
        std::string bytes;
        ReadFileBounded(file_, ProgramBinaryStore::kMaxFileSize, &bytes);
        return DecodeProgramRecord(std::move(bytes));
    }

    const std::string file_ =
        ProgramBinaryStore(ProgramBinaryStore::DefaultCacheDirectory()).FilePath();
};

TEST_F(ProgramCacheOnGlTest, FirstDeviceCompilesAndSavesLaterOnesLoadAndDrawAlike) {
    const auto [compiledOrigin, compiledPixel] = OpenAndDraw();
    ASSERT_EQ(compiledOrigin, Origin::Compiled);
    ASSERT_TRUE(SavedRecord().has_value());
    EXPECT_NE(compiledPixel & 0xFFFFFF, 0u);

    const auto [cachedOrigin, cachedPixel] = OpenAndDraw();
    EXPECT_EQ(cachedOrigin, Origin::FromCache);
    EXPECT_EQ(cachedPixel, compiledPixel) << std::hex << cachedPixel << " " << compiledPixel;
}

TEST_F(ProgramCacheOnGlTest, ASavedProgramTheDriverRefusesIsCompiledAndReplaced) {
    ASSERT_EQ(OpenAndDraw().first, Origin::Compiled);
    std::optional<ProgramRecord> saved = SavedRecord();
    ASSERT_TRUE(saved.has_value());
    const std::uint32_t goodPixel = OpenAndDraw().second;
    std::fill(saved->binary.begin(), saved->binary.end(), '\x5a');
    ASSERT_TRUE(WriteFileAtomically(file_, EncodeProgramRecord(*saved)));

    const auto [origin, pixel] = OpenAndDraw();
    EXPECT_EQ(origin, Origin::Compiled);
    EXPECT_EQ(pixel, goodPixel);
    const std::optional<ProgramRecord> rewritten = SavedRecord();
    ASSERT_TRUE(rewritten.has_value());
    EXPECT_NE(rewritten->binary.find_first_not_of('\x5a'), std::string::npos);
    EXPECT_EQ(OpenAndDraw().first, Origin::FromCache);
}

// A process that dies while the driver takes the saved program (a crash in there, or a
// kill while it grows) costs the next start a compile, and only that one.
TEST_F(ProgramCacheOnGlTest, AStartAfterAHandOverThatNeverEndedCompilesAndDraws) {
    const std::uint32_t goodPixel = OpenAndDraw().second;
    const std::optional<ProgramRecord> saved = SavedRecord();
    ASSERT_TRUE(saved.has_value());
    const pid_t crashed = ::fork();
    ASSERT_GE(crashed, 0);
    if (crashed == 0) {
        GuardedProgramLoad load(ProgramBinaryStore(ProgramBinaryStore::DefaultCacheDirectory()),
                                saved->key);
        ::raise(load.Record().has_value() ? SIGKILL : SIGTERM);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(crashed, &status, 0), crashed);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    const auto [origin, pixel] = OpenAndDraw();
    EXPECT_EQ(origin, Origin::Compiled);
    EXPECT_EQ(pixel, goodPixel);
    EXPECT_EQ(OpenAndDraw().first, Origin::FromCache);
}

}  // namespace
}  // namespace tetrakon::gfx
