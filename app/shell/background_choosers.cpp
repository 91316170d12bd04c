#include "app/shell/background_choosers.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QStringList>

namespace tetrakon {

// Both choosers are Qt's own rather than the desktop's, so that they behave the same
// everywhere and speak the program's language.

std::optional<std::uint32_t> ChooseBackgroundColour(QWidget* parent) {
    QColorDialog dialog(Qt::black, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QColor chosen = dialog.selectedColor();
    return BackgroundColourFromRgb(static_cast<std::uint8_t>(chosen.red()),
                                   static_cast<std::uint8_t>(chosen.green()),
                                   static_cast<std::uint8_t>(chosen.blue()));
}

std::optional<std::string> ChooseBackgroundPicture(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) {
        return std::nullopt;
    }
    return files.front().toStdString();
}

}  // namespace tetrakon
