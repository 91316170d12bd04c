#include "app/startup/startup_warm_up.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QFontDatabase>
#include <QImageReader>

#include "game/bind_pieces.h"

namespace tetrakon {

namespace {

// The lowest priority: beside threads that want the processor, this one gets almost none.
constexpr int kWarmUpNice = 19;

}  // namespace

// In the order the main thread needs them once the driver has loaded: the bus and the
// picture plugins' descriptions for the menu bar (and its icon), the models for the device,
// the fonts for showing the window.
StartupWarmUp::StartupWarmUp()
    : thread_([] {
          // Behind the main thread and the display server for the processor: on two cores
          // it runs beside the driver's load without taking time from either.
          setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWarmUpNice);
          static_cast<void>(QDBusConnection::sessionBus());
          static_cast<void>(QImageReader::supportedImageFormats());
          ReadPuzzleModelsAhead();
          static_cast<void>(QFontDatabase::families());
      }) {}

StartupWarmUp::~StartupWarmUp() {
    thread_.join();
}

}  // namespace tetrakon
