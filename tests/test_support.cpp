#include "test_support.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace TestSupport {

void InitApplication(QApplication* app) { Q_UNUSED(app); }
void FinishApplication() {}

QString TestDataDir() { return QStringLiteral(TV_TESTDATA_DIR); }
QString BinDir() { return QStringLiteral(TV_BIN_DIR); }
QString SourceDir() { return QStringLiteral(TV_SOURCE_DIR); }

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString MakeTempDir()
{
    static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    dirs.push_back(std::make_unique<QTemporaryDir>());
    return dirs.back()->path();
}

} // namespace TestSupport
