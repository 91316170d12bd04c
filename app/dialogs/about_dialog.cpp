#include "app/dialogs/about_dialog.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>

#include "app/dialogs/close_only_title_bar.h"
#include "app/dialogs/dialog_units.h"
#include "app/logic/dialog_ids.h"
#include "app/logic/program_info.h"
#include "app/shell/program_icon.h"

namespace tetrakon {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QString::number(IDD_ABOUT));
    setWindowTitle(QStringLiteral("О программе"));
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.Size(217, 65));

    // The icon is drawn at 32 pixels from the control's top-left corner, from its scalable
    // picture at the screen's scale.
    auto* icon = new QLabel(this);
    icon->setObjectName(QString::number(IDI_PROGRAM));
    icon->setGeometry(units.Rect(13, 15, 20, 20));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    icon->setPixmap(ProgramIconPixmap(32, devicePixelRatioF()));

    auto* name = new QLabel(QString::fromStdString(AboutNameLine()), this);
    name->setGeometry(units.Rect(47, 27, 156, 13));
    auto* licence = new QLabel(QString::fromStdString(AboutLicenceLine()), this);
    licence->setGeometry(units.Rect(47, 40, 119, 9));

    auto* frame = new QGroupBox(this);
    frame->setGeometry(units.Rect(3, 1, 210, 61));
    frame->lower();
    UseCloseOnlyTitleBarWhereNeeded(this);
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
    // With no button to press, Enter closes the box as Escape does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowAboutBox(QWidget* parent) {
    AboutDialog dialog(parent);
    dialog.exec();
}

}  // namespace tetrakon
