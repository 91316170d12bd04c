// Tetrakon: a three-dimensional pyramid puzzle.

#include <QApplication>

#include "app/app_app.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tetrakon"));
    tetrakon::CAppApp app;
    if (!app.InitInstance()) {
        return 1;
    }
    return QApplication::exec();
}
