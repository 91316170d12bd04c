// Test main for the display layer: a QGuiApplication on the xcb platform, which needs an
// X display (run under xvfb-run). Listing the tests needs none.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<QGuiApplication> application;
    if (!GTEST_FLAG_GET(list_tests)) {
        // Qt's offscreen platform cannot make an OpenGL context.
        qputenv("QT_QPA_PLATFORM", "xcb");
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    return RUN_ALL_TESTS();
}
