// Test main for the program's windows: a QApplication on the xcb platform (run under
// xvfb-run), with jwm started as the window manager when it is installed, since full
// screen needs one. Listing the tests needs no display.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

namespace {

// The GL driver is unloaded when the display closes; what its globals still hold would
// look leaked to the leak checker. Keeping every loaded library keeps them reachable.
void KeepLoadedLibrariesUntilExit() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0') {
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return 0;
        },
        nullptr);
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
        QThread::msleep(300);
    }
    const int result = RUN_ALL_TESTS();
    windowManager.kill();
    windowManager.waitForFinished();
    KeepLoadedLibrariesUntilExit();
    return result;
}
