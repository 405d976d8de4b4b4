#include "classlib/controls/trans_memo.h"

#include "classlib/forms/menus.h"
#include "classlib/sysutils.h"

#include <QContextMenuEvent>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace {
// Lays lines as far apart as the platform draws them (a label of the same
// font), not with Qt's extra leading, so the edited text stays where the
// label will draw it and as many lines fit as the label holds.
class TPlatformLineLayout : public QPlainTextDocumentLayout {
public:
    explicit TPlatformLineLayout(QTextDocument* doc) : QPlainTextDocumentLayout(doc) {}
    void SetLineHeight(int h) { FLineHeight = h; }

    QRectF blockBoundingRect(const QTextBlock& block) const override
    {
        QRectF r = QPlainTextDocumentLayout::blockBoundingRect(block); // lays the block out
        QTextLayout* tl = block.layout();
        if (FLineHeight <= 0 || r.isNull() || !tl || tl->lineCount() == 0)
            return r;
        // Every view of the block asks for its rectangle first: the lines move here.
        const qreal top = tl->lineAt(0).position().y();
        for (int i = 0; i < tl->lineCount(); ++i) {
            QTextLine line = tl->lineAt(i);
            line.setPosition(QPointF(line.position().x(), top + i * FLineHeight));
        }
        const qreal margin = block.next().isValid() ? 0 : document()->documentMargin();
        r.setHeight(top + tl->lineCount() * FLineHeight + margin);
        return r;
    }

private:
    int FLineHeight = 0;
};

// The editor's text area (its viewport) takes the right button itself; the
// control's popup menu, when it has one, is what the user expects there.
class TViewportFilter : public QObject {
public:
    TViewportFilter(TTransMemo* memo, QObject* parent) : QObject(parent), FMemo(memo) {}
    void Detach() { FMemo = nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!FMemo || event->type() != QEvent::ContextMenu || !FMemo->PopupMenu())
            return false;
        auto* viewport = static_cast<QWidget*>(watched);
        const QPoint p = viewport->mapTo(FMemo->Handle(), static_cast<QContextMenuEvent*>(event)->pos());
        TTransMemo* memo = FMemo;
        SafeCall([memo, p] {
            bool handled = false;
            memo->DoContextPopup(TPoint(p.x(), p.y()), handled);
        });
        return true;
    }

private:
    TTransMemo* FMemo;
};
} // namespace

TTransMemo::TTransMemo(TComponent* owner) : TMemo(owner) {}

TTransMemo::~TTransMemo()
{
    if (auto* f = static_cast<TViewportFilter*>(FViewportFilter.data()))
        f->Detach();
}

void TTransMemo::SetAlignText(TAlignment a)
{
    if (a == FAlignText)
        return;
    FAlignText = a;
    // The window's alignment; Qt applies it to the laid-out text without a new window.
    SetAlignment(a);
    Invalidate();
}

void TTransMemo::SetTransparent(bool v)
{
    if (v == FTransparent)
        return;
    FTransparent = v;
    ApplyBackground();
    Invalidate();
}

void TTransMemo::SetCaption(const QString& text)
{
    if (!FWidget) {
        FSyncing = true;
        FLines.SetText(text);
        FSyncing = false;
        FText = text;
        Change();
        return;
    }
    // The editor takes the text whole: the line list would drop a trailing line break.
    QString t = ToLineFeeds(text);
    FSyncing = true;
    Editor()->setPlainText(t);
    t = Editor()->toPlainText();
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    FText = t;
    FLines.SetText(t);
    FSyncing = false;
    Change();
}

void TTransMemo::FontChanged()
{
    TMemo::FontChanged();
    ApplyLineHeight();
}

void TTransMemo::ApplyLineHeight()
{
    if (!FWidget)
        return;
    auto* layout = dynamic_cast<TPlatformLineLayout*>(Editor()->document()->documentLayout());
    if (!layout)
        return;
    TCanvas measure;
    measure.SetFont(&FFont);
    TRect r(0, 0, 0, 0);
    measure.DrawText(QStringLiteral("X"), r, DT_CALCRECT | DT_NOPREFIX);
    layout->SetLineHeight(r.Height());
    QTextDocument* doc = Editor()->document();
    doc->markContentsDirty(0, doc->characterCount());
}

void TTransMemo::SetFormattingRect(const TRect* rect)
{
    // Qt's plain-text layout keeps one margin for all four sides: the
    // rectangle's inset from the client corner stands for it.
    FTextMargin = rect ? std::max(0, std::min(rect->Left, rect->Top)) : -1;
    if (!FWidget)
        return;
    Editor()->document()->setDocumentMargin(FTextMargin < 0 ? QTextDocument().documentMargin() : FTextMargin);
    Invalidate();
}

void TTransMemo::WndProc(TMessage& m)
{
    if (m.Msg == EM_SETRECT || m.Msg == EM_SETRECTNP) {
        SetFormattingRect(reinterpret_cast<const TRect*>(m.LParam));
        m.Result = 0;
        return;
    }
    TMemo::WndProc(m);
}

void TTransMemo::InitWidget()
{
    TMemo::InitWidget();
    {
        // A document laid out with the platform's line spacing, holding the text so far.
        QPlainTextEdit* e = Editor();
        auto* doc = new QTextDocument(e);
        doc->setDocumentLayout(new TPlatformLineLayout(doc));
        doc->setDefaultFont(e->font());
        doc->setPlainText(e->toPlainText());
        const bool syncing = FSyncing;
        FSyncing = true;
        e->setDocument(doc);
        FSyncing = syncing;
    }
    SetAlignment(FAlignText);
    ApplyLineHeight();
    if (FTextMargin >= 0)
        Editor()->document()->setDocumentMargin(FTextMargin);
    auto* filter = new TViewportFilter(this, FWidget);
    Editor()->viewport()->installEventFilter(filter);
    FViewportFilter = filter;
    ApplyBackground();
}

void TTransMemo::ColorChanged()
{
    TMemo::ColorChanged();
    ApplyBackground();
}

void TTransMemo::Change()
{
    PaintTransparent();
    TMemo::Change();
}

void TTransMemo::PaintTransparent()
{
    // Qt paints the parent beneath a window that does not fill itself, so the
    // design behind the text is redrawn with it; only the repaint is asked for.
    if (FTransparent && FWidget)
        Editor()->viewport()->update();
}

void TTransMemo::ApplyBackground()
{
    if (!FWidget)
        return;
    QPlainTextEdit* e = Editor();
    QPalette pal = e->palette();
    // Transparent: nothing fills the background, so the parent's painting
    // (drawn first) shows beneath the text.
    const QColor base = FTransparent ? QColor(Qt::transparent) : ToQColor(FColor);
    pal.setColor(QPalette::Base, base);
    pal.setColor(QPalette::Window, base);
    e->setPalette(pal);
    e->setAutoFillBackground(!FTransparent);
    e->viewport()->setAutoFillBackground(!FTransparent);
    e->viewport()->setPalette(pal);
}
