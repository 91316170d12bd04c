#pragma once

#include <QWidget>

class QDialog;
class QToolButton;

namespace tetrakon {

// On Wayland, the title bars Qt 6.4 draws itself (where the compositor leaves decorations
// to the client, as weston 10 and mutter 43 do) always show minimise and maximise buttons,
// whatever the window's flags say.
// A dialog there gets this title bar instead: its caption and a close button only, as a
// window manager shows a dialog under X11. Dragging it moves the dialog.
class CloseOnlyTitleBar : public QWidget {
  public:
    static constexpr int kHeight = 30;

    // Makes `dialog` frameless and puts the bar across its top, moving its contents down;
    // call before the dialog is first shown.
    explicit CloseOnlyTitleBar(QDialog* dialog);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void FitToDialog();

    QDialog* dialog_;
    QToolButton* close_;
};

// Gives `dialog` a CloseOnlyTitleBar when Qt draws the title bars of this program's
// windows itself: on Wayland, when a window already shown has frame margins.
void UseCloseOnlyTitleBarWhereNeeded(QDialog* dialog);

}  // namespace tetrakon
