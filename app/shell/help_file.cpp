#include "app/shell/help_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include "app/dialogs/qt_message_box.h"

namespace tetrakon {
namespace {

// A lookup that hangs must not keep the help closed for good.
constexpr int kLookUpLimitMs = 3000;
// The shell's messages, quiet unless QT_LOGGING_RULES turns them on.
Q_LOGGING_CATEGORY(lcShell, "tetrakon.shell", QtInfoMsg)

// xdg-open's answer when the program it started ended with a failure.
constexpr int kOpenerActionFailed = 4;

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

HelpOpener::HelpOpener(QString programPath, std::function<void()> failed, QObject* parent)
    : QObject(parent), programPath_(std::move(programPath)), failed_(std::move(failed)) {}

void HelpOpener::Open() {
    if (Running()) {
        return;
    }
    const QString chm = HelpFilePath(programPath_);
    if (!QFileInfo::exists(chm)) {
        OpenFile(HelpPagesPath(programPath_));
        return;
    }
    // xdg-open (xdg-utils 1.1.3) hands a file that no program is registered for to the web
    // browser, which cannot show a CHM file; so ask xdg-mime first whether a viewer is registered.
    const QString type = QMimeDatabase().mimeTypeForFile(chm).name();
    Run(Kind::LookUp, QStringLiteral("xdg-mime"),
        {QStringLiteral("query"), QStringLiteral("default"), type},
        [this, chm](bool succeeded, const QByteArray& viewer) {
            OpenFile(succeeded && !viewer.trimmed().isEmpty() ? chm : HelpPagesPath(programPath_));
        });
}

void HelpOpener::OpenFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        failed_();
        return;
    }
    Run(Kind::Opener, QStringLiteral("xdg-open"), {path},
        [this](bool succeeded, const QByteArray&) {
            if (!succeeded) {
                failed_();
            }
        });
}

void HelpOpener::Run(Kind kind, const QString& program, const QStringList& arguments,
                     std::function<void(bool, const QByteArray&)> done) {
    auto* process = new QProcess(this);
    running_ = process;
    if (kind == Kind::LookUp) {
        QTimer::singleShot(kLookUpLimitMs, process, &QProcess::kill);
    } else {
        process->setProcessChannelMode(QProcess::ForwardedChannels);
    }
    QElapsedTimer running;
    running.start();
    const auto end = [this, process, done](bool succeeded) {
        const QByteArray output = succeeded ? process->readAllStandardOutput() : QByteArray();
        running_ = nullptr;
        process->deleteLater();
        done(succeeded, output);
    };
    connect(process, &QProcess::finished, this,
            [this, kind, running, end](int exitCode, QProcess::ExitStatus status) {
                // An opener ended by a signal, or one whose viewer ran for a while and then
                // failed (without a desktop environment xdg-open, as of xdg-utils 1.1.3,
                // runs the viewer and reports its end by a signal as a failure), has opened the
                // help: the user ended it, and there is nothing to say.
                const bool viewerEnded =
                    kind == Kind::Opener &&
                    (status == QProcess::CrashExit ||
                     (exitCode == kOpenerActionFailed && running.elapsed() >= viewerShownAfterMs_));
                qCDebug(lcShell) << "help:" << (kind == Kind::LookUp ? "look-up" : "opener")
                                 << "ended with" << exitCode << status << "after"
                                 << running.elapsed() << "ms";
                end(viewerEnded || (status == QProcess::NormalExit && exitCode == 0));
            });
    connect(process, &QProcess::errorOccurred, this, [end](QProcess::ProcessError error) {
        // Any other error is followed by `finished`.
        if (error == QProcess::FailedToStart) {
            qCDebug(lcShell) << "help: a program could not start";
            end(false);
        }
    });
    process->start(program, arguments);
}

void OpenHelp(QWidget* parent) {
    // One opener, owned by the window that first asks, so that a request sees whether the
    // viewer of the one before still runs.
    static QPointer<HelpOpener> opener;
    if (opener == nullptr) {
        const QString program = QCoreApplication::applicationFilePath();
        opener = new HelpOpener(
            program,
            [parent, program] {
                ShowMessageBox(parent, QMessageBox::Warning, QStringLiteral("Tetrakon"),
                               QStringLiteral("Не удаётся открыть файл справки %1.")
                                   .arg(HelpFilePath(program)));
            },
            parent);
    }
    opener->Open();
}

}  // namespace tetrakon
