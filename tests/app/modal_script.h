#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace tetrakon {

// Runs `act` on the next modal window once it is up, from inside its event loop.
inline void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            WhenModal(act);
            return;
        }
        act(modal);
    });
}

}  // namespace tetrakon
