#include "app/skin_trace.h"

#include "classlib/forms/form.h"
#include "platform/window_info.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_manager.h"
#include "skin/skin_data.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {
bool Tracing() { return qEnvironmentVariable("TESSAVIK_TRACE") == QLatin1String("1"); }

QString WindowName(TWinSkinForm* f)
{
    if (f->Form())
        return f->Form()->Name();
    return f->WindowClassName() + QLatin1Char(' ') + GetWindowText(f->Handle());
}
} // namespace

void InstallSkinTrace(TSkinData* skin)
{
    if (Tracing())
        if (TSkinManage* m = SkinManager())
            m->OnFormStarted = [](TWinSkinForm* f) {
                std::fprintf(stderr, "skinned %s\n", qPrintable(WindowName(f)));
                std::fflush(stderr);
            };
    bool ok = false;
    const int ms = qEnvironmentVariable("TESSAVIK_SKIN_OFF_AFTER").toInt(&ok);
    if (skin && ok && ms > 0) {
        // The component lives as long as the main window, which outlives the loop.
        QTimer::singleShot(ms, [skin] {
            std::fprintf(stderr, "skin off\n");
            std::fflush(stderr);
            skin->SetActive(false);
        });
    }
}

void ReportSkinTrace()
{
    if (!Tracing())
        return;
    TSkinManage* m = SkinManager();
    std::fprintf(stderr, "skinforms %d\n", m ? static_cast<int>(m->Forms().size()) : 0);
    std::fflush(stderr);
}
