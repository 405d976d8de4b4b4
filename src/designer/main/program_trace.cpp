#include "designer/main/program_trace.h"

#include "classlib/forms/application.h"
#include "classlib/forms/form.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {
// The form whose window this is; a dialog of Qt's opened over a form is none.
TCustomForm* OwnWindow(QWidget* w)
{
    TCustomForm* f = w ? TCustomForm::FormOfWidget(w) : nullptr;
    return f && f->Window() == w ? f : nullptr;
}

class TTraceFilter : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show) {
            auto* w = qobject_cast<QWidget*>(o);
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                // The words as written, without the joiners that keep an
                // address or a path on one line.
                std::fprintf(stderr, "message %s\n", qPrintable(QString(box->text()).remove(QChar(0x2060))));
                std::fflush(stderr);
            } else if (qobject_cast<QDialog*>(w) && !OwnWindow(w)) {
                std::fprintf(stderr, "dialog %s\n", qPrintable(w->windowTitle()));
                std::fflush(stderr);
            }
            if (auto* menu = qobject_cast<QMenu*>(w)) {
                std::fprintf(stderr, "popup %s\n", qPrintable(menu->title()));
                std::fflush(stderr);
            }
            if (w && w->isWindow())
                if (TCustomForm* f = OwnWindow(w)) {
                    std::fprintf(stderr, "shown %s %s\n", qPrintable(f->Name()), qPrintable(f->Caption()));
                    std::fflush(stderr);
                    // Once the loop is idle again, the window's show handler (and a
                    // file it opened) is done.
                    if (!FReadyPosted) {
                        FReadyPosted = true;
                        QPointer<QWidget> window = w;
                        QTimer::singleShot(0, qApp, [window] {
                            TCustomForm* shown = window ? TCustomForm::FormOfWidget(window) : nullptr;
                            std::fprintf(stderr, "ready %s %s\n", shown ? qPrintable(shown->Name()) : "",
                                         shown ? qPrintable(shown->Caption()) : "");
                            std::fflush(stderr);
                        });
                    }
                }
        }
        return false;
    }

private:
    bool FReadyPosted = false;
};
} // namespace

void InstallProgramTrace()
{
    if (qEnvironmentVariable("TESSAVIK_TRACE") == QLatin1String("1"))
        qApp->installEventFilter(new TTraceFilter());
    bool ok = false;
    const int ms = qEnvironmentVariable("TESSAVIK_QUIT_AFTER").toInt(&ok);
    if (ok && ms > 0) {
        // Ends every modal loop and the main loop, as closing the program would.
        QTimer::singleShot(ms, qApp, [] {
            // The captions of the windows still shown tell what they hold at the end.
            for (QWidget* w : QApplication::topLevelWidgets())
                if (TCustomForm* f = TCustomForm::FormOfWidget(w); f && w->isVisible())
                    std::fprintf(stderr, "caption %s %s\n", qPrintable(f->Name()), qPrintable(f->Caption()));
            std::fprintf(stderr, "quit\n");
            std::fflush(stderr);
            if (Application)
                Application->Terminate();
            for (QWidget* w : QApplication::topLevelWidgets())
                w->hide();
        });
    }
}
