#include "app/shell/window_system.h"

#include <QGuiApplication>

namespace tetrakon {

bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace tetrakon
