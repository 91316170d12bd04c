#pragma once

#include <QIcon>
#include <QPixmap>

namespace tetrakon {

// Icon 101 in every size it is drawn in (16 to 256 pixels).
QIcon ProgramIcon();

// Icon 101 drawn from its scalable picture at `logicalSize` pixels for a screen of
// `devicePixelRatio`, so that it stays sharp on scaled screens.
QPixmap ProgramIconPixmap(int logicalSize, qreal devicePixelRatio);

}  // namespace tetrakon
