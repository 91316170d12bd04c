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
void AppendBounded(char (&buffer)[kErrorMessageBufferSize], std::string_view text) {
    const std::size_t used = std::strlen(buffer);
    const std::size_t room = kErrorMessageBufferSize - 1 - used;
    const std::size_t length = std::min(text.size(), room);
    std::memcpy(buffer + used, text.data(), length);
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

std::string ComposeErrorMessage(Result code, ReportKind kind, std::string_view detail) {
    char buffer[kErrorMessageBufferSize] = {};
    AppendBounded(buffer, ErrorMessageText(code));
    if (!detail.empty()) {
        AppendBounded(buffer, "\n\n");
        AppendBounded(buffer, detail);
    }
    if (kind == ReportKind::Fatal) {
        AppendBounded(buffer, kFatalSuffix);
    } else if (kind == ReportKind::SwitchedToReference) {
        AppendBounded(buffer, kReferenceSuffix);
    }
    return buffer;
}

Result ReportError(Result code, ReportKind kind, const std::string& caption, MessageBox* messageBox,
                   gfx::Window* renderWindow, std::string_view detail) {
    if (FatalLatch()) {
        return code;
    }
    const std::string text = ComposeErrorMessage(code, kind, detail);
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
