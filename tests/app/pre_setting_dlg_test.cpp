#include "app/dialogs/pre_setting_dlg.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "app/dialogs/close_only_title_bar.h"
#include "app/dialogs/dialog_units.h"
#include "app/dialogs/up_down_control.h"
#include "app/logic/count_text.h"
#include "app/logic/dialog_ids.h"
#include "tests/app/modal_script.h"

namespace tetrakon {
namespace {

// By name, then by C++ type: findChild<T*> needs Q_OBJECT in T, which UpDownControl lacks.
template <typename Control>
Control* ById(QWidget* dialog, int id) {
    return dynamic_cast<Control*>(dialog->findChild<QWidget*>(QString::number(id)));
}

struct ShownPresets {
    CPreSettingDlg dialog{nullptr};
    QLineEdit* count = nullptr;
    UpDownControl* spin = nullptr;

    explicit ShownPresets(const QString& countText) {
        dialog.countText = countText;
        dialog.show();
        count = ById<QLineEdit>(&dialog, IDC_COUNT_EDIT);
        spin = ById<UpDownControl>(&dialog, IDC_COUNT_SPIN);
    }
    void Click(QToolButton* arrow) { QTest::mouseClick(arrow, Qt::LeftButton); }
};

TEST(PresetsDialog, HasTheTemplatesCaptionTextsPlacesAndTabOrder) {
    ShownPresets shown("5");
    CPreSettingDlg& dialog = shown.dialog;
    EXPECT_EQ(dialog.windowTitle(), "Предварительные настройки");
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.size(), units.Size(252, 73));

    struct Expected {
        QWidget* control;
        QString text;
        QRect dlus;
    };
    auto* label = dialog.findChild<QLabel*>();
    auto* frame = dialog.findChild<QGroupBox*>();
    ASSERT_NE(label, nullptr);
    ASSERT_NE(frame, nullptr);
    const Expected controls[] = {
        {ById<QCheckBox>(&dialog, IDC_PICTURE_CHECK), "Картинка фона", {17, 13, 68, 10}},
        {shown.count, "5", {17, 42, 24, 14}},
        {shown.spin, "", {42, 42, 10, 14}},
        {frame, "", {3, 0, 246, 70}},
        {label, "Количество поворотов перемешивания", {58, 45, 134, 8}},
        {ById<QCheckBox>(&dialog, IDC_FAST_CHECK), "Быстрое перемешивание", {17, 27, 100, 10}},
        {ById<QPushButton>(&dialog, IDOK_BUTTON), "Применить", {200, 53, 45, 13}},
    };
    for (const auto& c : controls) {
        ASSERT_NE(c.control, nullptr) << c.text.toStdString();
        const QRect r = c.dlus;
        EXPECT_EQ(c.control->geometry(), units.Rect(r.x(), r.y(), r.width(), r.height()))
            << c.text.toStdString();
        QString text = c.control->property("text").toString();
        EXPECT_EQ(text, c.text);
    }
    EXPECT_EQ(dialog.findChildren<QPushButton*>().size(), 1);
    // What a screen reader says: the count box is named by its label.
    const std::pair<QWidget*, QString> names[] = {{shown.count, label->text()},
                                                  {shown.spin->upButton(), "Больше"},
                                                  {shown.spin->downButton(), "Меньше"}};
    for (const auto& [control, name] : names) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), name);
    }

    // Focus starts on the first tab stop; Tab visits the others in template order and
    // skips the arrows.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.focusWidget(), controls[0].control);
    const QWidget* tabStops[] = {shown.count, controls[5].control, controls[6].control};
    for (const QWidget* next : tabStops) {
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(dialog.focusWidget(), next);
    }
}

TEST(PresetsDialog, WithATitleBarOfItsOwnHasOnlyACloseButtonAndTheControlsBelowIt) {
    CPreSettingDlg dialog(nullptr);
    QWidget* apply = ById<QPushButton>(&dialog, IDOK_BUTTON);
    const QRect applyBefore = apply->geometry();
    auto* bar = new CloseOnlyTitleBar(&dialog);
    dialog.show();
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(apply->geometry(), applyBefore.translated(0, CloseOnlyTitleBar::kHeight));
    const auto buttons = bar->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 1);
    buttons[0]->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(PresetsDialog, ArrowsStepByTwoAndWrapBelowTheRangeToItsTop) {
    ShownPresets shown("5");
    shown.Click(shown.spin->upButton());
    EXPECT_EQ(shown.count->text(), "7");
    shown.count->setText("5");
    shown.Click(shown.spin->downButton());
    EXPECT_EQ(shown.count->text(), "3");
    shown.Click(shown.spin->downButton());
    EXPECT_EQ(shown.count->text(), "100");
    shown.Click(shown.spin->upButton());
    EXPECT_EQ(shown.count->text(), "2");
}

TEST(PresetsDialog, TypingAFourthCharacterIsRefusedButALongStoredTextCanBeShortened) {
    ShownPresets typed("");
    QTest::keyClicks(typed.count, "1234");
    EXPECT_EQ(typed.count->text(), "123");

    ShownPresets stored("10000");
    EXPECT_EQ(stored.count->text(), "10000");
    stored.count->end(false);
    QTest::keyClick(stored.count, Qt::Key_Backspace);
    EXPECT_EQ(stored.count->text(), "1000");
    QTest::keyClicks(stored.count, "7");
    EXPECT_EQ(stored.count->text(), "1000");
}

TEST(PresetsDialog, ApplyingAStoredTextOfFourCharactersWarnsAndKeepsTheDialogOpen) {
    ShownPresets shown("1000");
    QString warning;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        warning = box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        box->accept();
    });
    ById<QPushButton>(&shown.dialog, IDOK_BUTTON)->click();
    EXPECT_TRUE(warning.contains("3")) << warning.toStdString();
    EXPECT_TRUE(shown.dialog.isVisible());
    EXPECT_EQ(shown.dialog.result(), QDialog::Rejected);
}

// Changes every control of the shown dialog, then ends it as `end` does.
void ChangeEverythingThen(std::function<void(QDialog*)> end) {
    WhenModal([end](QWidget* modal) {
        ById<QCheckBox>(modal, IDC_PICTURE_CHECK)->click();
        ById<QCheckBox>(modal, IDC_FAST_CHECK)->click();
        ById<QLineEdit>(modal, IDC_COUNT_EDIT)->setText("abc");
        end(qobject_cast<QDialog*>(modal));
    });
}

TEST(PresetsDialog, ApplyStoresTheSwitchesAndANonNumberAsZero) {
    PresetValues values{0, 1, 9};
    ChangeEverythingThen([](QDialog* d) { ById<QPushButton>(d, IDOK_BUTTON)->click(); });
    EXPECT_TRUE(RunPresetsDialog(nullptr, &values));
    EXPECT_EQ(values.picture, 1u);
    EXPECT_EQ(values.fastRandomRotate, 0u);
    EXPECT_EQ(values.numberRandomRotate, 0);
}

TEST(PresetsDialog, CloseBoxAndEscapeChangeNothing) {
    const std::function<void(QDialog*)> endings[] = {
        [](QDialog* d) { d->close(); },
        [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); },
    };
    for (const auto& end : endings) {
        PresetValues values{1, 1, 12};
        ChangeEverythingThen(end);
        EXPECT_FALSE(RunPresetsDialog(nullptr, &values));
        EXPECT_EQ(values.picture, 1u);
        EXPECT_EQ(values.fastRandomRotate, 1u);
        EXPECT_EQ(values.numberRandomRotate, 12);
    }
}

TEST(CountFromText, ReadsTheLeadingNumberLikeTheRuntime) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"abc", 0},
        {"", 0},
        {" 12x", 12},
        {"-5", -5},
        {"+7", 7},
        {"- 3", 0},
        {"99999999999", 2147483647},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(CountFromText(text), expected) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace tetrakon
