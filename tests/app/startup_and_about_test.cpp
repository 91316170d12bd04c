#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QColorDialog>
#include <QMainWindow>
#include <QTest>
#include <QTranslator>

#include "app/about_dialog.h"
#include "app/russian_translations.h"
#include "app/startup_splash_wnd.h"
#include "app/startup_switches.h"
#include "tests/app/modal_script.h"

namespace tetrakon {
namespace {

TEST(StartupPictureAllowed, OnlyTheEmbeddingAndAutomationSwitchesSuppressIt) {
    const std::pair<std::vector<const char*>, bool> cases[] = {
        {{"tetrakon"}, true},
        {{"tetrakon", "picture.bmp"}, true},
        {{"tetrakon", "-Embedding"}, false},
        {{"tetrakon", "/automation"}, false},
        {{"tetrakon", "x", "/EMBEDDING"}, false},
        {{"tetrakon", "Embedding"}, true},
        {{"tetrakon", "-Embeddings"}, true},
        {{"tetrakon", "--Automation"}, true},
    };
    for (const auto& [argv, allowed] : cases) {
        EXPECT_EQ(StartupPictureAllowed(static_cast<int>(argv.size()), argv.data()), allowed)
            << argv.back();
    }
}

TEST(StartupPicture, ShowsOnceAndAMouseMoveHandsOverToTheMainWindow) {
    QMainWindow mainWindow;
    ASSERT_TRUE(ShowStartupPicture(&mainWindow));
    CStartupSplashWnd* picture = CStartupSplashWnd::Current();
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->isVisible());
    EXPECT_EQ(picture->size(), QSize(288, 218));
    EXPECT_FALSE(ShowStartupPicture(&mainWindow));

    QTest::mouseMove(picture->windowHandle(), QPoint(5, 7));
    EXPECT_EQ(CStartupSplashWnd::Current(), nullptr);
    EXPECT_TRUE(mainWindow.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(StartupPicture, NotShownWhenTheCommandLineForbidsIt) {
    SetStartupPictureAllowed(false);
    EXPECT_FALSE(ShowStartupPicture(nullptr));
    EXPECT_EQ(CStartupSplashWnd::Current(), nullptr);
    SetStartupPictureAllowed(true);
}

TEST(AboutBox, HasNoButtonsAndClosesWithEscapeOrEnter) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        bool seen = false;
        WhenModal([&](QWidget* modal) {
            seen = true;
            EXPECT_EQ(modal->windowTitle(), "О программе");
            EXPECT_TRUE(modal->findChildren<QAbstractButton*>().isEmpty());
            QTest::keyClick(modal, key);
        });
        ShowAboutBox(nullptr);  // returns only once closed
        EXPECT_TRUE(seen);
    }
}

TEST(RussianTranslations, StandardDialogTextsComeInRussian) {
    QTranslator* translator = InstallRussianTranslations(*qApp);
    ASSERT_NE(translator, nullptr);
    EXPECT_EQ(QColorDialog::tr("Select Color"), "Выбор цвета");
    QCoreApplication::removeTranslator(translator);
}

}  // namespace
}  // namespace tetrakon
