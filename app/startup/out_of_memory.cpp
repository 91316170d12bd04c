#include "app/startup/out_of_memory.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>

#include "app/dialogs/qt_message_box.h"
#include "framework/error_report.h"

namespace tetrakon {
namespace {

constexpr const char* kOutOfMemoryLine = "tetrakon: не хватает памяти, программа завершается.\n";
// Address space given back before the box is made, so that the box can be made under a
// limit of it (the pages are never touched: no memory is used until then).
constexpr std::size_t kReserveBytes = 8 * 1024 * 1024;
char* reserve = nullptr;

bool OutOfMemoryUncaught() {
    try {
        if (const std::exception_ptr current = std::current_exception()) {
            std::rethrow_exception(current);
        }
    } catch (const std::bad_alloc&) {
        return true;
    } catch (...) {
    }
    return false;
}

std::terminate_handler previousTerminate = nullptr;

void OnTerminate() {
    if (OutOfMemoryUncaught()) {
        ReportOutOfMemory(false);
    }
    previousTerminate();
}

}  // namespace

void InstallOutOfMemoryReport() {
    reserve = new char[kReserveBytes];
    previousTerminate = std::set_terminate(OnTerminate);
}

void ReportOutOfMemory(bool showBox) {
    [[maybe_unused]] const ssize_t written =
        ::write(STDERR_FILENO, kOutOfMemoryLine, std::strlen(kOutOfMemoryLine));
    delete[] reserve;
    reserve = nullptr;
    if (showBox && !FatalErrorReported()) {
        try {
            QtMessageBox box;
            // The caption of the game's other fatal boxes.
            box.Show(ComposeErrorMessage(E_OUTOFMEMORY, ReportKind::Fatal), "Tetrakon1.0",
                     MessageIcon::Error);
        } catch (const std::bad_alloc&) {
        }
    }
    std::_Exit(1);
}

bool TetrakonApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(true);
    }
}

}  // namespace tetrakon
