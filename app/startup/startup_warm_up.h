#pragma once

#include <thread>

namespace tetrakon {

// Work that Qt does on first use and that needs no window, started on a thread of its own
// so that it runs while the main thread loads the OpenGL driver: the connection to the
// session bus (the menu bar asks it for a global menu and the accessibility bridge for
// its bus; without a bus address libdbus first runs dbus-launch), the font database
// (fontconfig's configuration and font list) and Qt's picture plugins, all process-wide
// and thread-safe in Qt, and the reading of the puzzle's models (ReadPuzzleModelsAhead).
// The main thread later finds them made, or waits only for the rest of the work. Made after
// the QApplication and joined before it goes.
class StartupWarmUp {
  public:
    StartupWarmUp();
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp&) = delete;
    StartupWarmUp& operator=(const StartupWarmUp&) = delete;

  private:
    std::thread thread_;
};

}  // namespace tetrakon
