// fuzz-layer: tv_designer
// The template file from arbitrary bytes, read as the template chooser reads
// it: the lists of disc and box templates, then what choosing each listed
// template hands back. No window is built, so that a run covers many inputs;
// the chooser's own window is the designer tests' part. A listed template
// must hand back lengths its caller can use; an exception, a crash,
// undefined behaviour or a hang on a large count is a find.
#include "classlib/inifiles.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_new.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
QTemporaryDir* Folder = nullptr;

void Choose(const TIniFile& ini, const QStringList& names, const std::vector<int>& numbers, bool box)
{
    if (names.size() != static_cast<qsizetype>(numbers.size()) || names.size() > 1000)
        abort();
    const int count = std::min(static_cast<int>(numbers.size()), 40);
    for (int i = 0; i < count; ++i) {
        const TTemplateFields f = ReadTemplateFields(ini, box, numbers[size_t(i)]);
        for (const QString& text : {f.PRT, f.PRL, f.PRS, f.PRV, f.PRT2, f.PRL2, f.PRS2, f.PRV2}) {
            double mm = 0;
            if (!TemplateLengthOf(text, mm))
                abort();
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    SetDecimalSeparator(QLatin1Char(','));
    Folder = new QTemporaryDir();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = Folder->path() + QStringLiteral("/defcd.ini");
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly))
            abort();
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    try {
        const TIniFile ini(file);
        const TTemplateList list = ReadTemplateList(ini);
        Choose(ini, list.DiscNames, list.DiscNumbers, false);
        Choose(ini, list.BoxNames, list.BoxNumbers, true);
    } catch (...) {
        abort(); // the chooser always opens
    }
    return 0;
}
