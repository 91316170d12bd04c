#pragma once

#include <memory>

#include "platform/input/input_devices.h"

class QWindow;

namespace tetrakon::input {

class QtInputFeed;

// The input interface on Qt. Its keyboard and mouse see the events of the windows handed
// to Watch and nothing else; "foreground" means this program is the active one.
class QtInputSystem : public InputSystem {
  public:
    QtInputSystem();
    ~QtInputSystem() override;

    // Lets `window`'s events feed the devices; the window stays its owner's.
    void Watch(QWindow* window);
    // Lets `window`'s key events feed the keyboard, and nothing else of it.
    void WatchKeys(QWindow* window);

    Result CreateKeyboard(std::unique_ptr<Keyboard>* out) override;
    Result CreateMouse(std::unique_ptr<Mouse>* out) override;

  private:
    // Shared with the devices, which may outlive this object.
    std::shared_ptr<QtInputFeed> feed_;
};

// The handle that names `window` to the input devices.
WindowHandle WindowHandleOf(const QWindow* window);

}  // namespace tetrakon::input
