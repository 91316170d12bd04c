#pragma once

#include <QObject>
#include <QPoint>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/input/input_devices.h"

class QWindow;
class QKeyEvent;
class QMouseEvent;

namespace tetrakon::input {

// Collects what the keyboard and mouse devices report from the events of the windows it
// watches: the keys held, the buttons held and running sums of motion and wheel. It only
// looks at the events and lets every one of them on to its window. When the keyboard goes
// to a window it does not watch (a menu, a popup, a dialog, another program), the keys
// are released, as a keyboard that is lost would be: their releases go there.
class QtInputFeed : public QObject {
  public:
    // Sums since the feed began; a device reports the difference between two reads.
    struct MouseTotals {
        std::int64_t x = 0;
        std::int64_t y = 0;
        std::int64_t wheel = 0;
    };

    using KeyPresses = std::array<std::uint32_t, 256>;
    using ButtonPresses = std::array<std::uint32_t, 8>;

    QtInputFeed();

    // Feeds the devices with `window`'s key, mouse, wheel and focus events.
    void Watch(QWindow* window);
    // Feeds the keyboard with `window`'s key events only: the keyboard is read whenever the
    // program is in front, also while the focus is on a window that is not drawn into.
    void WatchKeys(QWindow* window);

    // Whether this program is the active one, as Qt last announced.
    bool applicationActive() const { return applicationActive_; }
    const KeyboardState& keys() const { return keys_; }
    const std::array<std::uint8_t, 8>& buttons() const { return buttons_; }
    // How often each key and button went down since the feed began.
    const KeyPresses& keyPresses() const { return keyPresses_; }
    const ButtonPresses& buttonPresses() const { return buttonPresses_; }
    const MouseTotals& mouseTotals() const { return totals_; }

    void ClearKeys() { keys_.fill(0); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnKey(const QKeyEvent& event, bool down);
    void OnMouse(const QMouseEvent& event);
    void OnApplicationState(Qt::ApplicationState state);
    bool Watches(const QObject* window) const;

    bool applicationActive_ = false;
    KeyboardState keys_{};
    std::array<std::uint8_t, 8> buttons_{};
    KeyPresses keyPresses_{};
    ButtonPresses buttonPresses_{};
    MouseTotals totals_;
    // Global cursor position of the last mouse event, in screen pixels.
    std::optional<QPoint> lastPosition_;
    std::vector<const QObject*> watched_;
    std::vector<const QObject*> keysOnly_;
};

}  // namespace tetrakon::input
