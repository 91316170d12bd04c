#pragma once

#include <QIcon>
#include <QPixmap>

namespace tetrakon {

// Icon 101 in every size it is drawn in (16 to 256 pixels).
QIcon ProgramIcon();

// Makes icon 101 the icon of every window of the program, once. The program calls it when
// its first frame is on screen, so that decoding the icon's six sizes does not delay that
// frame, and before any message box, which should not show without it.
void InstallProgramIcon();

// Icon 101 drawn from its scalable picture at `logicalSize` pixels for a screen of
// `devicePixelRatio`, so that it stays sharp on scaled screens.
QPixmap ProgramIconPixmap(int logicalSize, qreal devicePixelRatio);

}  // namespace tetrakon
