#pragma once

#include "framework/device_catalog.h"
#include "framework/display_settings.h"
#include "platform/gfx/graphics_api.h"

namespace tetrakon {

// Both setups take the combination's first depth/stencil format and vertex-processing
// kind, and four samples where the combination lists them (else the largest type below
// four it lists, else none) with quality 0.

// Chooses the windowed setup: a windowed combination whose adapter format is the desktop
// format of adapter 0, preferring HAL and, among HAL, equal adapter and back-buffer
// formats. The window size is `clientRect`'s. `requireHal` / `requireRef` restrict the
// device types considered. Writes settings->windowed, makes it current and returns true
// when one was found.
bool PickWindowedSetup(const DeviceCatalog& catalogue, gfx::GraphicsApi& graphics,
                       const gfx::Rect& clientRect, bool requireHal, bool requireRef,
                       DisplaySettings* settings);

// Chooses the full-screen setup and its display mode (the adapter's desktop size and
// refresh rate where possible). Writes settings->fullScreen, makes it current and
// returns true when one was found.
bool PickFullScreenSetup(const DeviceCatalog& catalogue, gfx::GraphicsApi& graphics,
                         bool requireHal, bool requireRef, DisplaySettings* settings);

// Chooses both setups; windowed is current unless there is none or `startFullScreen`
// asks otherwise. NoCompatibleDevice when neither exists.
Result ChooseStartSettings(const DeviceCatalog& catalogue, gfx::GraphicsApi& graphics,
                           const gfx::Rect& clientRect, bool startFullScreen,
                           DisplaySettings* settings);

}  // namespace tetrakon
