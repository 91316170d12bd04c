#include "framework/error_report.h"

#include <cstring>

#include "framework/error_messages.h"

namespace tetrakon {

namespace {

bool& FatalLatch() {
    static bool latch = false;
    return latch;
}

// Appends as much of `text` as fits, always leaving the buffer terminated.
void AppendBounded(char (&buffer)[kErrorMessageBufferSize], const char* text) {
    const std::size_t used = std::strlen(buffer);
    const std::size_t room = kErrorMessageBufferSize - 1 - used;
    const std::size_t length = std::min(std::strlen(text), room);
    std::memcpy(buffer + used, text, length);
    buffer[used + length] = '\0';
}

}  // namespace

const char* ErrorMessageText(Result code) {
    for (const ErrorMessage& row : kErrorMessages) {
        if (row.code == code) {
            return row.text;
        }
    }
    return kGenericErrorMessage;
}

std::string ComposeErrorMessage(Result code, ReportKind kind) {
    char buffer[kErrorMessageBufferSize] = {};
    AppendBounded(buffer, ErrorMessageText(code));
    if (kind == ReportKind::Fatal) {
        AppendBounded(buffer, kFatalSuffix);
    } else if (kind == ReportKind::SwitchedToReference) {
        AppendBounded(buffer, kReferenceSuffix);
    }
    return buffer;
}

Result ReportError(Result code, ReportKind kind, const std::string& caption, MessageBox* messageBox,
                   gfx::Window* renderWindow) {
    if (FatalLatch()) {
        return code;
    }
    const std::string text = ComposeErrorMessage(code, kind);
    if (kind == ReportKind::Fatal) {
        FatalLatch() = true;
        if (messageBox != nullptr) {
            messageBox->Show(text, caption, MessageIcon::Error);
        }
        if (renderWindow != nullptr) {
            renderWindow->RequestClose();
        }
        return code;
    }
    if (messageBox != nullptr) {
        messageBox->Show(text, caption, MessageIcon::Warning);
    }
    return code;
}

bool FatalErrorReported() {
    return FatalLatch();
}

void ResetFatalErrorLatch() {
    FatalLatch() = false;
}

}  // namespace tetrakon
