#include "framework/error_report.h"

#include <cstring>

#include "platform/gfx/gfx_types.h"

namespace tetrakon {

namespace {

bool& FatalLatch() {
    static bool latch = false;
    return latch;
}

constexpr const char* kFatalSuffix = "\n\nThis sample will now exit.";
constexpr const char* kReferenceSuffix =
    "\n\nSwitching to the reference rasterizer,\na software device that implements the "
    "entire\nDirect3D feature set, but runs very slowly.";

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
    switch (code) {
        case NoGraphicsApi:
            return "Could not initialize Direct3D. You may\nwant to check that the latest "
                   "version of\nDirectX is correctly installed on your\nsystem.  Also make "
                   "sure that this program\nwas compiled with header files that match\nthe "
                   "installed DirectX DLLs.";
        case NoCompatibleDevice:
            return "Could not find any compatible Direct3D\ndevices.";
        case NoWindowableMode:
            return "This sample cannot run in a desktop\nwindow with the current display "
                   "settings.\nPlease change your desktop settings to a\n16- or 32-bit "
                   "display mode and re-run this\nsample.";
        case NoHardwareDevice:
            return "No hardware-accelerated Direct3D devices\nwere found.";
        case HardwareLacksFeatures:
            return "This sample requires functionality that is\nnot available on your "
                   "Direct3D hardware\naccelerator.";
        case HardwareCannotWindow:
            return "Your Direct3D hardware accelerator cannot\nrender into a window.\nPress "
                   "F2 while the app is running to see a\nlist of available devices and "
                   "modes.";
        case HardwareCannotWindowOnDesktop:
            return "Your Direct3D hardware accelerator cannot\nrender into a window with the "
                   "current\ndesktop display settings.\nPress F2 while the app is running "
                   "to see a\nlist of available devices and modes.";
        case HardwareLacksFeaturesInMode:
            return "This sample requires functionality that is\nnot available on your "
                   "Direct3D hardware\naccelerator with the current desktop display\n"
                   "settings.\nPress F2 while the app is running to see a\nlist of "
                   "available devices and modes.";
        case ObjectsLeaked:
            return "A D3D object has a non-zero reference\ncount (meaning things were not "
                   "properly\ncleaned up).";
        case MediaMissing:
        case E_FILE_NOT_FOUND:
            return "Could not load required media.";
        case ResetFailed:
            return "Could not reset the Direct3D device.";
        case NullReferenceDevice:
            return "Warning: Nothing will be rendered.\nThe reference rendering device was "
                   "selected, but your\ncomputer only has a reduced-functionality reference "
                   "device\ninstalled.  Install the DirectX SDK to get the full\nreference "
                   "device.\n";
        case E_OUTOFMEMORY:
            return "Not enough memory.";
        case gfx::D3DERR_OUTOFVIDEOMEMORY:
            return "Not enough video memory.";
        default:
            return "Generic application error. Enable\ndebug output for detailed "
                   "information.";
    }
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
