#include "app/startup/startup_warm_up.h"

#include <QDBusConnection>
#include <QFontDatabase>
#include <QImageReader>

namespace tetrakon {

// The bus first: the menu bar, made right after the driver has loaded, waits for it. The
// list of image formats has Qt read its picture plugins' descriptions, which the menu bar's
// icon (and any picture read later) would otherwise wait for.
StartupWarmUp::StartupWarmUp()
    : thread_([] {
          static_cast<void>(QDBusConnection::sessionBus());
          static_cast<void>(QFontDatabase::families());
          static_cast<void>(QImageReader::supportedImageFormats());
      }) {}

StartupWarmUp::~StartupWarmUp() {
    thread_.join();
}

}  // namespace tetrakon
