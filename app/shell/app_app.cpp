#include "app/shell/app_app.h"

#include "app/shell/app_form.h"
#include "app/shell/app_frame_wnd.h"
#include "app/startup/startup_splash_wnd.h"

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
        clock_.start();
    }
}

CAppApp::~CAppApp() {
    idleTimer_.stop();
    frame_.reset();
}

bool CAppApp::InitInstance() {
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
        const std::uint64_t presentedBefore = form->PresentedFrames();
        form->IdlePass();
        LogPresentedFrame(presentedBefore);
    }
    idleTimer_.start();
}

void CAppApp::LogPresentedFrame(std::uint64_t presentedBefore) {
    if (frameLog_ != nullptr && frame_->form()->PresentedFrames() != presentedBefore) {
        frameLog_->write(QByteArray::number(clock_.nsecsElapsed() / 1e6, 'f', 3) + '\n');
        frameLog_->flush();
    }
}

}  // namespace tetrakon
