#pragma once

#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>

namespace tetrakon {

// The start-up picture: a borderless window showing bitmap 1002, centred on the screen's
// work area, that goes away after 3.5 s or at the first key press, mouse button press or
// mouse move anywhere in the program, whichever comes first. When it goes it hands over to
// the main window. At most one exists at a time.
class CStartupSplashWnd : public QWidget {
  public:
    static constexpr int kShowMilliseconds = 3500;
    // How long a change of the window on Wayland waits for the compositor's last frame.
    static constexpr int kFrameWaitMilliseconds = 500;

    // The picture window now on screen, if any.
    static CStartupSplashWnd* Current();

    // Hides the picture: destroys the window (the object deletes itself; on Wayland once the
    // compositor has answered the window's last frame) and runs the hand-over to the main
    // window.
    void HidePicture();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend bool ShowStartupPicture(QWidget*, std::function<void()>);
    friend void KeepStartupPictureAbove(QWidget*);

    CStartupSplashWnd(const QPixmap& bitmap, QWidget* mainWindow, std::function<void()> onHidden);
    ~CStartupSplashWnd() override;

    bool IsUserInput(const QEvent& event) const;
    void ShowAgainAbove();
    // Hides the window, and shows it again unless the picture is hidden for good; on Wayland
    // only when no frame of it is outstanding.
    void ChangeWindowWhenSafe();
    void ChangeWindow();

    QPixmap bitmap_;
    QTimer timer_;
    QTimer frameWait_;
    QPointer<QWidget> mainWindow_;
    std::function<void()> onHidden_;
    QPoint cursorAtShow_;
    bool hidden_ = false;
    bool windowChangePending_ = false;
    QPointer<QWindow> mainWindowToStayAbove_;
};

// Whether the start-up picture may be shown in this process; set once at start-up from the
// command line (see StartupPictureAllowed). On at first.
void SetStartupPictureAllowed(bool allowed);

// Shows the start-up picture over `mainWindow` (which need not be visible yet) and paints
// it at once, so it is on screen during the rest of the start-up. When the picture goes,
// `onHidden` runs; without one, the main window is shown, activated and repainted. Returns
// false, doing nothing, when the picture is not allowed, one is already up, or bitmap 1002
// cannot be loaded.
bool ShowStartupPicture(QWidget* mainWindow, std::function<void()> onHidden = {});

// On Wayland (Qt 6.4; seen with sway 1.7, weston 10 and mutter 43) the picture's ownership
// by the main window, given while that window is not on screen yet, does not keep it above
// that window once it appears: the picture still up is
// shown again when the main window is first exposed. Elsewhere does nothing.
void KeepStartupPictureAbove(QWidget* mainWindow);

}  // namespace tetrakon
