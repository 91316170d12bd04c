#include "app/startup/startup_warm_up.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QFontDatabase>
#include <QImageReader>

namespace tetrakon {

namespace {

// The lowest priority: beside threads that want the processor, this one gets almost none.
constexpr int kWarmUpNice = 19;

}  // namespace

// The bus first: the menu bar, made right after the driver has loaded, waits for it. The
// list of image formats has Qt read its picture plugins' descriptions, which the menu bar's
// icon (and any picture read later) would otherwise wait for.
StartupWarmUp::StartupWarmUp()
    : thread_([] {
          // Behind the main thread and the display server for the processor: on two cores
          // it runs beside the driver's load without taking time from either.
          setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWarmUpNice);
          static_cast<void>(QDBusConnection::sessionBus());
          static_cast<void>(QFontDatabase::families());
          static_cast<void>(QImageReader::supportedImageFormats());
      }) {}

StartupWarmUp::~StartupWarmUp() {
    thread_.join();
}

}  // namespace tetrakon
