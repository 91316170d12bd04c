#pragma once

#include <vector>

#include "app/logic/settings_store.h"
#include "app/settings/qt_frame_placement.h"
#include "platform/registry/registry_store.h"

namespace tetrakon {

class GameView;

// The screens as the window fit takes them, in device-independent pixels.
std::vector<ScreenArea> ScreenAreas();

// The settings of the per-user registry key, between the store and the running game: read
// into the view before its display starts, the window placement at the first showing, and
// everything written back when the main window closes.
class AppSettings {
  public:
    AppSettings();

    void LoadSettings(GameView& view);
    void RestoreWindowPlacement(QtFramePlacement& frame);
    void SaveSettings(const GameView& view, QtFramePlacement& frame);

  private:
    RegistryStore registry_;
    SettingsStore store_;
    GameSettings settings_;
};

}  // namespace tetrakon
