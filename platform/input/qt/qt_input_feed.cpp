#include "platform/input/qt/qt_input_feed.h"

#include <algorithm>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWindow>

#include "platform/input/qt/qt_key_scan_codes.h"

namespace tetrakon::input {

namespace {

// Qt's buttons in the mouse state's order: left, right, middle, then the extra buttons.
constexpr Qt::MouseButton kButtonOrder[8] = {
    Qt::LeftButton,    Qt::RightButton,  Qt::MiddleButton, Qt::BackButton,
    Qt::ForwardButton, Qt::ExtraButton3, Qt::ExtraButton4, Qt::ExtraButton5,
};

// The events the feed reads. Every event of the program passes its filter, so the rest
// are let by before anything else is looked at.
bool IsInputEvent(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::FocusOut:
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            return true;
        default:
            return false;
    }
}

// The input layer's messages, quiet unless QT_LOGGING_RULES turns them on.
Q_LOGGING_CATEGORY(lcInput, "tetrakon.input", QtInfoMsg)

}  // namespace

QtInputFeed::QtInputFeed() {
    if (qGuiApp != nullptr) {
        applicationActive_ = QGuiApplication::applicationState() == Qt::ApplicationActive;
        connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) { OnApplicationState(state); });
        connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
            if (!Watches(window)) {
                qCDebug(lcInput) << "the keyboard went to" << window << "- held keys released";
                ClearKeys();
            }
        });
        // Every object's events pass here, so that key events to a window not watched are
        // seen too: a menu or popup holds the keyboard without taking the focus from the
        // window it opened from.
        qGuiApp->installEventFilter(this);
    }
}

bool QtInputFeed::Watches(const QObject* window) const {
    return std::find(watched_.begin(), watched_.end(), window) != watched_.end();
}

void QtInputFeed::Watch(QWindow* window) {
    if (window != nullptr) {
        watched_.push_back(window);
    }
}

void QtInputFeed::WatchKeys(QWindow* window) {
    if (window != nullptr) {
        watched_.push_back(window);
        keysOnly_.push_back(window);
    }
}

bool QtInputFeed::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!IsInputEvent(type)) {
        return false;
    }
    const bool keyEvent = type == QEvent::KeyPress || type == QEvent::KeyRelease;
    if (!Watches(watched)) {
        if (keyEvent && watched->isWindowType()) {
            ClearKeys();
        }
        return false;
    }
    if (type == QEvent::FocusOut) {
        ClearKeys();
        return false;
    }
    const bool keysOnly = std::find(keysOnly_.begin(), keysOnly_.end(), watched) != keysOnly_.end();
    if (keysOnly && !keyEvent) {
        return false;
    }
    switch (event->type()) {
        case QEvent::KeyPress:
            OnKey(*static_cast<QKeyEvent*>(event), true);
            break;
        case QEvent::KeyRelease:
            OnKey(*static_cast<QKeyEvent*>(event), false);
            break;
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            OnMouse(*static_cast<QMouseEvent*>(event));
            break;
        case QEvent::Wheel:
            totals_.wheel += static_cast<QWheelEvent*>(event)->angleDelta().y();
            break;
        default:
            break;
    }
    return false;
}

void QtInputFeed::OnKey(const QKeyEvent& event, bool down) {
    // A held key repeats as release and press pairs; the key stays down throughout.
    if (event.isAutoRepeat()) {
        return;
    }
    if (const std::uint8_t code = ScanCodeOf(event)) {
        if (down && keys_[code] == 0) {
            ++keyPresses_[code];
        }
        keys_[code] = down ? kDown : 0;
    }
}

void QtInputFeed::OnMouse(const QMouseEvent& event) {
    // Global positions, so that moving from one watched window into another is motion too.
    const QPoint position = event.globalPosition().toPoint();
    if (lastPosition_) {
        totals_.x += position.x() - lastPosition_->x();
        totals_.y += position.y() - lastPosition_->y();
    }
    lastPosition_ = position;
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const bool down = event.buttons().testFlag(kButtonOrder[i]);
        if (down && buttons_[i] == 0) {
            ++buttonPresses_[i];
        }
        buttons_[i] = down ? kDown : 0;
    }
}

void QtInputFeed::OnApplicationState(Qt::ApplicationState state) {
    applicationActive_ = state == Qt::ApplicationActive;
    // Keys released while another program is in front are never seen here.
    if (!applicationActive_) {
        ClearKeys();
    }
}

}  // namespace tetrakon::input
