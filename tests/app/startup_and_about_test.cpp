#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QColorDialog>
#include <QLabel>
#include <QMainWindow>
#include <QTest>
#include <QTranslator>

#include "app/dialogs/about_dialog.h"
#include "app/logic/program_info.h"
#include "app/shell/program_icon.h"
#include "app/shell/russian_translations.h"
#include "app/startup/startup_splash_wnd.h"
#include "tests/app/modal_script.h"

namespace tetrakon {
namespace {

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

TEST(AboutBox, NamesVersionAndLicenceAndNoContactAddress) {
    AboutDialog dialog(nullptr);
    QStringList lines;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        lines << label->text();
    }
    const QString text = lines.join('\n');
    EXPECT_TRUE(text.contains(QStringLiteral("версия ") + ProgramVersion())) << text.toStdString();
    EXPECT_TRUE(text.contains("MIT")) << text.toStdString();
    EXPECT_FALSE(text.contains('@')) << text.toStdString();
}

TEST(ProgramIcon, DrawnFromItsScalablePictureAtTheScreensScale) {
    const QPixmap pixmap = ProgramIconPixmap(32, 2.0);
    EXPECT_EQ(pixmap.size(), QSize(64, 64));
    EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(32, 32));
    // Inside the red left face and the blue right face, a quarter of the way up.
    const QImage image = pixmap.toImage();
    EXPECT_EQ(image.pixelColor(22, 42), QColor(0xc8, 0x32, 0x2d));
    EXPECT_EQ(image.pixelColor(42, 42), QColor(0x2d, 0x5f, 0xc8));
}

TEST(RussianTranslations, StandardDialogTextsComeInRussian) {
    QTranslator* translator = InstallRussianTranslations(*qApp);
    ASSERT_NE(translator, nullptr);
    EXPECT_EQ(QColorDialog::tr("Select Color"), "Выбор цвета");
    QCoreApplication::removeTranslator(translator);
}

}  // namespace
}  // namespace tetrakon
