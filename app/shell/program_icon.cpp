#include "app/shell/program_icon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cmath>

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

void InstallProgramIcon() {
    if (QGuiApplication::windowIcon().isNull()) {
        QGuiApplication::setWindowIcon(ProgramIcon());
    }
}

QPixmap ProgramIconPixmap(int logicalSize, qreal devicePixelRatio) {
    LoadQtResources();
    const int side = static_cast<int>(std::lround(logicalSize * devicePixelRatio));
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(IconFile(QStringLiteral("scalable.svg")));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

}  // namespace tetrakon
