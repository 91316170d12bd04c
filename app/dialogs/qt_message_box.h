#pragma once

#include <QMessageBox>

#include "framework/message_box.h"

namespace tetrakon {

// The framework's error and warning boxes as modal QMessageBoxes without a parent window.
class QtMessageBox : public MessageBox {
  public:
    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override;
};

// A modal message box with an OK button, with a close-only title bar where Qt would draw
// minimise and maximise buttons on it.
void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                    const QString& text);

}  // namespace tetrakon
