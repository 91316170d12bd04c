#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "app/settings/app_settings.h"

namespace tetrakon {
namespace {

// The window fit's rectangles end just outside the screen, where QRect's last pixel ends it.
TEST(ScreenAreas, ReachTheRightAndBottomEdgesOfEveryScreen) {
    const std::vector<ScreenArea> areas = ScreenAreas();
    ASSERT_EQ(areas.size(), static_cast<std::size_t>(QGuiApplication::screens().size()));
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const QScreen* screen = QGuiApplication::screens()[static_cast<qsizetype>(i)];
        EXPECT_EQ(areas[i].whole.right, screen->geometry().right() + 1);
        EXPECT_EQ(areas[i].whole.bottom, screen->geometry().bottom() + 1);
        EXPECT_EQ(areas[i].available.right, screen->availableGeometry().right() + 1);
        EXPECT_EQ(areas[i].available.bottom, screen->availableGeometry().bottom() + 1);
    }
}

}  // namespace
}  // namespace tetrakon
