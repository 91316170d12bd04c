#pragma once

#include "framework/message_box.h"

namespace tetrakon {

// The framework's error and warning boxes as modal QMessageBoxes without a parent window.
class QtMessageBox : public MessageBox {
  public:
    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override;
};

}  // namespace tetrakon
