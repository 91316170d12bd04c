#pragma once

#include <QString>

class QWidget;

namespace tetrakon {

// The help file: the program file's path with its extension replaced by ".CHM".
QString HelpFilePath(const QString& programPath);

// The same help as HTML pages: help/index.html in the program's folder.
QString HelpPagesPath(const QString& programPath);

// Opens the help of the program at programPath with the desktop's programs: the .CHM
// when a viewer is registered for it, otherwise the HTML pages in the web browser.
// Returns false when neither exists or nothing opens it.
bool OpenHelpBeside(const QString& programPath);

// Opens the help of this program. When no help opens, a message box says so and the
// program goes on.
void OpenHelp(QWidget* parent);

}  // namespace tetrakon
