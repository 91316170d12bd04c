#pragma once

#include <QMainWindow>
#include <QTimer>
#include <optional>

#include "app/frame_placement.h"

namespace tetrakon {

// The main window's placement in outer-frame pixels, decorations included, as the stored
// rectangles mean it.
class QtFramePlacement : public QObject, public FramePlacement {
  public:
    explicit QtFramePlacement(QMainWindow* frame);

    void GetPlacement(PixelRect* normalRect, std::int32_t* showCommand) const override;
    void SetPlacementRestored(const PixelRect& normalRect) override;

  private:
    void Apply(const PixelRect& outer);
    // Until the window manager has framed the window its decorations are unknown: the
    // placement is applied again as soon as they are, for a little while.
    void ApplyOnceFramed();

    QMainWindow* frame_;  // the parent: this goes with it
    std::optional<PixelRect> pending_;
    QTimer framedCheck_;
    int framedChecksLeft_ = 0;
};

}  // namespace tetrakon
