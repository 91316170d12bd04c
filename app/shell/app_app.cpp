#include "app/shell/app_app.h"

#include "app/shell/app_form.h"
#include "app/shell/app_frame_wnd.h"
#include "app/shell/program_icon.h"
#include "app/startup/startup_splash_wnd.h"

#include <QGuiApplication>
#include <chrono>

namespace tetrakon {

namespace {

// The pause after each frame step; it bounds the frame rate near 66 frames per second.
constexpr int kIdlePauseMs = 15;

}  // namespace

CAppApp::CAppApp() {
    idleTimer_.setSingleShot(true);
    idleTimer_.setInterval(kIdlePauseMs);
    connect(&idleTimer_, &QTimer::timeout, this, [this] { OnIdle(); });
    const QString logName = qEnvironmentVariable("TETRAKON_FRAME_LOG");
    if (!logName.isEmpty()) {
        frameLog_ = std::make_unique<QFile>(logName);
        if (!frameLog_->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            frameLog_.reset();
        }
    }
}

CAppApp::~CAppApp() {
    idleTimer_.stop();
    frame_.reset();
}

bool CAppApp::InitInstance() {
    QGuiApplication::setWindowIcon(ProgramIcon());
    frame_ = std::make_unique<CAppFrameWnd>(CAppFrameWnd::Hooks{
        .created =
            [this](CAppFrameWnd& frame) {
                settings_.LoadSettings(*frame.form());
                ShowStartupPicture(&frame);
            },
        .firstShown =
            [this](CAppFrameWnd& frame) { settings_.RestoreWindowPlacement(*frame.placement()); },
        .closing =
            [this](CAppFrameWnd& frame) {
                settings_.SaveSettings(*frame.form(), *frame.placement());
            },
    });
    CAppForm* form = frame_->form();
    form->SetFramePresentedHook([this] { OnFramePresented(); });
    form->OnInitialUpdate();
    frame_->show();
    if (!form->IsActive()) {
        return false;
    }
    frame_->setWindowTitle(CAppFrameWnd::Caption());
    frame_->repaint();
    KeepStartupPictureAbove(frame_.get());
    idleTimer_.start();
    return true;
}

void CAppApp::OnIdle() {
    if (CAppForm* form = frame_ ? frame_->form() : nullptr) {
        form->IdlePass();
    }
    idleTimer_.start();
}

void CAppApp::OnFramePresented() {
    if (frameLog_ != nullptr) {
        const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
        const double ms = std::chrono::duration<double, std::milli>(sinceEpoch).count();
        frameLog_->write(QByteArray::number(ms, 'f', 3) + '\n');
        frameLog_->flush();
    }
}

}  // namespace tetrakon
