#pragma once

#include <QDialog>

namespace tetrakon {

// Dialog 204, "О программе": the program icon and two lines about the program inside a
// frame. It has no buttons; Escape, Enter and the close box close it.
class AboutDialog : public QDialog {
  public:
    static constexpr const char* kNameLine = "Головоломка «Тетракон», версия 1.0";
    static constexpr const char* kContactLine = "Отзывы: tetrakon@example.org";

    explicit AboutDialog(QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Shows the about box modally over `parent` (command 40021).
void ShowAboutBox(QWidget* parent);

}  // namespace tetrakon
