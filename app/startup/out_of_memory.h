#pragma once

#include <QApplication>

namespace tetrakon {

// Running out of memory ends the program as its other fatal errors do, never with an abort
// and a core dump: the fatal box "Not enough memory." where it can still be shown safely,
// one line on standard error, and exit status 1. The settings are not saved: the state a
// failed allocation leaves is unknown.

// Sets the handler that does so for an allocation failure nothing catches (on any thread,
// or where no exception may pass), and keeps a reserve of memory to give back for the box.
void InstallOutOfMemoryReport();

// Says so and ends the program; the box only when `showBox`.
[[noreturn]] void ReportOutOfMemory(bool showBox);

// The application, ending the program through ReportOutOfMemory when an event's handler
// runs out of memory: by then the handler's stack is unwound, so the box may be shown.
class TetrakonApplication : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace tetrakon
