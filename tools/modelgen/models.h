#pragma once

#include <string>

#include "gfxutil/xfile/xfile.h"

namespace tetrakon::modelgen {

// Model 205: the 22 blocks and 36 stickers, "Cone01".."Cone22" then "Gengon01".."Gengon36".
XFile BuildPuzzleModel();
// Model 206: the 22 blocks alone, at their solved places.
XFile BuildHullModel();
// Model 207: the 72 target triangles "Plane01".."Plane72".
XFile BuildTargetModel();

// The committed file names of the three models, in resource order (205, 206, 207).
constexpr const char* kModelFileNames[3] = {"pyramid.x", "hull.x", "targets.x"};

// The text of model i (0 to 2) as committed, or a failure from the writer.
XStatus ModelText(int model, std::string* text);

// Writes the three text files into directory (which must exist).
XStatus WriteModelFiles(const std::string& directory);

}  // namespace tetrakon::modelgen
