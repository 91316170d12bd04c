#include "app/dialogs/qt_message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "framework/error_report.h"
#include "framework/framework_results.h"

namespace tetrakon {
namespace {

struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool seen = false;
};

// Reads the modal box once it is up, then dismisses it with its OK button.
void DismissNextBox(ShownBox* shown) {
    QTimer::singleShot(0, [shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            DismissNextBox(shown);
            return;
        }
        shown->seen = true;
        shown->title = box->windowTitle();
        shown->text = box->text();
        shown->icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
}

TEST(QtMessageBox, ShowsTheTextCaptionAndIconUntilDismissed) {
    QtMessageBox messageBox;
    ShownBox shown;
    DismissNextBox(&shown);
    messageBox.Show("Not enough memory.", "Tetrakon1.0", MessageIcon::Warning);
    ASSERT_TRUE(shown.seen);
    EXPECT_EQ(shown.title, "Tetrakon1.0");
    EXPECT_EQ(shown.text, "Not enough memory.");
    EXPECT_EQ(shown.icon, QMessageBox::Warning);
}

TEST(QtMessageBox, FatalReportShowsItsWholeTextWithTheErrorIcon) {
    ResetFatalErrorLatch();
    QtMessageBox messageBox;
    ShownBox shown;
    DismissNextBox(&shown);
    ReportError(ObjectsLeaked, ReportKind::Fatal, "Tetrakon1.0", &messageBox, nullptr);
    ASSERT_TRUE(shown.seen);
    EXPECT_EQ(shown.icon, QMessageBox::Critical);
    EXPECT_EQ(shown.text.toStdString(),
              "An OpenGL object has a non-zero reference\ncount (meaning things were not properly\n"
              "cleaned up).\n\nThis program will now exit.");
    ResetFatalErrorLatch();
}

}  // namespace
}  // namespace tetrakon
