#include "app/help_file.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <memory>
#include <string>

namespace tetrakon {
namespace {

// Stand-ins for the desktop's xdg-mime and xdg-open, first on the PATH: xdg-mime names a
// CHM viewer only while the file "viewer" exists; xdg-open writes what it was given to
// "opened".
class HelpFileTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        tools_ = std::make_unique<QTemporaryDir>();
        WriteScript("xdg-mime",
                    "[ -e \"$(dirname \"$0\")/viewer\" ] && echo xchm.desktop\nexit 0\n");
        WriteScript("xdg-open",
                    "printf '%s' \"$1\" > \"$(dirname \"$0\")/opened.tmp\"\n"
                    "mv \"$(dirname \"$0\")/opened.tmp\" \"$(dirname \"$0\")/opened\"\n");
        savedPath_ = qgetenv("PATH");
        qputenv("PATH", tools_->path().toLocal8Bit() + ":" + savedPath_);
    }
    static void TearDownTestSuite() {
        qputenv("PATH", savedPath_);
        tools_.reset();
    }
    void SetUp() override {
        QFile::remove(tools_->filePath("viewer"));
        QFile::remove(tools_->filePath("opened"));
    }

    static void WriteScript(const char* name, const char* body) {
        QFile script(tools_->filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QByteArray("#!/bin/sh\n") + body);
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    static void Touch(const QString& path) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    // What xdg-open was given, once it has run (it runs detached).
    static std::string Opened(int waitMs) {
        QFile opened(tools_->filePath("opened"));
        for (QDeadlineTimer deadline(waitMs); !opened.exists() && !deadline.hasExpired();) {
            QThread::msleep(20);
        }
        return opened.open(QIODevice::ReadOnly) ? opened.readAll().toStdString() : std::string();
    }

    static inline std::unique_ptr<QTemporaryDir> tools_;
    static inline QByteArray savedPath_;
};

TEST_F(HelpFileTest, ChmWithItsViewerThenHtmlPagesThenNothing) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        GTEST_SKIP() << "Qt's offscreen platform opens no documents; run under a display";
    }
    struct Case {
        const char* what;
        bool chm, viewer, pages;
        const char* opened;  // nullptr: nothing opens
    };
    const Case cases[] = {
        {"CHM with a viewer", true, true, true, "/tetrakon.CHM"},
        {"CHM without a viewer", true, false, true, "/help/index.html"},
        {"no CHM", false, true, true, "/help/index.html"},
        {"CHM without a viewer, no pages", true, false, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        QTemporaryDir install;
        const QString program = install.filePath("tetrakon");
        if (c.chm)
            Touch(install.filePath("tetrakon.CHM"));
        if (c.pages)
            Touch(install.filePath("help/index.html"));
        if (c.viewer)
            Touch(tools_->filePath("viewer"));

        EXPECT_EQ(OpenHelpBeside(program), c.opened != nullptr);
        if (c.opened != nullptr) {
            EXPECT_EQ(Opened(5000),
                      QUrl::fromLocalFile(install.path() + c.opened).toString().toStdString());
        } else {
            EXPECT_EQ(Opened(300), "");
        }
    }
}

TEST(HelpFilePathTest, ReplacesOnlyTheProgramFilesExtension) {
    EXPECT_EQ(HelpFilePath("/opt/tetrakon.exe"), "/opt/tetrakon.CHM");
    EXPECT_EQ(HelpFilePath("/opt/game.d/tetrakon"), "/opt/game.d/tetrakon.CHM");
}

}  // namespace
}  // namespace tetrakon
