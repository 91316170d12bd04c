#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tetrakon {

// A pair of arrow buttons bound to a buddy edit box, as the platform's up-down control with
// wrapping and "set buddy integer": each click takes the current number from the buddy's
// text, moves it by the step and writes it back as decimal text. A step that leaves the
// range goes to the other end of it. The arrows never take the keyboard focus, and the
// keyboard's arrow keys do not drive them.
class UpDownControl : public QWidget {
  public:
    explicit UpDownControl(QWidget* parent);

    void setBuddy(QLineEdit* buddy) { buddy_ = buddy; }
    void setRange(int lower, int upper);
    void setStep(int step) { step_ = step; }

    int position() const { return position_; }
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Move(int direction);

    QLineEdit* buddy_ = nullptr;
    QToolButton* up_;
    QToolButton* down_;
    int lower_ = 0;
    int upper_ = 100;
    int step_ = 1;
    int position_ = 0;
};

// One step of `step` (signed) from `position` in [lower, upper], wrapping to the other end.
int WrappedStep(int position, int step, int lower, int upper);

}  // namespace tetrakon
