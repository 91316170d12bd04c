#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tetrakon {

class UpDownControl;

// The settings the presets dialog edits, as the game keeps them.
struct PresetValues {
    std::uint32_t picture = 0;            // show the background picture (0 or 1)
    std::uint32_t fastRandomRotate = 0;   // fast shuffle (0 or 1)
    std::int32_t numberRandomRotate = 5;  // number of shuffle turns
};

// Dialog 203, "Предварительные настройки": the picture switch, the fast-shuffle switch and
// the number of shuffle turns with its up-down arrows. "Применить" reads the controls back
// into the members and ends the dialog; the close box and Escape end it reading nothing.
class CPreSettingDlg : public QDialog {
  public:
    static constexpr int kCountMaxChars = 3;
    static constexpr int kSpinLower = 2;
    static constexpr int kSpinUpper = 100;
    static constexpr int kSpinStep = 2;

    explicit CPreSettingDlg(QWidget* parent);

    // The members the controls are loaded from when the dialog is shown, and read back
    // into by "Применить".
    bool pictureCheck = false;
    bool fastCheck = false;
    QString countText = QStringLiteral("5");

    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();

    QCheckBox* picture_;
    QLineEdit* count_;
    UpDownControl* spin_;
    QCheckBox* fast_;
    QPushButton* apply_;
};

// Shows the presets dialog for `values`, parented to `parent`. On "Применить" writes the
// new values back and returns true; otherwise leaves them as they were.
bool RunPresetsDialog(QWidget* parent, PresetValues* values);

}  // namespace tetrakon
