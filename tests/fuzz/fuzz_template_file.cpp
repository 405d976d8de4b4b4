// fuzz-layer: tv_designer
// The template file from arbitrary bytes, through the template chooser: filling
// both lists, then choosing each template. A listed template hands back
// lengths its caller can use; an exception, a crash or a hang on a large
// count is a find.
#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_new.h"
#include "designer/main/frm_main.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
TFrmNew* Chooser = nullptr;
QTemporaryDir* Folder = nullptr;

void Choose(TListBox* list, void (TFrmNew::*click)(TComponent*), bool box)
{
    const int count = std::min(list->Items()->Count(), 40);
    for (int i = 0; i < count; ++i) {
        list->SetItemIndex(i);
        (Chooser->*click)(list);
        if (Chooser->IsBoxTemplate() != box || Chooser->NazevSablony->Text() != list->Items()->Strings(i))
            abort();
        for (TEdit* e : {Chooser->PRT, Chooser->PRL, Chooser->PRS, Chooser->PRV, Chooser->PRT2, Chooser->PRL2,
                         Chooser->PRS2, Chooser->PRV2}) {
            double mm = 0;
            if (!TemplateLengthOf(e->Text(), mm))
                abort();
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    TApplication::InitializeExisting();
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
    Folder = new QTemporaryDir();
    auto* main = new TFrmMain(nullptr);
    main->AppDir = Folder->path();
    SetDecimalSeparator(QLatin1Char(','));
    Chooser = new TFrmNew(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        QFile f(Folder->path() + QStringLiteral("/defcd.ini"));
        if (!f.open(QIODevice::WriteOnly))
            abort();
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    try {
        Chooser->FormShow(nullptr);
    } catch (...) {
        abort(); // the window always opens
    }
    if (Chooser->ListBox1->Items()->Count() > 1000 || Chooser->ListBox2->Items()->Count() > 1000)
        abort();
    Choose(Chooser->ListBox2, &TFrmNew::ListBox2Click, true);
    Choose(Chooser->ListBox1, &TFrmNew::ListBox1Click, false);
    return 0;
}
