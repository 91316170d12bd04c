#pragma once

#include <QDialog>

namespace tetrakon {

// Dialog 204, "О программе": the program icon and two lines about the program (name and
// version; licence and year) inside a frame. It has no buttons; Escape, Enter and the close
// box close it.
class AboutDialog : public QDialog {
  public:
    explicit AboutDialog(QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Shows the about box modally over `parent` (command 40021).
void ShowAboutBox(QWidget* parent);

}  // namespace tetrakon
