#include "app/shell/help_file.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace tetrakon {
namespace {

// Stand-ins for the desktop's xdg-mime and xdg-open, first on the PATH: xdg-mime names a
// CHM viewer only while the file "viewer" exists; xdg-open adds what it was given to
// "opened", runs as long as "hold" exists and ends, after the pause in "status", with its
// code (0 without), or by a signal for "TERM".
class HelpFileTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        tools_ = std::make_unique<QTemporaryDir>();
        WriteScript("xdg-mime", "[ -e \"$here/viewer\" ] && echo xchm.desktop\nexit 0\n");
        WriteScript("xdg-open",
                    "echo \"$1\" >> \"$here/opened\"\n"
                    "while [ -e \"$here/hold\" ]; do sleep 0.05; done\n"
                    "code=0; pause=0; read -r code pause < \"$here/status\"\n"
                    "sleep \"${pause:-0}\"; [ \"$code\" = TERM ] && kill -TERM $$\n"
                    "exit \"$code\"\n");
        savedPath_ = qgetenv("PATH");
    }
    static void TearDownTestSuite() {
        qputenv("PATH", savedPath_);
        tools_.reset();
    }
    void SetUp() override {
        for (const char* name : {"viewer", "opened", "hold", "status"}) {
            QFile::remove(tools_->filePath(QString::fromLatin1(name)));
        }
        qputenv("PATH", tools_->path().toLocal8Bit() + ":" + savedPath_);
    }

    static void WriteScript(const char* name, const char* body) {
        QFile script(tools_->filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QByteArray("#!/bin/sh\nhere=\"$(dirname \"$0\")\"\n") + body);
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    static void Write(const QString& path, const QByteArray& text = {}) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    // Runs the event loop until the opener is done, for at most five seconds.
    static void Finish(const HelpOpener& opener) {
        for (QDeadlineTimer deadline(5000); opener.Running() && !deadline.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        EXPECT_FALSE(opener.Running());
    }
    // The files xdg-open was given, one a line.
    static std::string Opened() {
        QFile opened(tools_->filePath("opened"));
        return opened.open(QIODevice::ReadOnly) ? opened.readAll().toStdString() : std::string();
    }

    static inline std::unique_ptr<QTemporaryDir> tools_;
    static inline QByteArray savedPath_;
};

TEST_F(HelpFileTest, ChmWithItsViewerThenHtmlPagesAndEveryFailureSaid) {
    struct Case {
        const char* what;
        bool chm, viewer, pages;
        const char* openerStatus;  // nullptr: no xdg-utils on the PATH at all
        const char* opened;        // the file handed to xdg-open, "" for none
        bool failed;
    };
    const Case cases[] = {
        {"CHM with a viewer", true, true, true, "0", "/tetrakon.CHM", false},
        {"CHM without a viewer", true, false, true, "0", "/help/index.html", false},
        {"no CHM", false, true, true, "0", "/help/index.html", false},
        {"CHM without a viewer, no pages", true, false, false, "0", "", true},
        {"the opener finds no program", true, false, true, "3", "/help/index.html", true},
        {"no opener", true, true, true, nullptr, "", true},
        {"the viewer fails at once", false, false, true, "4", "/help/index.html", true},
        {"the viewer is ended after a while", false, false, true, "4 0.3", "/help/index.html",
         false},
        {"the opener is ended by a signal", false, false, true, "TERM", "/help/index.html", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        QTemporaryDir install;
        if (c.chm)
            Write(install.filePath("tetrakon.CHM"));
        if (c.pages)
            Write(install.filePath("help/index.html"));
        if (c.viewer)
            Write(tools_->filePath("viewer"));
        if (c.openerStatus != nullptr)
            Write(tools_->filePath("status"), c.openerStatus);
        else
            qputenv("PATH", install.path().toLocal8Bit());

        int failures = 0;
        HelpOpener opener(install.filePath("tetrakon"), [&failures] { ++failures; });
        opener.SetViewerShownAfter(200);
        opener.Open();
        Finish(opener);

        const std::string opened =
            *c.opened == '\0' ? "" : install.path().toStdString() + c.opened + "\n";
        EXPECT_EQ(Opened(), opened);
        EXPECT_EQ(failures, c.failed ? 1 : 0);
    }
}

TEST_F(HelpFileTest, ASecondRequestWhileTheViewerRunsStartsNoOther) {
    QTemporaryDir install;
    Write(install.filePath("help/index.html"));
    Write(tools_->filePath("hold"));
    HelpOpener opener(install.filePath("tetrakon"), [] {});
    opener.Open();
    for (QDeadlineTimer deadline(5000); Opened().empty() && !deadline.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    opener.Open();
    QFile::remove(tools_->filePath("hold"));
    Finish(opener);
    opener.Open();
    Finish(opener);

    const std::string once = install.filePath("help/index.html").toStdString() + "\n";
    EXPECT_EQ(Opened(), once + once);
}

TEST(HelpFilePathTest, ReplacesOnlyTheProgramFilesExtension) {
    EXPECT_EQ(HelpFilePath("/opt/tetrakon.exe"), "/opt/tetrakon.CHM");
    EXPECT_EQ(HelpFilePath("/opt/game.d/tetrakon"), "/opt/game.d/tetrakon.CHM");
}

}  // namespace
}  // namespace tetrakon
