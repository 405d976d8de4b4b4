#include "classlib/controls/trans_memo.h"

#include <QPlainTextEdit>

TTransMemo::TTransMemo(TComponent* owner) : TMemo(owner) {}

void TTransMemo::SetAlignText(TAlignment a)
{
    if (a == Alignment())
        return;
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

void TTransMemo::InitWidget()
{
    TMemo::InitWidget();
    ApplyBackground();
}

void TTransMemo::ColorChanged()
{
    TMemo::ColorChanged();
    ApplyBackground();
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
