// fuzz-layer: tv_designer
// A project file from arbitrary bytes, opened by the main window, then the
// same bytes applied as a style. Opening may end with the reader's message;
// what was read must stay a sound document: objects in front, named C0..,
// listed once each. An exception leaving the command or a crash is a find.
#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/sysutils.h"
#include "designer/main/frm_main.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
TFrmMain* Main = nullptr;
QTemporaryDir* Folder = nullptr;

void CheckDocument()
{
    const int n = Main->ObjectCount();
    for (int i = 0; i < n; ++i)
        if (!TFrmMain::IsObject(Main->Components(i)) || Main->Components(i)->Name() != QStringLiteral("C%1").arg(i))
            abort();
    if (Main->Vrstvy->Items()->Count() != n)
        abort();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    TApplication::InitializeExisting();
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
    Folder = new QTemporaryDir();
    QDir(Folder->path()).mkpath(QStringLiteral("Style"));
    QDir(Folder->path()).mkpath(QStringLiteral("Background"));
    Main = new TFrmMain(nullptr);
    Main->DoCreate();
    Main->AppDir = Folder->path();
    Main->FirstShow = false;
    Main->Show();
    Main->AppDir = Folder->path();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString project = Folder->path() + QStringLiteral("/f.tvk");
    const QString style = Folder->path() + QStringLiteral("/Style/f.cd");
    for (const QString& name : {project, style}) {
        QFile f(name);
        if (!f.open(QIODevice::WriteOnly))
            abort();
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    Main->Modified = false;
    // Nothing may leave the open: a file that cannot be read is a message.
    Main->OtevriSoubor(project);
    CheckDocument();
    // The file's own template may ask for another style folder mask; the
    // project's objects go, so that only the style's remain.
    Main->DeleteObjects(true);
    Main->DeleteTemplateParams();
    Main->CreateTemplateParams(false, false, 118, 44, 0, 0, 0, 0, 0, 0, 0, QStringLiteral("None"));
    Main->FillStyleList();
    if (Main->lComboStyly->Items()->Count() != 2)
        abort();
    Main->lComboStyly->SetItemIndex(1);
    Main->lComboStylyChange(Main->lComboStyly);
    CheckDocument();
    for (int i = 0; i < Main->ObjectCount(); ++i)
        if (static_cast<TControl*>(Main->Components(i))->DragCursor() != crHandPoint)
            abort();
    return 0;
}
