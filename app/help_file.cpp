#include "app/help_file.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace tetrakon {

QString HelpFilePath(const QString& programPath) {
    const QFileInfo program(programPath);
    const QString suffix = program.suffix();
    QString path = programPath;
    if (!suffix.isEmpty()) {
        path.chop(suffix.size() + 1);
    }
    return path + QStringLiteral(".CHM");
}

void OpenHelp(QWidget* parent) {
    const QString path = HelpFilePath(QCoreApplication::applicationFilePath());
    if (QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        return;
    }
    QMessageBox::warning(parent, QStringLiteral("Tetrakon"),
                         QStringLiteral("Не удаётся открыть файл справки %1.").arg(path));
}

}  // namespace tetrakon
