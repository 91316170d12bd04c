#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace tetrakon {

// Dialog templates give positions in dialog units: a quarter of the dialog font's average
// character width across, an eighth of its height down. Each edge is converted on its own
// (rounded), so controls that touch in units still touch in pixels.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);

    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const;

    int averageCharWidth() const { return charWidth_; }
    int charHeight() const { return charHeight_; }

  private:
    int X(int units) const;
    int Y(int units) const;

    int charWidth_;
    int charHeight_;
};

// The templates' font, "MS Shell Dlg" 8 point: the desktop's user-interface family at 8
// point.
QFont DialogFont();

}  // namespace tetrakon
