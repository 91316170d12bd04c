#include "app/program_icon.h"

#include <QString>

#include "resources/qt_resources.h"

namespace tetrakon {

QIcon ProgramIcon() {
    LoadQtResources();
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral("%1/%2.png").arg(QLatin1String(kProgramIconFolder)).arg(size),
                     QSize(size, size));
    }
    return icon;
}

}  // namespace tetrakon
