// Test entry: one application object for the whole run, headless by default.
#include <QApplication>
#include <gtest/gtest.h>

#include "test_support.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TestSupport::InitApplication(argc, argv);
    return RUN_ALL_TESTS();
}
