#include "app/startup/startup_splash_wnd.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include "app/shell/window_system.h"
#include "resources/qt/qt_resources.h"

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace tetrakon {

namespace {

bool pictureAllowed = true;
CStartupSplashWnd* currentPicture = nullptr;

// A new window appears on screen only once the window system has exposed it. The picture
// must be seen before the long 3-D start-up that follows, with no event loop running yet,
// so wait for that here (briefly; a window system that never exposes it just delays us).
void WaitUntilExposed(QWidget* widget) {
    constexpr int kLimitMs = 1000;
    QElapsedTimer waited;
    waited.start();
    while (widget->windowHandle() != nullptr && !widget->windowHandle()->isExposed() &&
           waited.elapsed() < kLimitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(5);
    }
}

// When the main window appears behind the picture, the window system may have it repainted
// while the program is still busy starting and cannot repaint it; the main window's empty
// inside would show there until it can. The X server keeps the picture's pixels instead.
void KeepPixelsInServer(QWidget& window) {
#if QT_CONFIG(xcb)
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() == QLatin1String("xcb") && x11 != nullptr &&
        x11->connection() != nullptr) {
        const std::uint32_t always = XCB_BACKING_STORE_ALWAYS;
        xcb_change_window_attributes(x11->connection(), window.winId(), XCB_CW_BACKING_STORE,
                                     &always);
    }
#endif
}

}  // namespace

void SetStartupPictureAllowed(bool allowed) {
    pictureAllowed = allowed;
}

CStartupSplashWnd* CStartupSplashWnd::Current() {
    return currentPicture;
}

bool ShowStartupPicture(QWidget* mainWindow, std::function<void()> onHidden) {
    if (!pictureAllowed || currentPicture != nullptr) {
        return false;
    }
    LoadQtResources();
    const QPixmap bitmap(QString::fromLatin1(kStartupBitmapPath));
    if (bitmap.isNull()) {
        return false;
    }
    auto* picture = new CStartupSplashWnd(bitmap, mainWindow, std::move(onHidden));
    if (mainWindow != nullptr) {
        // Owned by the main window, so that the window manager keeps it above that window.
        mainWindow->winId();
        picture->winId();
        picture->windowHandle()->setTransientParent(mainWindow->windowHandle());
    }
    KeepPixelsInServer(*picture);
    picture->show();
    WaitUntilExposed(picture);
    picture->repaint();
    return true;
}

void KeepStartupPictureAbove(QWidget* mainWindow) {
    CStartupSplashWnd* picture = currentPicture;
    if (picture == nullptr || !OnWayland() || mainWindow->windowHandle() == nullptr) {
        return;
    }
    picture->mainWindowToStayAbove_ = mainWindow->windowHandle();
    picture->mainWindowToStayAbove_->installEventFilter(picture);
}

CStartupSplashWnd::CStartupSplashWnd(const QPixmap& bitmap, QWidget* mainWindow,
                                     std::function<void()> onHidden)
    // Not a child widget of the main window: that one is not on screen yet, and the picture
    // must be. It is owned by it as a window instead (see ShowStartupPicture).
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint),
      bitmap_(bitmap),
      mainWindow_(mainWindow),
      onHidden_(std::move(onHidden)) {
    currentPicture = this;
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    setMouseTracking(true);
    setFixedSize(bitmap_.deviceIndependentSize().toSize());

    // Centred on the work area of the screen, not over the main window, which is not shown
    // yet.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);

    cursorAtShow_ = QCursor::pos();
    qApp->installEventFilter(this);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &CStartupSplashWnd::HidePicture);
    timer_.start(kShowMilliseconds);
    frameWait_.setSingleShot(true);
    connect(&frameWait_, &QTimer::timeout, this, &CStartupSplashWnd::ChangeWindow);

    if (mainWindow != nullptr) {
        // The main window going first takes the picture with it, with nothing to hand over to.
        connect(mainWindow, &QObject::destroyed, this, [this] {
            onHidden_ = nullptr;
            HidePicture();
        });
    }
}

CStartupSplashWnd::~CStartupSplashWnd() {
    if (currentPicture == this) {
        currentPicture = nullptr;
    }
}

void CStartupSplashWnd::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, bitmap_);
}

bool CStartupSplashWnd::IsUserInput(const QEvent& event) const {
    switch (event.type()) {
        case QEvent::KeyPress:
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress: {
            const auto button = static_cast<const QMouseEvent&>(event).button();
            return button == Qt::LeftButton || button == Qt::RightButton ||
                   button == Qt::MiddleButton;
        }
        case QEvent::MouseMove:
            // Window systems also report a "move" when a window appears under a resting
            // cursor; only a real move of the mouse counts.
            return static_cast<const QMouseEvent&>(event).globalPosition().toPoint() !=
                   cursorAtShow_;
        default:
            return false;
    }
}

bool CStartupSplashWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mainWindowToStayAbove_ && event->type() == QEvent::Expose &&
        mainWindowToStayAbove_->isExposed()) {
        // Once the main window is on screen, after this event has been handled. Only once:
        // the application-wide filter sees its later exposes too, and each new picture
        // window makes the compositor configure the main window anew.
        mainWindowToStayAbove_->removeEventFilter(this);
        mainWindowToStayAbove_ = nullptr;
        QTimer::singleShot(0, this, [this] { ShowAgainAbove(); });
    }
    if (windowChangePending_ && watched == windowHandle() &&
        event->type() == QEvent::UpdateRequest) {
        ChangeWindow();
        return true;
    }
    if (!hidden_ && IsUserInput(*event)) {
        HidePicture();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CStartupSplashWnd::ShowAgainAbove() {
    if (!hidden_) {
        ChangeWindowWhenSafe();
    }
}

// Qt 6.4's Wayland platform, hiding a window, destroys the window's frame callback while its
// event thread may be destroying the same callback as the compositor's answer comes in;
// libwayland then aborts (wl_proxy_unref). Qt delivers an update request only once no frame
// callback is outstanding, so there the window is hidden (or shown anew) without that race.
// A compositor that never answers is not showing the picture; after a while it goes anyway.
void CStartupSplashWnd::ChangeWindowWhenSafe() {
    if (!OnWayland() || windowHandle() == nullptr) {
        ChangeWindow();
        return;
    }
    if (!windowChangePending_) {
        windowChangePending_ = true;
        windowHandle()->installEventFilter(this);
        windowHandle()->requestUpdate();
        frameWait_.start(kFrameWaitMilliseconds);
    }
}

void CStartupSplashWnd::ChangeWindow() {
    windowChangePending_ = false;
    frameWait_.stop();
    if (windowHandle() != nullptr) {
        windowHandle()->removeEventFilter(this);
    }
    hide();
    if (hidden_) {
        deleteLater();
    } else {
        show();
    }
}

void CStartupSplashWnd::HidePicture() {
    if (hidden_) {
        return;
    }
    hidden_ = true;
    currentPicture = nullptr;
    timer_.stop();
    qApp->removeEventFilter(this);
    ChangeWindowWhenSafe();

    if (onHidden_) {
        onHidden_();
    } else if (mainWindow_ != nullptr) {
        mainWindow_->show();
        mainWindow_->activateWindow();
        mainWindow_->repaint();
    }
}

}  // namespace tetrakon
