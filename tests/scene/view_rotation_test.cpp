#include "scene/view_rotation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace tetrakon {
namespace {

// A 501 x 401 drawing area: its centre pixel is (250, 200) and the ball's radius is
// 0.85 x 250.5 pixels across and 0.85 x 200.5 pixels down.
constexpr std::int32_t kWidth = 501;
constexpr std::int32_t kHeight = 401;
constexpr float kRadius = 0.85f;

ViewMessage Message(ViewMessageKind kind, int x, int y, bool held = true) {
    return {kind, held, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)};
}

void Press(ViewRotation& view, int x, int y) {
    view.HandleMessage(Message(ViewMessageKind::RightButtonDown, x, y));
}

void Move(ViewRotation& view, int x, int y, bool held = true) {
    view.HandleMessage(Message(ViewMessageKind::MouseMove, x, y, held));
}

ViewRotation Sized() {
    ViewRotation view;
    view.SetWindow(kWidth, kHeight, kRadius);
    return view;
}

void ExpectNear(Vec3 actual, Vec3 expected, const char* what) {
    constexpr float kTolerance = 1e-5f;
    EXPECT_NEAR(actual.x, expected.x, kTolerance) << what;
    EXPECT_NEAR(actual.y, expected.y, kTolerance) << what;
    EXPECT_NEAR(actual.z, expected.z, kTolerance) << what;
}

void ExpectIdentity(const Matrix& rotation) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(rotation.m[r][c], r == c ? 1.0f : 0.0f, 1e-6f) << r << "," << c;
        }
    }
}

Vec3 Turned(Vec3 p, const ViewRotation& view) {
    return TransformCoord(p, view.rotation());
}

TEST(ViewRotationTest, ScreenToBallUsesTruncatedHalvesAndGrowsLeftAndDown) {
    const ViewRotation view = Sized();
    // With float halves the centre pixel of an odd width would be half a pixel off.
    const Vec3 centre = view.ScreenToBall(250, 200);
    EXPECT_EQ(centre, (Vec3{0, 0, 1}));
    // Outside the ball: points on its rim.
    ExpectNear(view.ScreenToBall(0, 200), {1, 0, 0}, "left edge");
    ExpectNear(view.ScreenToBall(500, 200), {-1, 0, 0}, "right edge");
    ExpectNear(view.ScreenToBall(250, 400), {0, 1, 0}, "bottom edge");
    // Inside: on the ball's front half.
    const Vec3 upperLeft = view.ScreenToBall(200, 150);
    EXPECT_GT(upperLeft.x, 0.0f);
    EXPECT_LT(upperLeft.y, 0.0f);
    EXPECT_GT(upperLeft.z, 0.0f);
    EXPECT_NEAR(Length(upperLeft), 1.0f, 1e-6f);
}

TEST(ViewRotationTest, PressAndMoveToTheSamePixelTurnsNothing) {
    ViewRotation view = Sized();
    Press(view, 180, 120);
    Move(view, 180, 120);
    ExpectIdentity(view.rotation());
    EXPECT_TRUE(view.dragging());

    // After a quarter turn about the vertical axis, a new press starts from there.
    Press(view, 250, 200);  // ball point (0, 0, 1)
    Move(view, 0, 200);     // rim point (1, 0, 0)
    view.HandleMessage(Message(ViewMessageKind::RightButtonUp, 0, 200));
    Press(view, 180, 120);
    Move(view, 180, 120);
    ExpectNear(Turned({0, 0, 1}, view), {1, 0, 0}, "still the quarter turn");
}

TEST(ViewRotationTest, DragToTheRightTurnsTheFrontSideToTheRight) {
    ViewRotation view = Sized();
    Press(view, 250, 200);
    Move(view, 300, 200);
    const Vec3 front = Turned({0, 0, -1}, view);
    EXPECT_GT(front.x, 0.1f);
    ExpectNear(Turned({0, 1, 0}, view), {0, 1, 0}, "a turn about the vertical axis");
}

TEST(ViewRotationTest, DragAlongTheRimTurnsAboutTheViewAxisOnly) {
    ViewRotation view = Sized();
    Press(view, 0, 200);   // rim point (1, 0, 0)
    Move(view, 250, 400);  // rim point (0, 1, 0)
    ExpectNear(Turned({0, 0, 1}, view), {0, 0, 1}, "view axis");
    ExpectNear(Turned({1, 0, 0}, view), {0, 1, 0}, "press point");
}

TEST(ViewRotationTest, ASecondDragTurnsThePyramidAsItShowsOnScreen) {
    ViewRotation view = Sized();
    Press(view, 0, 200);  // a quarter turn about the view axis
    Move(view, 250, 400);
    view.HandleMessage(Message(ViewMessageKind::RightButtonUp, 250, 400));
    Press(view, 250, 200);  // then a drag to the right
    Move(view, 300, 200);
    const Vec3 front = Turned({0, 0, -1}, view);
    EXPECT_GT(front.x, 0.1f);
    EXPECT_NEAR(front.y, 0.0f, 1e-5f);
}

TEST(ViewRotationTest, OppositeDirectionsGiveAHalfTurnNeverNaN) {
    const Vec3 directions[] = {{1, 0, 0}, {0, 0, 1}, {0.6f, -0.8f, 0}, {0.48f, 0.6f, 0.64f}};
    for (const Vec3& from : directions) {
        const Quaternion q = ViewRotation::AxisToAxis(from, from * -1.0f);
        const float norm = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
        EXPECT_NEAR(norm, 1.0f, 1e-6f);
        ExpectNear(TransformCoord(from, MatrixRotationQuaternion(q)), from * -1.0f, "turned");
    }
    // Between opposite rim points the pyramid turns about the view axis.
    ViewRotation view = Sized();
    Press(view, 0, 200);
    Move(view, 500, 200);
    ExpectNear(Turned({0, 0, 1}, view), {0, 0, 1}, "view axis");
    ExpectNear(Turned({1, 0, 0}, view), {-1, 0, 0}, "press point");
}

TEST(ViewRotationTest, ADragBeforeTheWindowHasASizeTurnsNothing) {
    ViewRotation view;
    Press(view, 10, 10);
    Move(view, 300, 40);
    ExpectIdentity(view.rotation());
}

TEST(ViewRotationTest, ResetDuringADragRestartsFromIdentityAtTheLastPressPoint) {
    ViewRotation view = Sized();
    Press(view, 250, 200);
    Move(view, 320, 150);
    view.Reset();
    ExpectIdentity(view.rotation());
    EXPECT_FALSE(view.dragging());

    // The first move only shows the reset orientation and resumes the drag...
    Move(view, 330, 260);
    ExpectIdentity(view.rotation());
    EXPECT_TRUE(view.dragging());
    // ...further moves turn from identity relative to the last press point.
    Move(view, 200, 260);
    ViewRotation fresh = Sized();
    Press(fresh, 250, 200);
    Move(fresh, 200, 260);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_FLOAT_EQ(view.rotation().m[r][c], fresh.rotation().m[r][c]);
        }
    }
}

TEST(ViewRotationTest, MovesWithoutTheRightButtonAndAfterReleaseTurnNothing) {
    ViewRotation view = Sized();
    Press(view, 250, 200);
    Move(view, 300, 200, false);
    ExpectIdentity(view.rotation());
    view.HandleMessage(Message(ViewMessageKind::RightButtonUp, 300, 200));
    EXPECT_FALSE(view.dragging());
}

TEST(ApplyWheelTest, EachFrameTakesOneStepOnTheNineValueGrid) {
    float scale = 1.0f;
    EXPECT_EQ(ApplyWheel(scale, 0), scale);
    // Only the sign counts: a large and a small motion take the same step.
    EXPECT_EQ(ApplyWheel(scale, 1), ApplyWheel(scale, 480));

    std::set<int> visited;  // in hundredths
    const auto visit = [&](std::int32_t delta, int frames) {
        for (int i = 0; i < frames; ++i) {
            scale = ApplyWheel(scale, delta);
            visited.insert(static_cast<int>(std::lround(scale * 100.0f)));
        }
    };
    // Many round trips, then all the way down and all the way up.
    for (int trip = 0; trip < 200; ++trip) {
        visit(120, 20);
        visit(-120, 20);
    }
    EXPECT_NEAR(scale, 1.16f, 1e-4f);
    visit(120, 20);
    EXPECT_NEAR(scale, 0.52f, 1e-4f);
    EXPECT_EQ(visited, (std::set<int>{52, 60, 68, 76, 84, 92, 100, 108, 116}));
}

}  // namespace
}  // namespace tetrakon
