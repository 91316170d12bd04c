#pragma once

#include <QMainWindow>
#include <QTimer>
#include <optional>

#include "app/logic/frame_placement.h"

namespace tetrakon {

// The main window's placement in outer-frame pixels, decorations included, as the stored
// rectangles mean it. It also keeps the window from being made smaller than its outer
// minimum, whatever the window manager's frame around it takes.
class QtFramePlacement : public QObject, public FramePlacement {
  public:
    QtFramePlacement(QMainWindow* frame, QSize outerMinimum);

    void GetPlacement(PixelRect* normalRect, std::int32_t* showCommand) const override;
    void SetPlacementRestored(const PixelRect& normalRect) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Apply(const PixelRect& outer);
    // The client's minimum is the outer minimum less the frame's margins as now known.
    void KeepOuterMinimum();
    // Until the window manager has framed the window its decorations are unknown: the
    // minimum and the placement are applied again as soon as they are, for a little while.
    void WaitUntilFramed();
    void CheckFramed();

    QMainWindow* frame_;  // the parent: this goes with it
    QSize outerMinimum_;
    std::optional<PixelRect> pending_;
    QTimer framedCheck_;
    int framedChecksLeft_ = 0;
};

}  // namespace tetrakon
