#pragma once

namespace tetrakon {

// Said on standard error when no display can be opened.
inline constexpr const char* kNoDisplayText =
    "tetrakon: не удаётся открыть дисплей (X11 или Wayland).\n";

// Watches Qt's messages while the application object connects to the display. Qt (6.4)
// ends a program whose display it cannot open with an abort and advice about reinstalling;
// here that ends it with kNoDisplayText, Qt's own reason on the lines after it, and exit
// status 1 instead. The warnings Qt gives on the way are held back and passed on once the
// display is open, and what the display libraries write to standard error themselves
// meanwhile (Xlib's "Authorization required") is dropped, so a failed start says only
// our line and Qt's reason.
class DisplayOpenGuard {
  public:
    DisplayOpenGuard();
    ~DisplayOpenGuard() { Opened(); }
    DisplayOpenGuard(const DisplayOpenGuard&) = delete;
    DisplayOpenGuard& operator=(const DisplayOpenGuard&) = delete;

    // The display is open: Qt's messages go where they went before.
    void Opened();
};

}  // namespace tetrakon
