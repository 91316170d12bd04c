#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/message_box.h"
#include "tests/fakes/fake_device.h"

namespace tetrakon {

// Records every box it is asked to show, and logs "MessageBox Error" / "MessageBox
// Warning" in a CallLog shared with other fakes so that tests see the order of events.
class RecordingMessageBox : public MessageBox {
  public:
    struct Shown {
        std::string text;
        std::string caption;
        MessageIcon icon;
    };

    explicit RecordingMessageBox(
        std::shared_ptr<gfx::CallLog> log = std::make_shared<gfx::CallLog>())
        : log_(std::move(log)) {}

    std::vector<Shown> shown;

    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override {
        log_->Add(icon == MessageIcon::Error ? "MessageBox Error" : "MessageBox Warning");
        shown.push_back({text, caption, icon});
    }

  private:
    std::shared_ptr<gfx::CallLog> log_;
};

}  // namespace tetrakon
