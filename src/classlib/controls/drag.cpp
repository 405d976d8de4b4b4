#include "classlib/controls/drag.h"

#include "classlib/controls/control.h"
#include "platform/window_proc.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

namespace {

class TDragFilter : public QObject {
public:
    TControl* Src = nullptr;
    bool Active = false;
    QPoint Start;
    TControl* Target = nullptr;
    QPoint TargetPos; // the pointer in the target's client coordinates
    bool Accepted = false;
    bool CursorSet = false;
    // The source whose button release ends the drag it started: the release
    // belongs to the drag, not to the source's own click and mouse-up.
    TControl* EndedBy = nullptr;

    void SetCursor(int cursor)
    {
        if (CursorSet)
            QApplication::changeOverrideCursor(QCursor(CursorToQt(cursor)));
        else
            QApplication::setOverrideCursor(QCursor(CursorToQt(cursor)));
        CursorSet = true;
    }

    // The control under a screen point: the window's control, or its graphic child there.
    static TControl* ControlAt(const QPoint& global, QPoint& local)
    {
        QWidget* w = QApplication::widgetAt(global);
        TWinControl* wc = FindControl(w);
        if (!wc)
            return nullptr;
        const TPoint c = wc->ScreenToClient(TPoint(global.x(), global.y()));
        local = QPoint(c.X, c.Y);
        if (TControl* g = wc->ControlAtPos(c.X, c.Y)) {
            local = QPoint(c.X - g->Left(), c.Y - g->Top());
            return g;
        }
        return wc;
    }

    void Move(const QPoint& global)
    {
        QPoint local;
        TControl* t = ControlAt(global, local);
        if (Target && t != Target && Target->OnDragOver) {
            bool accept = false;
            Target->OnDragOver(Target, Src, local.x(), local.y(), dsDragLeave, accept);
        }
        const TDragState state = t == Target ? dsDragMove : dsDragEnter;
        Target = t;
        TargetPos = local;
        Accepted = false;
        if (t && t->OnDragOver) {
            Accepted = true;
            t->OnDragOver(t, Src, local.x(), local.y(), state, Accepted);
        }
        SetCursor(Accepted ? Src->DragCursor() : crNoDrop);
    }

    void Finish(bool drop, const QPoint& global)
    {
        TControl* src = Src;
        const bool wasActive = Active;
        TControl* target = nullptr;
        QPoint local;
        if (wasActive && drop) {
            Move(global);
            if (Accepted) {
                target = Target;
                local = TargetPos;
            }
        }
        Reset();
        if (!wasActive || !src)
            return;
        SafeCall([&] {
            if (target && target->OnDragDrop)
                target->OnDragDrop(target, src, local.x(), local.y());
            if (src->OnEndDrag)
                src->OnEndDrag(src, target, local.x(), local.y());
        });
    }

    void Reset()
    {
        if (CursorSet)
            QApplication::restoreOverrideCursor();
        CursorSet = false;
        Src = nullptr;
        Target = nullptr;
        Active = false;
        Accepted = false;
        qApp->removeEventFilter(this);
    }

    void StartNow()
    {
        Active = true;
        if (Src->OnStartDrag)
            SafeCall([&] { Src->OnStartDrag(Src); });
        if (Src)
            SetCursor(Src->DragCursor());
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        Q_UNUSED(o);
        if (!Src)
            return false;
        switch (e->type()) {
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(e);
            const QPoint g = me->globalPosition().toPoint();
            if (!Active) {
                if ((g - Start).manhattanLength() < TDragManager::Threshold)
                    return false;
                StartNow();
            }
            SafeCall([&] { Move(g); });
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(e);
            EndedBy = Active ? Src : nullptr;
            Finish(true, me->globalPosition().toPoint());
            return false;
        }
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape && Active) {
                Finish(false, QCursor::pos());
                return true;
            }
            return false;
        default:
            return false;
        }
    }
};

TDragFilter& Filter()
{
    static TDragFilter f;
    return f;
}
} // namespace

void TDragManager::Begin(TControl* source, bool immediate, std::optional<TPoint> start)
{
    TDragFilter& f = Filter();
    if (f.Src)
        f.Reset();
    f.Src = source;
    f.EndedBy = nullptr;
    f.Start = start ? start->ToQPoint() : QCursor::pos();
    qApp->installEventFilter(&f);
    if (immediate)
        f.StartNow();
}

void TDragManager::End(bool drop) { Filter().Finish(drop, QCursor::pos()); }
void TDragManager::Cancel() { Filter().Reset(); }
TControl* TDragManager::Source() { return Filter().Src; }
bool TDragManager::Active() { return Filter().Active; }

bool TDragManager::TakeEndingRelease(const TControl* source)
{
    TDragFilter& f = Filter();
    const bool ended = source && f.EndedBy == source;
    if (ended)
        f.EndedBy = nullptr;
    return ended;
}

void TDragManager::Forget(const TControl* control)
{
    TDragFilter& f = Filter();
    if (f.EndedBy == control)
        f.EndedBy = nullptr;
    if (f.Src == control)
        f.Reset();
}
