// Test main for the display layer: a QGuiApplication on the xcb platform, which needs an
// X display (run under xvfb-run). Listing the tests needs none.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

#include "tests/keep_loaded_libraries.h"
#include "tests/platform/gl_test_window.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    // Qt's offscreen platform cannot make an OpenGL context.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    const int result = RUN_ALL_TESTS();
    tetrakon::gfx::ReleaseTestGraphicsApi();
    tetrakon::testing::KeepLoadedLibrariesUntilExit();
    return result;
}
