// The game view driven frame by frame as the program drives it, with the fake display
// system and scripted keyboard and mouse: clicks turn the layers the picks name, middle
// clicks take them back, and a frame that would repeat the one on screen is not presented.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "game/game_view.h"
#include "scene/pick_turn.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_graphics_api.h"
#include "tests/fakes/fake_input.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/process_state.h"
#include "tests/fakes/recording_message_box.h"

namespace tetrakon {
namespace {

constexpr int kLeft = 0;
constexpr int kMiddle = 2;
// A turn takes nine drawn frames; a few more let it settle.
constexpr int kFramesPerTurn = 12;

class ScriptedGameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartFreshProcessState(clock);

        GameServices services;
        services.messageBox = &box;
        services.createGraphics = [this](std::string*) -> std::unique_ptr<gfx::GraphicsApi> {
            auto api = std::make_unique<gfx::FakeGraphicsApi>(log);
            api->adapters = {gfx::TypicalAdapter()};
            return api;
        };
        services.createInput = [this] { return std::make_unique<input::FakeInputSystem>(&input); };
        services.windowedInputWindow = 1;
        services.fullScreenInputWindow = 2;
        services.cursorPosition = [this](float* x, float* y) {
            *x = cursor.x;
            *y = cursor.y;
            return true;
        };
        services.setTitle = [this](const std::string& text) { title = text; };
        services.shuffle = {[] { return 1u; }, [this] { return clock.milliseconds; },
                            [](std::uint32_t) {}};
        view = std::make_unique<GameView>(std::move(services));
        view->SetRenderWindow(&window);
        view->SetFocusWindow(&popup);
        ASSERT_EQ(view->StartUp(), S_OK);
        for (int slot = 0; slot < kPieceSlotCount; ++slot) {
            start[static_cast<std::size_t>(slot)] = view->pieces.matrix(slot);
        }
    }

    void TearDown() override {
        view->ShutDown();
        view.reset();
        ForgetProcessState();
    }

    // One idle pass: 15 ms later, one frame step.
    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            clock.AdvanceMicroseconds(15'000);
            view->StepFrame();
        }
    }

    // A press held for one frame read, then released while the turn plays.
    void Click(int button) {
        input.mouse.Hold({button}, 1);
        input.mouse.Hold({}, 1);
        Frames(kFramesPerTurn);
    }

    // Where the model-space point shows on the back buffer.
    Vec2 Projected(Vec3 point) const {
        const Vec3 ndc = TransformCoord(
            point, view->renderer.world() * view->renderer.view() * view->renderer.projection());
        gfx::SurfaceDesc size;
        EXPECT_EQ(view->device3d()->GetBackBufferDesc(&size), S_OK);
        return {(ndc.x + 1) * 0.5f * static_cast<float>(size.width),
                (1 - ndc.y) * 0.5f * static_cast<float>(size.height)};
    }

    float LargestDriftFromStart() const {
        float largest = 0;
        for (int slot = 0; slot < kPieceSlotCount; ++slot) {
            const Matrix& now = view->pieces.matrix(slot);
            for (int r = 0; r < 4; ++r) {
                for (int c = 0; c < 4; ++c) {
                    largest = std::max(
                        largest,
                        std::abs(now.m[r][c] - start[static_cast<std::size_t>(slot)].m[r][c]));
                }
            }
        }
        return largest;
    }

    int Presents() const {
        int presents = 0;
        for (const std::string& call : log->calls) {
            presents += call.rfind("Present", 0) == 0 ? 1 : 0;
        }
        return presents;
    }

    std::shared_ptr<gfx::CallLog> log = std::make_shared<gfx::CallLog>();
    FakeClock clock;
    RecordingMessageBox box{log};
    gfx::FakeWindow window{"view", {100, 50, 740, 530}, log};
    gfx::FakeWindow popup{"popup", {0, 0, 1024, 768}, log};
    input::FakeInput input;
    Vec2 cursor;
    std::string title;
    std::unique_ptr<GameView> view;
    std::array<Matrix, kPieceSlotCount> start;
};

TEST_F(ScriptedGameTest, ClicksTurnWhatThePicksNameAndMiddleClicksUndoThemAll) {
    // Every target that faces the eye in the start view, clicked at its centre.
    const Mesh& targets = *view->turnTargetMesh.sourceMesh();
    std::vector<int> expected;
    for (std::uint32_t subset = 0; subset < targets.subsets.size(); subset += 2) {
        const Triangle& face = targets.faces[targets.subsets[subset].faceStart];
        const Vec3 a = targets.positions[face.index[0]];
        const Vec3 b = targets.positions[face.index[1]];
        const Vec3 c = targets.positions[face.index[2]];
        Vec3 outward = Normalize(Cross(b - a, c - a));
        const Vec3 centre = (a + b + c) * (1.0f / 3.0f);
        if (Dot(outward, centre - Vec3{0, -2.357f, 0}) < 0) {
            outward = outward * -1.0f;
        }
        if (outward.z > -0.2f) {
            continue;
        }
        cursor = Projected(centre);
        Click(kLeft);
        expected.push_back(TargetGroupTurnCode(static_cast<int>(subset / 3)));
    }
    ASSERT_GE(expected.size(), 10u);
    EXPECT_EQ(view->session.history.turns(), expected);
    EXPECT_GT(LargestDriftFromStart(), 1.0f);

    for (std::size_t i = 0; i < expected.size(); ++i) {
        Click(kMiddle);
    }
    EXPECT_TRUE(view->session.history.empty());
    EXPECT_LT(LargestDriftFromStart(), 1e-3f);
}

TEST_F(ScriptedGameTest, ARightDragRollsABallOfPointEightFiveOfTheHalfSize) {
    gfx::SurfaceDesc size;
    ASSERT_EQ(view->device3d()->GetBackBufferDesc(&size), S_OK);
    const auto x = static_cast<std::int16_t>(size.width / 2);
    const auto y = static_cast<std::int16_t>(size.height / 2);
    view->HandleViewMessage({ViewMessageKind::RightButtonDown, true, x, y});
    view->HandleViewMessage({ViewMessageKind::MouseMove, true, static_cast<std::int16_t>(x - 100),
                             static_cast<std::int16_t>(y + 60)});
    // The ball's front point (0, 0, 1) under the press goes to the ball point under the
    // cursor: 100 pixels left and 60 down on a ball of 0.85 of the half-size.
    const float vx = 100.0f / (static_cast<float>(size.width) * 0.85f * 0.5f);
    const float vy = 60.0f / (static_cast<float>(size.height) * 0.85f * 0.5f);
    const Vec3 front = TransformCoord({0, 0, 1}, view->viewRotation.rotation());
    EXPECT_NEAR(front.x, vx, 1e-5f);
    EXPECT_NEAR(front.y, vy, 1e-5f);
    EXPECT_NEAR(front.z, std::sqrt(1 - vx * vx - vy * vy), 1e-5f);
}

TEST_F(ScriptedGameTest, ReturnToStartPutsTheViewStraight) {
    view->HandleViewMessage({ViewMessageKind::RightButtonDown, true, 100, 100});
    view->HandleViewMessage({ViewMessageKind::MouseMove, true, 180, 140});
    Frames(1);
    ASSERT_FALSE(view->renderer.world() == Matrix::Identity());
    view->ReturnToStart();
    Frames(1);
    EXPECT_TRUE(view->renderer.world() == Matrix::Identity()) << "no rotation, zoom 1";
}

TEST_F(ScriptedGameTest, AnIdleViewPresentsNothingUntilSomethingChanges) {
    Frames(3);
    const int afterStart = Presents();
    Frames(50);
    EXPECT_EQ(Presents(), afterStart) << "nothing moved";

    view->HandleViewMessage({ViewMessageKind::RightButtonDown, true, 100, 100});
    view->HandleViewMessage({ViewMessageKind::MouseMove, true, 140, 120});
    Frames(1);
    EXPECT_EQ(Presents(), afterStart + 1) << "the pyramid was rolled";

    view->renderer.BackgroundColour = 0xFF102030;
    Frames(2);
    EXPECT_EQ(Presents(), afterStart + 2) << "a new background colour";

    view->StartShuffle();
    int shuffleFrames = 0;
    for (; view->ShuffleRunning() && shuffleFrames < 200; ++shuffleFrames) {
        Frames(1);
    }
    EXPECT_EQ(Presents(), afterStart + 2 + shuffleFrames) << "every frame of a shuffle is shown";
    Frames(10);
    EXPECT_EQ(Presents(), afterStart + 2 + shuffleFrames);
}

}  // namespace
}  // namespace tetrakon
