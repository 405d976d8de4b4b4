#include "classlib/controls/gauge.h"

#include <algorithm>

TGauge::TGauge(TComponent* owner) : TGraphicControl(owner)
{
    FWidth = 100;
    FHeight = 100;
}

void TGauge::SetMinValue(int v)
{
    FMinValue = v;
    FMaxValue = std::max(FMaxValue, v);
    FProgress = std::clamp(FProgress, FMinValue, FMaxValue);
    Invalidate();
}

void TGauge::SetMaxValue(int v)
{
    FMaxValue = std::max(v, FMinValue);
    FProgress = std::clamp(FProgress, FMinValue, FMaxValue);
    Invalidate();
}

void TGauge::SetProgress(int v)
{
    v = std::clamp(v, FMinValue, FMaxValue);
    if (v == FProgress)
        return;
    FProgress = v;
    Invalidate();
}

int TGauge::PercentDone() const
{
    const long long range = static_cast<long long>(FMaxValue) - FMinValue;
    if (range <= 0)
        return 0;
    return static_cast<int>((static_cast<long long>(FProgress) - FMinValue) * 100 / range);
}

void TGauge::SetForeColor(TColor c)
{
    FForeColor = c;
    Invalidate();
}

void TGauge::SetBackColor(TColor c)
{
    FBackColor = c;
    Invalidate();
}

void TGauge::SetShowText(bool v)
{
    FShowText = v;
    Invalidate();
}

void TGauge::SetBorderStyle(TBorderStyle s)
{
    FBorderStyle = s;
    Invalidate();
}

QString TGauge::DisplayText() const
{
    return FShowText ? QStringLiteral("%1%").arg(PercentDone()) : QString();
}

int TGauge::FilledWidth() const
{
    const int b = FBorderStyle == bsSingleBorder ? 1 : 0;
    const int inner = std::max(0, FWidth - 2 * b);
    return static_cast<int>(static_cast<long long>(inner) * PercentDone() / 100);
}

void TGauge::RepaintIfChanged()
{
    if (FilledWidth() != FPaintedWidth || DisplayText() != FPaintedText)
        Repaint();
}

void TGauge::Paint()
{
    FPaintedWidth = FilledWidth();
    FPaintedText = DisplayText();
    TCanvas* c = Canvas();
    TRect inner = ClientRect();
    if (FBorderStyle == bsSingleBorder) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBlack);
        c->FrameRect(inner);
        inner = TRect(inner.Left + 1, inner.Top + 1, inner.Right - 1, inner.Bottom - 1);
    }
    const TRect done(inner.Left, inner.Top, inner.Left + FilledWidth(), inner.Bottom);
    const TRect rest(done.Right, inner.Top, inner.Right, inner.Bottom);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FForeColor);
    c->FillRect(done);
    c->Brush()->SetColor(FBackColor);
    c->FillRect(rest);
    if (!FShowText)
        return;
    // The text reads in the back colour over the bar and in the fore colour beside it.
    const QString text = DisplayText();
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    const QSize ext = c->TextExtent(text);
    const int x = inner.Left + (inner.Width() - ext.width()) / 2;
    const int y = inner.Top + (inner.Height() - ext.height()) / 2;
    auto drawIn = [&](const TRect& area, TColor colour) {
        if (area.Width() <= 0)
            return;
        c->SetClipRect(area);
        c->Font()->SetColor(colour);
        c->TextOut(x, y, text);
        c->ClearClip();
    };
    drawIn(done, FBackColor);
    drawIn(rest, FForeColor);
}
