#include "app/help_file.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

namespace tetrakon {
namespace {

// xdg-open hands a file that no program is registered for to the web browser, which
// cannot show a CHM file; so ask xdg-mime first whether a viewer is registered.
bool HasRegisteredViewer(const QString& path) {
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), type});
    return query.waitForFinished(3000) && query.exitStatus() == QProcess::NormalExit &&
           query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

bool OpenWithDesktop(const QString& path) {
    return QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace

QString HelpFilePath(const QString& programPath) {
    const QFileInfo program(programPath);
    const QString suffix = program.suffix();
    QString path = programPath;
    if (!suffix.isEmpty()) {
        path.chop(suffix.size() + 1);
    }
    return path + QStringLiteral(".CHM");
}

QString HelpPagesPath(const QString& programPath) {
    return QFileInfo(programPath).dir().filePath(QStringLiteral("help/index.html"));
}

bool OpenHelpBeside(const QString& programPath) {
    const QString chm = HelpFilePath(programPath);
    if (QFileInfo::exists(chm) && HasRegisteredViewer(chm) && OpenWithDesktop(chm)) {
        return true;
    }
    return OpenWithDesktop(HelpPagesPath(programPath));
}

void OpenHelp(QWidget* parent) {
    const QString program = QCoreApplication::applicationFilePath();
    if (OpenHelpBeside(program)) {
        return;
    }
    QMessageBox::warning(
        parent, QStringLiteral("Tetrakon"),
        QStringLiteral("Не удаётся открыть файл справки %1.").arg(HelpFilePath(program)));
}

}  // namespace tetrakon
