#include "app/dialogs/qt_message_box.h"

#include "app/dialogs/close_only_title_bar.h"

#include <QMessageBox>
#include <QString>

namespace tetrakon {

void QtMessageBox::Show(const std::string& text, const std::string& caption, MessageIcon icon) {
    ShowMessageBox(nullptr,
                   icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Warning,
                   QString::fromStdString(caption), QString::fromStdString(text));
}

void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                    const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    UseCloseOnlyTitleBarWhereNeeded(&box);
    box.exec();
}

}  // namespace tetrakon
