#include "app/qt_message_box.h"

#include <QMessageBox>
#include <QString>

namespace tetrakon {

void QtMessageBox::Show(const std::string& text, const std::string& caption, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Warning,
                    QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok);
    box.exec();
}

}  // namespace tetrakon
