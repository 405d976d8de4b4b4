// Test entry: one application object for the whole run, headless by default.
#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

#include "test_support.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray runtime = QDir::tempPath().toUtf8() + "/tessavik-test-runtime";
        QDir().mkpath(QString::fromUtf8(runtime));
        QFile::setPermissions(QString::fromUtf8(runtime), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime);
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    TestSupport::InitApplication(&app);
    const int rc = RUN_ALL_TESTS();
    TestSupport::FinishApplication();
    return rc;
}
