// The GUI tests run the real widgets; one QApplication serves every test.
#include "ui/Colours.h"

#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setStyle(morv::NewProgramStyle());  // as the program runs
    return RUN_ALL_TESTS();
}
