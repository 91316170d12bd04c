#include <gtest/gtest.h>

#include <QApplication>

#include "tests/test_deadline.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // A modal loop that its script never ends fails the program instead of hanging it.
    tetrakon::testing::EndEveryTestWithinItsDeadline();
    return RUN_ALL_TESTS();
}
