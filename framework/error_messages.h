#pragma once

// Every text the framework shows the user: the message of each failure code and the
// suffixes the report kinds add. They name what the program really uses: OpenGL, the
// graphics driver and Mesa's software renderer.

#include "framework/framework_results.h"
#include "platform/gfx/gfx_types.h"

namespace tetrakon {

struct ErrorMessage {
    Result code;
    const char* text;
};

inline constexpr ErrorMessage kErrorMessages[] = {
    {NoGraphicsApi,
     "Could not initialize OpenGL. You may\nwant to check that the latest version of\n"
     "the graphics driver is correctly installed\non your system."},
    {NoCompatibleDevice, "Could not find any compatible OpenGL\ndevices."},
    {NoWindowableMode,
     "This program cannot run in a desktop\nwindow with the current display settings.\n"
     "Please change your desktop settings to a\n16- or 32-bit display mode and re-run this\n"
     "program."},
    {NoHardwareDevice, "No hardware-accelerated OpenGL devices\nwere found."},
    {HardwareLacksFeatures,
     "This program requires functionality that is\nnot available on your OpenGL hardware\n"
     "accelerator."},
    {HardwareCannotWindow, "Your OpenGL hardware accelerator cannot\nrender into a window."},
    {HardwareCannotWindowOnDesktop,
     "Your OpenGL hardware accelerator cannot\nrender into a window with the current\ndesktop "
     "display settings."},
    {HardwareLacksFeaturesInMode,
     "This program requires functionality that is\nnot available on your OpenGL hardware\n"
     "accelerator with the current desktop display\nsettings."},
    {ObjectsLeaked,
     "An OpenGL object has a non-zero reference\ncount (meaning things were not properly\n"
     "cleaned up)."},
    {MediaMissing, "Could not load required media."},
    {E_FILE_NOT_FOUND, "Could not load required media."},
    {ResetFailed, "Could not reset the OpenGL device."},
    {NullReferenceDevice,
     "Warning: Nothing will be rendered.\nMesa's software renderer was selected, but your\n"
     "computer only has a reduced-functionality version\nof it installed.  Update the graphics "
     "driver to get\nthe full software renderer.\n"},
    {ScreenTooSmall,
     "The screen is too small for full screen.\nFull screen needs at least 640 x 480\npixels; "
     "the game goes on in its window."},
    {E_OUTOFMEMORY, "Not enough memory."},
    {gfx::D3DERR_OUTOFVIDEOMEMORY, "Not enough video memory."},
};

// The text of any code without a row above.
inline constexpr const char* kGenericErrorMessage =
    "Generic application error. Enable\ndebug output for detailed information.";

// Added by a fatal report; the program ends once the box is dismissed.
inline constexpr const char* kFatalSuffix = "\n\nThis program will now exit.";

// Added when the framework falls back from the graphics driver to the software renderer.
inline constexpr const char* kReferenceSuffix =
    "\n\nSwitching to Mesa's software renderer,\nwhich implements the entire OpenGL\nfeature "
    "set, but runs very slowly.";

}  // namespace tetrakon
