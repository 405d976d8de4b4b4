#include "platform/keyboard_move_size.h"

#include "platform/messages.h"
#include "platform/non_client.h"
#include "platform/window_proc.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {
constexpr int kStep = 8; // pixels per key press

class TKeyboardMoveSize : public QObject {
public:
    TKeyboardMoveSize(HWND w, bool size) : FWindow(w), FSize(size), FStartPos(w->pos()), FStartGeometry(w->geometry())
    {
        qApp->installEventFilter(this);
    }
    ~TKeyboardMoveSize() override { qApp->removeEventFilter(this); }

    void End(bool restore)
    {
        qApp->removeEventFilter(this);
        const QPointer<QWidget> w = FWindow;
        if (w && restore) {
            if (FSize)
                w->setGeometry(FStartGeometry);
            else
                w->move(FStartPos);
        }
        deleteLater();
        gActive = nullptr;
        if (w)
            SendMessage(w, WM_EXITSIZEMOVE);
    }

    static inline QPointer<TKeyboardMoveSize> gActive;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::ShortcutOverride:
            e->accept(); // no shortcut either: the key is ours
            return true;
        case QEvent::KeyPress:
            Key(static_cast<QKeyEvent*>(e)->key());
            return true;
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
            return true;
        case QEvent::MouseButtonPress:
            End(false);
            return true;
        case QEvent::WindowDeactivate:
            if (!FWindow || !FWindow->isActiveWindow())
                End(false);
            return false;
        default:
            if (!FWindow)
                End(false);
            return false;
        }
    }

private:
    void Key(int key)
    {
        if (!FWindow) {
            End(false);
            return;
        }
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            End(false);
            return;
        case Qt::Key_Escape:
            End(true);
            return;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            break;
        default:
            return;
        }
        const bool horizontal = key == Qt::Key_Left || key == Qt::Key_Right;
        const int d = (key == Qt::Key_Left || key == Qt::Key_Up) ? -kStep : kStep;
        if (!FSize) {
            FWindow->move(FWindow->pos() + (horizontal ? QPoint(d, 0) : QPoint(0, d)));
            return;
        }
        // The first key of each direction picks the edge that moves.
        if (horizontal && !(FEdges & (Qt::LeftEdge | Qt::RightEdge)))
            FEdges |= key == Qt::Key_Left ? Qt::LeftEdge : Qt::RightEdge;
        if (!horizontal && !(FEdges & (Qt::TopEdge | Qt::BottomEdge)))
            FEdges |= key == Qt::Key_Up ? Qt::TopEdge : Qt::BottomEdge;
        QRect g = FWindow->geometry();
        if (horizontal)
            (FEdges & Qt::LeftEdge) ? g.setLeft(g.left() + d) : g.setRight(g.right() + d);
        else
            (FEdges & Qt::TopEdge) ? g.setTop(g.top() + d) : g.setBottom(g.bottom() + d);
        const QSize minimum = MinimumTrackSize(FWindow);
        if (g.width() < minimum.width() || g.height() < minimum.height() || g.width() > FWindow->maximumWidth() ||
            g.height() > FWindow->maximumHeight())
            return;
        FWindow->setGeometry(g);
    }

    QPointer<QWidget> FWindow;
    bool FSize;
    QPoint FStartPos;
    QRect FStartGeometry;
    Qt::Edges FEdges;
};
} // namespace

void StartKeyboardMoveSize(HWND w, bool size)
{
    if (!w || !w->isWindow() || TKeyboardMoveSize::gActive)
        return;
    SendMessage(w, WM_ENTERSIZEMOVE);
    TKeyboardMoveSize::gActive = new TKeyboardMoveSize(w, size);
}

bool KeyboardMoveSizeActive() { return TKeyboardMoveSize::gActive != nullptr; }
