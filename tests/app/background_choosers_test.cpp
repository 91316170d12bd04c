#include "app/shell/background_choosers.h"

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QFileDialog>
#include <QTemporaryDir>

#include "tests/app/modal_script.h"

namespace tetrakon {
namespace {

TEST(BackgroundColour, ChosenColourGetsFullAlphaAndKeepsItsChannelsInPlace) {
    EXPECT_EQ(BackgroundColourFromRgb(0xFF, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(BackgroundColourFromRgb(0x12, 0x34, 0x56), 0xFF123456u);
}

TEST(BackgroundColour, ChooserOpensOnBlackAndReturnsTheChoiceOrNothing) {
    QColor openedOn;
    WhenModal([&](QWidget* modal) {
        auto* chooser = qobject_cast<QColorDialog*>(modal);
        ASSERT_NE(chooser, nullptr);
        openedOn = chooser->currentColor();
        chooser->setCurrentColor(QColor(0x12, 0x34, 0x56));
        chooser->accept();
    });
    EXPECT_EQ(ChooseBackgroundColour(nullptr), 0xFF123456u);
    EXPECT_EQ(openedOn, QColor(Qt::black));

    WhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(ChooseBackgroundColour(nullptr), std::nullopt);
}

TEST(BackgroundPicture, ANameTypedWithoutExtensionGetsBmp) {
    QTemporaryDir folder;
    WhenModal([&](QWidget* modal) {
        auto* chooser = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(chooser, nullptr);
        EXPECT_TRUE(chooser->nameFilters().isEmpty() ||
                    chooser->nameFilters() == QStringList{QFileDialog::tr("All Files (*)")});
        chooser->setDirectory(folder.path());
        chooser->selectFile("sky");
        static_cast<QDialog*>(chooser)->accept();
    });
    EXPECT_EQ(ChooseBackgroundPicture(nullptr), folder.filePath("sky.bmp").toStdString());
}

}  // namespace
}  // namespace tetrakon
