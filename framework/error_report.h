#pragma once

#include <string>
#include <string_view>

#include "framework/framework_results.h"
#include "framework/message_box.h"
#include "platform/gfx/window.h"

namespace tetrakon {

enum class ReportKind : int { Warning = 0, Fatal = 1, SwitchedToReference = 2 };

// Size of the buffer a message is composed in, terminator included.
constexpr std::size_t kErrorMessageBufferSize = 512;

// The message shown for a failure code.
const char* ErrorMessageText(Result code);

// The full text of the box for a code and kind: the message, the detail (when there is one)
// after a blank line, and the kind's suffix, cut to what the composition buffer holds.
std::string ComposeErrorMessage(Result code, ReportKind kind, std::string_view detail = {});

// Shows the message for `code` in `messageBox` (captioned `caption`) and carries out the
// kind's consequence. After the first fatal report nothing more is shown, for the rest of
// the process. A fatal report sends `renderWindow`, when there is one, a close request
// after the box is dismissed. Returns `code`.
Result ReportError(Result code, ReportKind kind, const std::string& caption, MessageBox* messageBox,
                   gfx::Window* renderWindow, std::string_view detail = {});

// Whether a fatal report has been shown in this process.
bool FatalErrorReported();
// Clears the fatal-report latch. Only tests do this; the program never does.
void ResetFatalErrorLatch();

}  // namespace tetrakon
