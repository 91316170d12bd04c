#include "app/dialogs/up_down_control.h"

#include <QLineEdit>
#include <QToolButton>

namespace tetrakon {

int WrappedStep(int position, int step, int lower, int upper) {
    const long long next = static_cast<long long>(position) + step;
    if (next > upper) {
        return lower;
    }
    if (next < lower) {
        return upper;
    }
    return static_cast<int>(next);
}

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    // What a screen reader says for the arrows, which show no text.
    up_->setAccessibleName(QStringLiteral("Больше"));
    down_->setAccessibleName(QStringLiteral("Меньше"));
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
    }
    setFocusPolicy(Qt::NoFocus);
    connect(up_, &QToolButton::clicked, this, [this] { Move(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { Move(-1); });
}

void UpDownControl::setRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
}

void UpDownControl::resizeEvent(QResizeEvent* /*event*/) {
    const int upperHalf = height() / 2;
    up_->setGeometry(0, 0, width(), upperHalf);
    down_->setGeometry(0, upperHalf, width(), height() - upperHalf);
}

void UpDownControl::Move(int direction) {
    if (buddy_ != nullptr) {
        // Text that is not a whole number leaves the last position in force.
        bool isNumber = false;
        const int typed = buddy_->text().trimmed().toInt(&isNumber);
        if (isNumber) {
            position_ = typed;
        }
    }
    position_ = WrappedStep(position_, direction * step_, lower_, upper_);
    if (buddy_ != nullptr) {
        buddy_->setText(QString::number(position_));
    }
}

}  // namespace tetrakon
