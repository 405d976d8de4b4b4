#pragma once
// Shared helpers of the test programs.
#include <QByteArray>
#include <QString>

class QApplication;

namespace TestSupport {
// Called by the test entry around the whole run.
void InitApplication(QApplication* app);
void FinishApplication();
// Folder of the shared test vectors (LZHUF archives and others).
QString TestDataDir();
// Folder of the built program, which holds the data files beside it.
QString BinDir();
QString SourceDir();
QByteArray ReadFile(const QString& path);
// A fresh empty folder that lives until the test program ends.
QString MakeTempDir();
} // namespace TestSupport
