#include "app/dialogs/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>
#include <QString>
#include <cmath>

namespace tetrakon {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width as the platform measures it: the whole alphabet in both cases, half
    // the width of one pair of letters, rounded.
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    charWidth_ = (alphabet / 26 + 1) / 2;
    charHeight_ = metrics.height();
}

int DialogUnits::X(int units) const {
    return static_cast<int>(std::lround(units * charWidth_ / 4.0));
}

int DialogUnits::Y(int units) const {
    return static_cast<int>(std::lround(units * charHeight_ / 8.0));
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    const int left = X(x);
    const int top = Y(y);
    return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}

QSize DialogUnits::Size(int width, int height) const {
    return QSize(X(width), Y(height));
}

QFont DialogFont() {
    QFont font = QApplication::font();
    font.setPointSize(8);
    return font;
}

}  // namespace tetrakon
