#pragma once

#include <QWindow>
#include <functional>

namespace tetrakon {

// The hidden pop-up window ("Fullscreen Window") the display presents into while full
// screen. It is shown only in that mode. Closing it returns to a window and then closes
// the program through the main window; releasing Escape returns to a window.
class FullscreenWindow : public QWindow {
  public:
    struct Handlers {
        std::function<void()> switchScreenMode;
        std::function<void()> closeMainWindow;
    };

    explicit FullscreenWindow(Handlers handlers);

  protected:
    bool event(QEvent* event) override;

  private:
    Handlers handlers_;
};

}  // namespace tetrakon
