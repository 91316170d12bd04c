#include "app/shell/program_icon.h"

#include <QString>

#include "resources/qt/qt_resources.h"

namespace tetrakon {

namespace {

QString IconFile(const QString& name) {
    return QStringLiteral("%1/%2").arg(QLatin1String(kProgramIconFolder), name);
}

}  // namespace

QIcon ProgramIcon() {
    LoadQtResources();
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(IconFile(QStringLiteral("%1.png").arg(size)), QSize(size, size));
    }
    return icon;
}

// Drawn through Qt's SVG icon engine, a plugin, so that the program does not link the SVG
// library: linked, it would load before the first frame instead of with Qt's plugins.
QPixmap ProgramIconPixmap(int logicalSize, qreal devicePixelRatio) {
    LoadQtResources();
    const QIcon scalable(IconFile(QStringLiteral("scalable.svg")));
    return scalable.pixmap(QSize(logicalSize, logicalSize), devicePixelRatio);
}

}  // namespace tetrakon
