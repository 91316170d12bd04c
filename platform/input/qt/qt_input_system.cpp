#include "platform/input/qt/qt_input_system.h"

#include <QWindow>

#include "platform/input/qt/qt_input_devices.h"
#include "platform/input/qt/qt_input_feed.h"

namespace tetrakon::input {

QtInputSystem::QtInputSystem() : feed_(std::make_shared<QtInputFeed>()) {}

QtInputSystem::~QtInputSystem() = default;

void QtInputSystem::Watch(QWindow* window) {
    feed_->Watch(window);
}

void QtInputSystem::WatchKeys(QWindow* window) {
    feed_->WatchKeys(window);
}

Result QtInputSystem::CreateKeyboard(std::unique_ptr<Keyboard>* out) {
    *out = std::make_unique<QtKeyboard>(feed_);
    return S_OK;
}

Result QtInputSystem::CreateMouse(std::unique_ptr<Mouse>* out) {
    *out = std::make_unique<QtMouse>(feed_);
    return S_OK;
}

WindowHandle WindowHandleOf(const QWindow* window) {
    return reinterpret_cast<WindowHandle>(window);
}

}  // namespace tetrakon::input
