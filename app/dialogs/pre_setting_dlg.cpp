#include "app/dialogs/pre_setting_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QValidator>

#include "app/dialogs/close_only_title_bar.h"
#include "app/dialogs/dialog_units.h"
#include "app/dialogs/qt_message_box.h"
#include "app/dialogs/up_down_control.h"
#include "app/logic/count_text.h"
#include "app/logic/dialog_ids.h"
#include "app/shell/program_icon.h"

namespace tetrakon {

namespace {

// Refuses typing that would make the text longer than the limit, as an edit box with a text
// limit does. Text longer than the limit that was put there by the program stays, and can
// still be shortened.
class TypingLengthLimit : public QValidator {
  public:
    TypingLengthLimit(QLineEdit* edit, int maxChars) : QValidator(edit), maxChars_(maxChars) {
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { acceptedLength_ = text.size(); });
    }

    State validate(QString& input, int& /*pos*/) const override {
        const bool grows = input.size() > acceptedLength_;
        return grows && input.size() > maxChars_ ? Invalid : Acceptable;
    }

  private:
    int maxChars_;
    qsizetype acceptedLength_ = 0;
};

template <typename Control>
Control* Place(Control* control, int id, const DialogUnits& units, QRect dlus) {
    if (id != 0) {
        control->setObjectName(QString::number(id));
    }
    control->setGeometry(units.Rect(dlus.x(), dlus.y(), dlus.width(), dlus.height()));
    return control;
}

}  // namespace

CPreSettingDlg::CPreSettingDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QString::number(IDD_PRESETS));
    setWindowTitle(QStringLiteral("Предварительные настройки"));
    setWindowIcon(ProgramIcon());
    setFont(DialogFont());
    BuildControls();
    UseCloseOnlyTitleBarWhereNeeded(this);
}

void CPreSettingDlg::BuildControls() {
    const DialogUnits units(font());
    setFixedSize(units.Size(252, 73));

    // In the template's order, which is also the tab order of the tab stops.
    picture_ = Place(new QCheckBox(QStringLiteral("Картинка фона"), this), IDC_PICTURE_CHECK, units,
                     {17, 13, 68, 10});
    count_ = Place(new QLineEdit(this), IDC_COUNT_EDIT, units, {17, 42, 24, 14});
    count_->setValidator(new TypingLengthLimit(count_, kCountMaxChars));
    spin_ = Place(new UpDownControl(this), IDC_COUNT_SPIN, units, {42, 42, 10, 14});
    auto* frame = Place(new QGroupBox(this), 0, units, {3, 0, 246, 70});
    auto* countLabel = Place(new QLabel(QStringLiteral("Количество поворотов перемешивания"), this),
                             0, units, {58, 45, 134, 8});
    // A screen reader names the count box by its label; the text has no mnemonic, so this
    // adds no key.
    countLabel->setBuddy(count_);
    fast_ = Place(new QCheckBox(QStringLiteral("Быстрое перемешивание"), this), IDC_FAST_CHECK,
                  units, {17, 27, 100, 10});
    apply_ = Place(new QPushButton(QStringLiteral("Применить"), this), IDOK_BUTTON, units,
                   {200, 53, 45, 13});
    apply_->setDefault(true);
    connect(apply_, &QPushButton::clicked, this, &CPreSettingDlg::accept);

    // The frame is drawn behind the controls it surrounds and takes none of their clicks.
    frame->lower();

    spin_->setBuddy(count_);
    spin_->setRange(kSpinLower, kSpinUpper);
    // Each click moves the number by two, whichever way.
    spin_->setStep(kSpinStep);

    setTabOrder(picture_, count_);
    setTabOrder(count_, fast_);
    setTabOrder(fast_, apply_);
}

void CPreSettingDlg::showEvent(QShowEvent* event) {
    picture_->setChecked(pictureCheck);
    fast_->setChecked(fastCheck);
    count_->setText(countText);
    picture_->setFocus();
    QDialog::showEvent(event);
}

void CPreSettingDlg::accept() {
    if (count_->text().size() > kCountMaxChars) {
        // Only a stored number of four or more characters gets here; typing cannot.
        ShowMessageBox(this, QMessageBox::Warning, windowTitle(),
                       QStringLiteral("Введите не более %1 символов.").arg(kCountMaxChars));
        count_->setFocus();
        count_->selectAll();
        return;
    }
    pictureCheck = picture_->isChecked();
    fastCheck = fast_->isChecked();
    countText = count_->text();
    QDialog::accept();
}

bool RunPresetsDialog(QWidget* parent, PresetValues* values) {
    CPreSettingDlg dialog(parent);
    dialog.countText = QString::fromStdString(CountText(values->numberRandomRotate));
    dialog.pictureCheck = values->picture != 0;
    dialog.fastCheck = values->fastRandomRotate != 0;
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    values->picture = dialog.pictureCheck ? 1 : 0;
    values->fastRandomRotate = dialog.fastCheck ? 1 : 0;
    values->numberRandomRotate = CountFromText(dialog.countText.toStdString());
    return true;
}

}  // namespace tetrakon
