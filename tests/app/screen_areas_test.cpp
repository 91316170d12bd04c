#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "app/settings/app_settings.h"

namespace tetrakon {
namespace {

// The window fit's rectangles end just outside the screen, where QRect's last pixel ends it.
TEST(ScreenAreas, ReachTheRightAndBottomEdgesOfTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const std::vector<ScreenArea> areas = ScreenAreas();
    ASSERT_FALSE(areas.empty());
    EXPECT_EQ(areas.front().whole,
              (PixelRect{screen.x(), screen.y(), screen.right() + 1, screen.bottom() + 1}));
}

}  // namespace
}  // namespace tetrakon
