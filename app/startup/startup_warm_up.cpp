#include "app/startup/startup_warm_up.h"

#include <QDBusConnection>
#include <QFontDatabase>

namespace tetrakon {

// The bus first: the menu bar, made right after the driver has loaded, waits for it.
StartupWarmUp::StartupWarmUp()
    : thread_([] {
          static_cast<void>(QDBusConnection::sessionBus());
          static_cast<void>(QFontDatabase::families());
      }) {}

StartupWarmUp::~StartupWarmUp() {
    thread_.join();
}

}  // namespace tetrakon
