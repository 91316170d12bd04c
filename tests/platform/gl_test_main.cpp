// Test main for the display layer: a QGuiApplication on the xcb platform, which needs an
// X display (run under xvfb-run). Listing the tests needs none.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include <QGuiApplication>
#include <memory>

namespace {

// The GL driver is unloaded when the display closes, and what its globals still hold
// would then look leaked to the leak checker. Keeping every loaded library until the
// process ends leaves those blocks reachable; our own allocations are checked as before.
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
    // Qt's offscreen platform cannot make an OpenGL context.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    const int result = RUN_ALL_TESTS();
    KeepLoadedLibrariesUntilExit();
    return result;
}
