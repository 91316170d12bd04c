// Tetrakon: a three-dimensional pyramid puzzle.

#include <QApplication>

#include "app/app_app.h"
#include "app/program_icon.h"
#include "app/russian_translations.h"
#include "app/startup_splash_wnd.h"
#include "app/startup_switches.h"
#include "platform/picture/qt_picture_decoder.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tetrakon"));
    QApplication::setWindowIcon(tetrakon::ProgramIcon());
    tetrakon::InstallRussianTranslations(application);
    tetrakon::InstallQtPictureDecoder();
    tetrakon::SetStartupPictureAllowed(tetrakon::StartupPictureAllowed(argc, argv));

    tetrakon::CAppApp app;
    if (!app.InitInstance()) {
        return 1;
    }
    return QApplication::exec();
}
