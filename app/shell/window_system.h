#pragma once

namespace tetrakon {

// Whether Qt runs on Wayland. A Wayland client neither places its top-level windows nor
// learns where they are, draws its own title bar, and hears from the compositor when it
// may show the next frame.
bool OnWayland();

}  // namespace tetrakon
