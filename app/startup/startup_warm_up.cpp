#include "app/startup/startup_warm_up.h"

#include <QDBusConnection>
#include <QFontDatabase>
#include <QImageReader>

#include "game/bind_pieces.h"

namespace tetrakon {

// In the order the main thread needs them once the driver has loaded: the bus and Qt's
// picture plugins for the menu bar (reading its icon loads them all, as listing the
// formats does), the models for the device, the fonts for showing the window. At the normal
// priority: the main thread waits for this work where it needs it, and under load a lower one left
// it waiting for long.
StartupWarmUp::StartupWarmUp()
    : thread_([] {
          static_cast<void>(QDBusConnection::sessionBus());
          static_cast<void>(QImageReader::supportedImageFormats());
          ReadPuzzleModelsAhead();
          static_cast<void>(QFontDatabase::families());
      }) {}

StartupWarmUp::~StartupWarmUp() {
    thread_.join();
}

}  // namespace tetrakon
