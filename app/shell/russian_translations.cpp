#include "app/shell/russian_translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tetrakon {

QTranslator* InstallRussianTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

}  // namespace tetrakon
