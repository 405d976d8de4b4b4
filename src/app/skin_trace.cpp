#include "app/skin_trace.h"

#include "classlib/forms/form.h"
#include "platform/window_info.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_manager.h"
#include "skin/skin_data.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>

namespace {
bool Tracing() { return qEnvironmentVariable("TESSAVIK_TRACE") == QLatin1String("1"); }

QString WindowName(TWinSkinForm* f)
{
    if (f->Form())
        return f->Form()->Name();
    return f->WindowClassName() + QLatin1Char(' ') + GetWindowText(f->Handle());
}

// How each form's window first reaches the screen: "mapped <name> frameless"
// (or "framed": the window manager's frame) as its native window is first
// mapped, "painted <name> skinned" (or "plain") at its first paint.
class TFirstShowTrace : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show) {
            // A native window's show event comes just before it is mapped.
            if (auto* window = qobject_cast<QWindow*>(o))
                if (QWidget* widget = FindWidget(window))
                    Report(widget, "mapped", window->flags() & Qt::FramelessWindowHint ? "frameless" : "framed");
        } else if (e->type() == QEvent::Paint) {
            auto* widget = qobject_cast<QWidget*>(o); // paint events reach native windows too
            if (widget && widget->isWindow()) {
                TSkinManage* m = SkinManager();
                TWinSkinForm* f = m ? m->FindForm(widget) : nullptr;
                Report(widget, "painted", f && f->Started() ? "skinned" : "plain");
            }
        }
        return false;
    }

private:
    static QWidget* FindWidget(QWindow* window)
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowHandle() == window)
                return w;
        return nullptr;
    }

    void Report(QWidget* widget, const char* what, const char* how)
    {
        TCustomForm* form = TCustomForm::FormOfWidget(widget);
        const QString key = QLatin1String(what) + QLatin1Char(' ') + (form ? form->Name() : QString());
        if (!form || FSeen.contains(key))
            return;
        FSeen.insert(key);
        std::fprintf(stderr, "%s %s\n", qPrintable(key), how);
        std::fflush(stderr);
    }

    QSet<QString> FSeen;
};
} // namespace

void InstallSkinTrace(TSkinData* skin)
{
    if (Tracing()) {
        qApp->installEventFilter(new TFirstShowTrace());
        if (TSkinManage* m = SkinManager())
            m->OnFormStarted = [](TWinSkinForm* f) {
                std::fprintf(stderr, "skinned %s\n", qPrintable(WindowName(f)));
                std::fflush(stderr);
            };
    }
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
