#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/logic/frame_placement.h"
#include "app/logic/pixel_rect.h"
#include "app/logic/window_fit.h"
#include "platform/registry/registry_store.h"

namespace tetrakon {

// The settings the game keeps between runs, with the values of a first start.
struct GameSettings {
    bool Picture = false;  // the background picture is drawn
    std::string PathImage = "bg.jpg";
    std::int32_t NumberRandomRotate = 5;  // turns per shuffle
    bool FastRandomRotate = false;        // shuffle turns in one step each
    PixelRect WindowRect;                 // the main frame's normal-position rectangle
};

// A 532 x 400 rectangle centred on a screen of the given size (integer halves).
PixelRect DefaultWindowRect(std::int32_t screenWidth, std::int32_t screenHeight);

// The names of the nine values the game keeps: a registry store made with them holds no
// other value of the file in memory.
std::vector<std::string> SettingsValueNames();

// Reads the settings from the key Software\Tetrakon of the current user once per run and
// writes them back at close. Reading fails silently: what cannot be read keeps its current
// value or default, and a key that cannot be opened is not read. A save that keeps nothing
// says why on standard error.
class SettingsStore {
  public:
    explicit SettingsStore(const RegistryStore& registry) : registry_(registry) {}

    // The game settings; only the first call reads. The stored flags count as on when
    // their lowest byte is non-zero and are held as true or false.
    void LoadSettings(GameSettings* settings);

    // Reads the window rectangle (defaulting each side to `defaultWindowRect`) and shows
    // `frame`, when there is one, restored at it; only the first call does anything.
    // A stored rectangle that is empty, or overlaps none of `screens` (the screen it was on
    // is gone), is replaced by `defaultWindowRect`. The rectangle is then fitted to its
    // screen (see FitToScreens), so that no stored value opens a window the screen cannot
    // show; with no screens listed, only an empty one is replaced. A key that cannot be
    // opened reads as one without values.
    void RestoreWindowPlacement(GameSettings* settings, const PixelRect& defaultWindowRect,
                                std::span<const ScreenArea> screens, FramePlacement* frame);

    // Takes the frame's normal-position rectangle into the settings, when there is a
    // frame, and writes the nine values. A rectangle that does not fit the screen holding
    // most of it (see FitsItsScreen; a window system's answer on an absurd screen) is
    // neither taken nor written: the stored one stays. A save that keeps nothing (a held
    // lock, a file the user may not write, a full disk, ...) leaves the file as it was and
    // says why in one line on standard error, as does a save that sets a refused file
    // aside.
    void SaveSettings(GameSettings* settings, const FramePlacement* frame,
                      std::span<const ScreenArea> screens = {});

  private:
    const RegistryStore& registry_;
    bool settingsNotYetLoaded_ = true;
    bool placementNotYetRestored_ = true;
};

}  // namespace tetrakon
