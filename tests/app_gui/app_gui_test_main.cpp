// Test main for the program's windows: a QApplication on the xcb platform (run under
// xvfb-run), with jwm started as the window manager when it is installed, since full
// screen needs one. Listing the tests needs no display.

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include "tests/keep_loaded_libraries.h"

namespace {

// Whether a window manager has named itself on the root window, as it does once it
// manages windows.
bool WindowManagerRunning() {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    return xprop.waitForFinished() && xprop.readAllStandardOutput().contains("window id");
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    QProcess windowManager;
    const QString jwm = QStandardPaths::findExecutable(QStringLiteral("jwm"));
    if (!jwm.isEmpty()) {
        windowManager.start(jwm, {});
        windowManager.waitForStarted();
        if (!QTest::qWaitFor(WindowManagerRunning)) {
            qWarning("jwm did not start managing windows");
        }
    }
    const int result = RUN_ALL_TESTS();
    windowManager.kill();
    windowManager.waitForFinished();
    tetrakon::testing::KeepLoadedLibrariesUntilExit();
    return result;
}
