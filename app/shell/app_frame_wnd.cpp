#include "app/shell/app_frame_wnd.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>

#include "app/logic/command_ids.h"
#include "app/settings/qt_frame_placement.h"
#include "app/shell/app_form.h"
#include "app/shell/main_menu.h"

namespace tetrakon {

CAppFrameWnd::CAppFrameWnd(Hooks hooks) : hooks_(std::move(hooks)) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    placement_ = new QtFramePlacement(this, QSize(kMinimumTrackingSize, kMinimumTrackingSize));

    form_ = new CAppForm(this);
    setCentralWidget(form_);
    menu_ = new MainMenu(
        menuBar(), [this](int id) { OnCommand(id); },
        [this](int id) { return form_->IsCommandEnabled(id); });

    // Accelerator table 113: Alt+Enter switches between a window and full screen.
    auto* toggle = new QAction(this);
    toggle->setShortcuts(
        {QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)});
    toggle->setShortcutContext(Qt::WindowShortcut);
    connect(toggle, &QAction::triggered, this, [this] { OnCommand(ID_TOGGLE_FULLSCREEN); });
    addAction(toggle);

    // F1 opens the help wherever the focus is inside the main window: in the drawing
    // surface or in the widgets around it.
    auto* help = new QAction(this);
    help->setShortcut(Qt::Key_F1);
    help->setShortcutContext(Qt::WindowShortcut);
    connect(help, &QAction::triggered, this, [this] { OnCommand(ID_HELP_CONTENTS); });
    addAction(help);

    if (hooks_.created) {
        hooks_.created(*this);
    }
}

CAppFrameWnd::~CAppFrameWnd() = default;

QString CAppFrameWnd::Caption() {
    return QStringLiteral("Головоломка \"Тетракон\" ");
}

void CAppFrameWnd::OnCommand(int commandId) {
    if (commandId == ID_APP_EXIT) {
        close();
        return;
    }
    form_->OnCommand(commandId);
}

void CAppFrameWnd::closeEvent(QCloseEvent* event) {
    if (hooks_.closing) {
        hooks_.closing(*this);
    }
    QMainWindow::closeEvent(event);
}

void CAppFrameWnd::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        if (hooks_.firstShown) {
            hooks_.firstShown(*this);
        }
    }
}

void CAppFrameWnd::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
        form_->MarkFrameDirty();
    }
}

}  // namespace tetrakon
