#pragma once

class QApplication;
class QTranslator;

namespace tetrakon {

// Loads Qt's own Russian texts (qtbase_ru from Qt's translations folder), so the standard
// colour and file choosers and message boxes speak Russian like the rest of the program.
// Returns the installed translator, owned by `app`, or null when Qt's Russian texts are not
// installed (the standard dialogs then stay in English).
QTranslator* InstallRussianTranslations(QApplication& app);

}  // namespace tetrakon
