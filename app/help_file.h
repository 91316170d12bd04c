#pragma once

#include <QString>

class QWidget;

namespace tetrakon {

// The help file: the program file's path with its extension replaced by ".CHM".
QString HelpFilePath(const QString& programPath);

// Opens the help file with the desktop's viewer. When there is no such file, or nothing
// opens it, a message box says so and the program goes on.
void OpenHelp(QWidget* parent);

}  // namespace tetrakon
