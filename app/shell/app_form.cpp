#include "app/shell/app_form.h"

#include "app/dialogs/about_dialog.h"
#include "app/dialogs/pre_setting_dlg.h"
#include "app/shell/background_choosers.h"

#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <cstdio>

#include "app/dialogs/qt_message_box.h"
#include "app/logic/command_ids.h"
#include "app/shell/fullscreen_window.h"
#include "app/shell/help_file.h"
#include "platform/gfx/gl/gl_graphics_api.h"
#include "platform/gfx/gl/qt_window.h"
#include "platform/input/qt/qt_input_system.h"
#include "platform/sound/pulse/pulse_sound_player.h"
#include "resources/module_resources.h"

namespace tetrakon {

namespace {

std::int16_t Clamp16(double value) {
    if (value < -32768.0) {
        return -32768;
    }
    if (value > 32767.0) {
        return 32767;
    }
    return static_cast<std::int16_t>(value);
}

}  // namespace

CAppForm::CAppForm(QWidget* mainFrame)
    : QWidget(mainFrame), GameView(MakeServices()), mainFrame_(mainFrame), surface_(new QWindow) {
    // The drawing surface is a native OpenGL window; the adapter makes it one before the
    // container gives it a native handle.
    surfaceAdapter_ = std::make_unique<gfx::QtWindow>(surface_);
    QWidget* container = QWidget::createWindowContainer(surface_, this);
    container->setFocusPolicy(Qt::StrongFocus);
    container->setMinimumSize(1, 1);
    container->setAccessibleName(QStringLiteral("Трёхмерный вид пирамиды"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(container);
    surface_->installEventFilter(this);
    setFocusProxy(container);
}

CAppForm::~CAppForm() {
    // The display goes first, while the hooks and both windows still exist.
    ShutDown();
}

GameServices CAppForm::MakeServices() {
    static QtMessageBox messageBox;
    GameServices services;
    services.messageBox = &messageBox;
    services.createGraphics = [](std::string* whyNot) -> std::unique_ptr<gfx::GraphicsApi> {
        std::unique_ptr<gfx::GlGraphicsApi> api;
        if (Failed(gfx::GlGraphicsApi::Create(&api, whyNot))) {
            // The same reason the message box gives, for a start from a terminal or a log.
            std::fprintf(stderr, "tetrakon: Could not initialize OpenGL. %s\n", whyNot->c_str());
            return nullptr;
        }
        return api;
    };
    services.createInput = [this]() -> std::unique_ptr<input::InputSystem> {
        auto system = std::make_unique<input::QtInputSystem>();
        system->Watch(surface_);
        system->Watch(fullscreen_.get());
        // The main window has the keyboard focus until the player clicks into the view.
        mainFrame_->winId();
        system->WatchKeys(mainFrame_->windowHandle());
        return system;
    };
    services.createSound = []() -> std::unique_ptr<sound::SoundPlayer> {
        return std::make_unique<sound::PulseSoundPlayer>(
            [](std::string_view name, std::string_view type) { return FindResource(name, type); });
    };
    services.cursorPosition = [this](float* x, float* y) {
        QWindow* window = PresentingWindow();
        if (window == nullptr) {
            return false;
        }
        const QPointF local = window->mapFromGlobal(QCursor::pos()) * window->devicePixelRatio();
        *x = static_cast<float>(local.x());
        *y = static_cast<float>(local.y());
        return true;
    };
    services.setTitle = [this](const std::string& text) {
        mainFrame_->setWindowTitle(QString::fromStdString(text));
        // Qt 6.4 on Wayland draws the title bar itself where the compositor leaves that to
        // the client (weston 10, mutter 43), and anew only when the window repaints.
        if (OnWayland()) {
            mainFrame_->update();
        }
    };
    return services;
}

void CAppForm::OnInitialUpdate() {
    fullscreen_ = std::make_unique<FullscreenWindow>(FullscreenWindow::Handlers{
        .switchScreenMode = [this] { SwitchScreenMode(); },
        .closeMainWindow = [this] { CloseMainFrame(); },
    });
    fullscreen_->installEventFilter(this);
    fullscreenAdapter_ = std::make_unique<gfx::QtWindow>(fullscreen_.get());
    services_.windowedInputWindow = input::WindowHandleOf(surface_);
    services_.fullScreenInputWindow = input::WindowHandleOf(fullscreen_.get());
    SetRenderWindow(surfaceAdapter_.get());
    SetFocusWindow(fullscreenAdapter_.get());
    // The view shows when the main window is exposed, whether or not its own window hears
    // of it: Qt 6.4 on Wayland does not always expose a sub-surface (gfx::ShowsOnScreen).
    mainFrame_->winId();
    mainFrame_->windowHandle()->installEventFilter(this);
    StartUp();
}

bool CAppForm::IdlePass() {
    if (!frameGate_.MayStep(mainFrame_->isMinimized(), IsActive(), PresentingWindow())) {
        return false;
    }
    CheckFullScreenDevice();
    const std::uint64_t presentedBefore = PresentedFrames();
    StepFrame();
    if (PresentedFrames() != presentedBefore) {
        QWindow* window = PresentingWindow();
        const QSize size = window->size() * window->devicePixelRatio();
        if (frameGate_.Presented(window, size.width(), size.height(),
                                 gfx::ShowsOnScreen(*window))) {
            MarkFrameDirty();
        }
        if (OnWayland()) {
            window->requestUpdate();
        }
        if (framePresented_) {
            framePresented_();
        }
    }
    return true;
}

QWindow* CAppForm::PresentingWindow() const {
    return IsWindowed() ? surface_ : fullscreen_.get();
}

Result CAppForm::ApplyWindowStyle() {
    if (fullscreen_ != nullptr) {
        if (IsWindowed()) {
            fullscreen_->hide();
            SetRenderWindow(surfaceAdapter_.get());
        } else {
            fullscreen_->setScreen(mainFrame_->screen());
            fullscreen_->showFullScreen();
            fullscreen_->requestActivate();
            SetRenderWindow(fullscreenAdapter_.get());
        }
    }
    MarkFrameDirty();
    return GameView::ApplyWindowStyle();
}

void CAppForm::OnCommand(int commandId) {
    switch (commandId) {
        case ID_FILE_SHUFFLE:
            StartShuffle();
            break;
        case ID_EDIT_UNDO_TURN:
            UndoTurn();
            break;
        case ID_EDIT_RETURN_TO_START:
            ReturnToStart();
            break;
        case ID_EDIT_CENTRE:
            CentrePyramid();
            break;
        case ID_TOGGLE_FULLSCREEN:
            SwitchScreenMode();
            break;
        case ID_HELP_CONTENTS:
            OpenHelp(this);
            break;
        case ID_SETTINGS_BACKGROUND_COLOUR:
            if (const auto colour = ChooseBackgroundColour(mainFrame_)) {
                renderer.BackgroundColour = *colour;
            }
            break;
        case ID_SETTINGS_BACKGROUND_PICTURE:
            if (const auto path = ChooseBackgroundPicture(mainFrame_)) {
                renderer.PathImage = *path;
                LoadPicture(*path);
            }
            break;
        case ID_SETTINGS_PRESETS: {
            PresetValues values{renderer.Picture, FastRandomRotate, NumberRandomRotate};
            if (RunPresetsDialog(mainFrame_, &values)) {
                renderer.Picture = values.picture;
                FastRandomRotate = values.fastRandomRotate;
                NumberRandomRotate = values.numberRandomRotate;
            }
            break;
        }
        case ID_HELP_ABOUT:
            ShowAboutBox(mainFrame_);
            break;
        default:
            break;
    }
}

bool CAppForm::IsCommandEnabled(int commandId) const {
    switch (commandId) {
        case ID_EDIT_UNDO_TURN:
            return CanUndo();
        case ID_SETTINGS_BACKGROUND_PICTURE:
            return renderer.Picture != 0;
        case ID_SETTINGS_PRESETS:
            return !ShuffleRunning();
        default:
            return true;
    }
}

void CAppForm::CloseMainFrame() {
    mainFrame_->close();
    // After a fatal display error the program ends here whatever else is open (a dialog's
    // own loop included), with exit code 1; the settings were saved by the close.
    if (FatalErrorReported()) {
        QCoreApplication::exit(1);
    }
}

void CAppForm::ForwardToViewRotation(QWindow* window, QEvent* event) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    ViewMessage message;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (mouse->button() != Qt::RightButton) {
                return;
            }
            message.kind = ViewMessageKind::RightButtonDown;
            break;
        case QEvent::MouseButtonRelease:
            if (mouse->button() != Qt::RightButton) {
                return;
            }
            message.kind = ViewMessageKind::RightButtonUp;
            break;
        case QEvent::MouseMove:
            message.kind = ViewMessageKind::MouseMove;
            break;
        default:
            return;
    }
    message.rightButtonHeld = (mouse->buttons() & Qt::RightButton) != 0;
    const QPointF pixels = mouse->position() * window->devicePixelRatio();
    message.x = Clamp16(pixels.x());
    message.y = Clamp16(pixels.y());
    HandleViewMessage(message);
}

bool CAppForm::eventFilter(QObject* watched, QEvent* event) {
    auto* window = qobject_cast<QWindow*>(watched);
    if (window != nullptr && window == mainFrame_->windowHandle()) {
        if (event->type() == QEvent::Expose && window->isExposed() && IsWindowed()) {
            MarkFrameDirty();
            frameGate_.WindowReady(surface_);
        }
        return QWidget::eventFilter(watched, event);
    }
    if (window == nullptr || (window != surface_ && window != fullscreen_.get())) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            ForwardToViewRotation(window, event);
            break;
        case QEvent::Expose:
            // What was on screen may be gone: draw again, at once, as a paint does.
            MarkFrameDirty();
            if (window->isExposed()) {
                frameGate_.WindowReady(window);
                IdlePass();
            }
            break;
        case QEvent::UpdateRequest:
            frameGate_.WindowReady(window);
            break;
        case QEvent::Close:
            // A fatal display error asks the drawing window to close: the program ends
            // through the main window, after the frame step that reported it.
            if (window == surface_) {
                event->ignore();
                QTimer::singleShot(0, mainFrame_, [this] { CloseMainFrame(); });
                return true;
            }
            break;
        case QEvent::Resize:
            if (window == surface_) {
                OnClientResize();
                MarkFrameDirty();
                // The frame at the new size is not held back by the last one's callback.
                frameGate_.WindowReady(surface_);
            }
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            // Alt+Enter in full screen: the main window's accelerator is not reachable
            // from the full-screen window. In a window, the main window's action serves it.
            if (window != surface_ && (key->modifiers() & Qt::AltModifier) != 0 &&
                (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                !key->isAutoRepeat()) {
                OnCommand(ID_TOGGLE_FULLSCREEN);
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tetrakon
