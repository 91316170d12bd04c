#pragma once

#include <QIcon>

namespace tetrakon {

// Icon 101 in every size it is drawn in (16 to 256 pixels).
QIcon ProgramIcon();

}  // namespace tetrakon
