#pragma once

#include <QMainWindow>
#include <functional>

namespace tetrakon {

class CAppForm;
class MainMenu;
class QtFramePlacement;

// The main window: menu 101, the Alt+Enter accelerator, the 3-D view as its client, and
// the settings read when it is made and written when it closes.
class CAppFrameWnd : public QMainWindow {
  public:
    struct Hooks {
        // Run after the view exists (the settings are read here).
        std::function<void(CAppFrameWnd&)> created;
        // Run at the first showing (the window placement is restored here).
        std::function<void(CAppFrameWnd&)> firstShown;
        // Run by every close request before the window goes (the settings are saved here).
        std::function<void(CAppFrameWnd&)> closing;
    };

    explicit CAppFrameWnd(Hooks hooks);
    ~CAppFrameWnd() override;

    CAppForm* form() const { return form_; }
    MainMenu* menu() const { return menu_; }
    // Its placement in outer-frame pixels; it also keeps its outer minimum size.
    QtFramePlacement* placement() const { return placement_; }

    // The caption the main window carries from start-up on.
    static QString Caption();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void OnCommand(int commandId);

    Hooks hooks_;
    CAppForm* form_ = nullptr;
    MainMenu* menu_ = nullptr;
    QtFramePlacement* placement_ = nullptr;
    bool shownOnce_ = false;
};

}  // namespace tetrakon
