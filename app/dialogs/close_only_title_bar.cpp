#include "app/dialogs/close_only_title_bar.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

#include "app/shell/window_system.h"

namespace tetrakon {
namespace {

// Whether Qt decorates the windows itself: a compositor that draws the decorations leaves
// the client's windows without frame margins.
bool QtDrawsTitleBars() {
    if (!OnWayland()) {
        return false;
    }
    for (const QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible() && window->frameMargins().top() > 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

CloseOnlyTitleBar::CloseOnlyTitleBar(QDialog* dialog)
    : QWidget(dialog), dialog_(dialog), close_(new QToolButton(this)) {
    // Any title bar hint would take the frameless hint away again.
    dialog->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    if (QLayout* layout = dialog->layout()) {
        QMargins margins = layout->contentsMargins();
        margins.setTop(margins.top() + kHeight);
        layout->setContentsMargins(margins);
    } else {
        for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            child->move(child->x(), child->y() + kHeight);
        }
        if (dialog->minimumSize() == dialog->maximumSize()) {
            dialog->setFixedSize(dialog->width(), dialog->height() + kHeight);
        } else {
            dialog->resize(dialog->width(), dialog->height() + kHeight);
        }
    }
    close_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close_->setAutoRaise(true);
    close_->setFocusPolicy(Qt::NoFocus);
    close_->setAccessibleName(QStringLiteral("Закрыть"));
    close_->setGeometry(0, 4, kHeight - 8, kHeight - 8);
    // As the window manager's close box: a close event, which a dialog takes as Cancel.
    connect(close_, &QToolButton::clicked, dialog, &QDialog::close);
    FitToDialog();
    dialog->installEventFilter(this);
}

void CloseOnlyTitleBar::FitToDialog() {
    setGeometry(0, 0, dialog_->width(), kHeight);
    close_->move(width() - close_->width() - 6, close_->y());
}

bool CloseOnlyTitleBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dialog_ && event->type() == QEvent::Resize) {
        FitToDialog();
    }
    return false;
}

void CloseOnlyTitleBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    // The icon where Qt's own title bars show it.
    dialog_->windowIcon().paint(&painter, QRect(8, 4, kHeight - 8, kHeight - 8));
    painter.setPen(palette().mid().color());
    painter.drawLine(0, height() - 1, width(), height() - 1);
    painter.setPen(palette().windowText().color());
    painter.drawText(rect().adjusted(kHeight, 0, -kHeight, 0), Qt::AlignCenter,
                     dialog_->windowTitle());
}

void CloseOnlyTitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && dialog_->windowHandle() != nullptr) {
        dialog_->windowHandle()->startSystemMove();
    }
}

void UseCloseOnlyTitleBarWhereNeeded(QDialog* dialog) {
    if (QtDrawsTitleBars()) {
        new CloseOnlyTitleBar(dialog);
    }
}

}  // namespace tetrakon
