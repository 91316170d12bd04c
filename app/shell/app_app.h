#pragma once

#include <QFile>
#include <QObject>
#include <QTimer>
#include <memory>

#include "app/settings/app_settings.h"

namespace tetrakon {

class CAppFrameWnd;

// The application: makes the main window and its view, starts the 3-D display, and then
// drives the frames from idle time: one frame step, then a 15 ms pause on a single-shot
// timer, re-armed after each step, so that an idle program sleeps instead of spinning.
class CAppApp : public QObject {
  public:
    CAppApp();
    ~CAppApp() override;

    // The start-up sequence. False when the display could not be started: the program then
    // ends without writing its settings.
    bool InitInstance();

    CAppFrameWnd* mainFrame() const { return frame_.get(); }

  private:
    void OnIdle();

    // After each frame put on screen, with TETRAKON_FRAME_LOG set to a file name: the
    // frame's time in milliseconds since 1970, one a line, which the figures script
    // measures the start and the pacing by.
    void OnFramePresented();

    AppSettings settings_;
    std::unique_ptr<CAppFrameWnd> frame_;
    QTimer idleTimer_;
    std::unique_ptr<QFile> frameLog_;
};

}  // namespace tetrakon
