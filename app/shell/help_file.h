#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QProcess;
class QWidget;

namespace tetrakon {

// The help file: the program file's path with its extension replaced by ".CHM".
QString HelpFilePath(const QString& programPath);

// The same help as HTML pages: help/index.html in the program's folder.
QString HelpPagesPath(const QString& programPath);

// Opens the help of the program at programPath with the desktop's programs, without ever
// waiting for them: the .CHM when a viewer is registered for it (asked of xdg-mime),
// otherwise the HTML pages in the web browser, each through xdg-open. The opener is
// watched to its end, so a failure is known: `failed` runs when neither file exists, the
// opener cannot be started or it ends with a failure. Without a desktop environment
// xdg-open runs the viewer and ends with it; while a lookup or an opener started here
// still runs, another request is ignored, so a second request starts no second viewer.
// An opener ended by a signal, or one that reports its viewer's failure after the viewer
// ran for a while, is not a failure to open: the user ended the viewer.
class HelpOpener : public QObject {
  public:
    HelpOpener(QString programPath, std::function<void()> failed, QObject* parent = nullptr);

    void Open();
    // Whether a lookup or an opener started here still runs.
    bool Running() const { return running_ != nullptr; }
    // How long a viewer must have run before its failure counts as the user's ending.
    void SetViewerShownAfter(int ms) { viewerShownAfterMs_ = ms; }

  private:
    // A lookup's output is read and it is given a time limit; an opener writes where this
    // program does and may run as long as its viewer.
    enum class Kind { LookUp, Opener };
    // Runs `program` and hands `done` whether it ended normally with exit code 0, and a
    // lookup's output.
    void Run(Kind kind, const QString& program, const QStringList& arguments,
             std::function<void(bool succeeded, const QByteArray& output)> done);
    void OpenFile(const QString& path);

    QString programPath_;
    std::function<void()> failed_;
    QProcess* running_ = nullptr;
    int viewerShownAfterMs_ = 2000;
};

// Opens the help of this program. When no help opens, a message box says so and the
// program goes on.
void OpenHelp(QWidget* parent);

}  // namespace tetrakon
