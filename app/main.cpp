// Tetrakon: a three-dimensional pyramid puzzle.

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "app/logic/program_info.h"
#include "app/logic/startup_switches.h"
#include "app/shell/app_app.h"
#include "app/shell/russian_translations.h"
#include "app/startup/display_open_guard.h"
#include "app/startup/out_of_memory.h"
#include "app/startup/startup_splash_wnd.h"
#include "platform/picture/qt_picture_decoder.h"

namespace {

// Exit status 1 when the text cannot be written (a closed or full output).
int Print(const std::string& text) {
    return std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that they work without a display.
    switch (tetrakon::RequestedPrint(argc, argv)) {
        case tetrakon::PrintRequest::kUsage:
            return Print(tetrakon::UsageText());
        case tetrakon::PrintRequest::kVersion:
            return Print(tetrakon::VersionText());
        case tetrakon::PrintRequest::kNone:
            break;
    }

    tetrakon::InstallOutOfMemoryReport();
    if (!tetrakon::ScaleFactorUsable(std::getenv("QT_SCALE_FACTOR"))) {
        std::fprintf(stderr, "tetrakon: QT_SCALE_FACTOR=%s не годится, масштаб 1.\n",
                     std::getenv("QT_SCALE_FACTOR"));
        ::setenv("QT_SCALE_FACTOR", "1", 1);
    }

    tetrakon::DisplayOpenGuard displayGuard;
    tetrakon::TetrakonApplication application(argc, argv);
    displayGuard.Opened();
    QApplication::setApplicationName(QStringLiteral("Tetrakon"));
    QApplication::setDesktopFileName(QString::fromLatin1(tetrakon::kDesktopId));
    tetrakon::InstallRussianTranslations(application);
    tetrakon::InstallQtPictureDecoder();
    tetrakon::SetStartupPictureAllowed(tetrakon::StartupPictureAllowed(argc, argv));

    try {
        tetrakon::CAppApp app;
        if (!app.InitInstance()) {
            return 1;
        }
        return QApplication::exec();
    } catch (const std::bad_alloc&) {
        tetrakon::ReportOutOfMemory(true);
    }
}
