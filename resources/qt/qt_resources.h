#pragma once

// The picture and icon resources, embedded through Qt's resource system under paths
// that carry their ids.

namespace tetrakon {

inline constexpr const char* kStartupBitmapPath = ":/bitmap/1002";
inline constexpr const char* kProgramIconFolder = ":/icon/101";

// Registers the embedded Qt resources. A static library's resources are not registered by
// themselves (nothing else references their object file), so every reader calls this
// first; calls after the first do nothing.
void LoadQtResources();

}  // namespace tetrakon
