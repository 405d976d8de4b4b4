#include "skin/form/skin_menu_items.h"

#include "classlib/controls/image_list.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"
#include "classlib/graphics/canvas.h"
#include "classlib/graphics/types.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <QPainter>
#include <algorithm>

namespace {
constexpr unsigned kTextFlags = DT_SINGLELINE | DT_EXPANDTABS | DT_VCENTER;

TColor Colour(const TSkinData* skin, TColor TSkinColours::*field, TColor fallback)
{
    return skin ? skin->Colours.*field : fallback;
}

int TextWidth(const QString& text)
{
    QImage probe(1, 1, QImage::Format_RGB32);
    TCanvas canvas;
    canvas.BindImage(&probe);
    canvas.SetFont(&SkinMenuFont());
    TRect r(0, 0, 0, 0);
    canvas.DrawText(text, r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
    canvas.Unbind();
    return r.Width();
}

int TextHeight()
{
    QImage probe(1, 1, QImage::Format_RGB32);
    TCanvas canvas;
    canvas.BindImage(&probe);
    canvas.SetFont(&SkinMenuFont());
    const int h = canvas.TextHeight(QStringLiteral("Áy"));
    canvas.Unbind();
    return h;
}

// The platform's check-mark bitmap: a 7 x 7 tick, three pixels thick.
void DrawCheckMark(QPainter& p, const QRect& column, const QColor& colour)
{
    static constexpr int kTick[7] = {2, 3, 4, 3, 2, 1, 0}; // top row of each column
    const int x0 = column.left() + (column.width() - 7) / 2;
    const int y0 = column.top() + (column.height() - 7) / 2;
    for (int c = 0; c < 7; ++c)
        p.fillRect(x0 + c, y0 + kTick[c], 1, 3, colour);
}

// Frame 2 of the strip as the separator: its bottom rows, the left and right
// slices kept, the middle stretched, magenta transparent.
void DrawSeparator(QPainter& p, const TRect& r, const TDataSkinObject& o)
{
    const QRect frame = StripFrameRect(o.Image, false, 5, 2);
    const int rows = std::min(r.Height(), frame.height());
    const int sy = frame.bottom() + 1 - rows;
    const int lw = std::min(o.LeftWidth, frame.width());
    const int rw = std::min(o.RightWidth, frame.width() - lw);
    QImage part(r.Width(), rows, QImage::Format_RGB32);
    part.fill(qRgb(255, 0, 255));
    {
        QPainter q(&part);
        const int mid = r.Width() - lw - rw;
        q.drawImage(QRect(0, 0, lw, rows), o.Image, QRect(frame.left(), sy, lw, rows));
        if (mid > 0)
            q.drawImage(QRect(lw, 0, mid, rows), o.Image, QRect(frame.left() + lw, sy, frame.width() - lw - rw, rows));
        q.drawImage(QRect(r.Width() - rw, 0, rw, rows), o.Image, QRect(frame.right() + 1 - rw, sy, rw, rows));
    }
    DrawTransparentBitmap(p, TRect(r.Left, r.Top, r.Right, r.Top + rows), part, clFuchsia);
}
} // namespace

const TFont& SkinMenuFont()
{
    static const TFont font = [] {
        TFont f;
        f.SetName(QStringLiteral("Tahoma"));
        f.SetHeight(-11);
        f.SetCharset(DEFAULT_CHARSET);
        return f;
    }();
    return font;
}

TSkinMenuItemLook SkinMenuItemLook(const TMenuItem* item)
{
    TSkinMenuItemLook look;
    if (!item)
        return look;
    look.Caption = item->Caption();
    look.Separator = item->IsLine();
    look.Enabled = item->Enabled();
    look.Checked = item->Checked();
    if (item->ShortCut())
        look.ShortCut = ShortCutToText(item->ShortCut());
    if (const TMenu* menu = item->Menu(); menu && menu->Images()) {
        const TImageList* images = menu->Images();
        look.ColumnWidth = images->Width();
        look.ColumnHeight = images->Height();
        if (item->ImageIndex() >= 0 && item->ImageIndex() < images->Count())
            look.Image = images->Image(item->ImageIndex());
    }
    return look;
}

void SkinMeasureMenuItem(const TSkinData* skin, bool menuHasImages, bool popupItem, MEASUREITEMSTRUCT& mis)
{
    const int left = skin && skin->MenuItem ? skin->MenuItem->LeftWidth : 0;
    mis.itemWidth += static_cast<unsigned>(left + (menuHasImages ? (popupItem ? 12 : 10) : 35));
}

void SkinMeasureWindowsMenuItem(const TSkinData* skin, const QString& caption, MEASUREITEMSTRUCT& mis)
{
    const int left = skin && skin->MenuItem ? skin->MenuItem->LeftWidth : 0;
    mis.itemWidth = static_cast<unsigned>(TextWidth(caption) + 26 + left);
    mis.itemHeight = caption.isEmpty() ? 8u : static_cast<unsigned>(TextHeight() + 4);
}

QImage SkinMenuItemBitmap(const TRect& r, const TSkinData* skin, const TSkinMenuItemLook& look,
                          const QImage* background)
{
    const int w = r.Width();
    const int h = r.Height();
    if (w <= 0 || h <= 0)
        return QImage();
    QImage bmp(w, h, QImage::Format_RGB32);
    const TDataSkinObject* o = skin && skin->MenuItem && !skin->MenuItem->Image.isNull() ? skin->MenuItem.get() : nullptr;
    QPainter p(&bmp);
    const TRect local(0, 0, w, h);
    if (o) {
        if (background && !background->isNull())
            p.drawImage(QPoint(0, 0), *background, r.ToQRect());
        else
            p.fillRect(bmp.rect(), ToQColor(Colour(skin, &TSkinColours::Menu, clMenu)));
        const TSkinMargins margins{o->LeftWidth, o->TopHeight, o->RightWidth, o->BottomHeight};
        if (look.Separator) {
            DrawSeparator(p, local, *o);
            return bmp;
        }
        NineGridDraw(p, local, o->Image, false, o->Tile != 0, o->Trans == 1, 5, look.Selected ? 4 : 1, margins);
    } else {
        const bool hilight = look.Selected && !look.Separator;
        p.fillRect(bmp.rect(), ToQColor(hilight ? Colour(skin, &TSkinColours::Hilight, clHighlight)
                                                : Colour(skin, &TSkinColours::Menu, clMenu)));
        if (look.Separator) {
            // The classic etched line across the middle.
            const int y = h / 2 - 1;
            p.fillRect(1, y, w - 2, 1, ToQColor(clBtnShadow));
            p.fillRect(1, y + 1, w - 2, 1, ToQColor(clBtnHighlight));
            return bmp;
        }
    }
    if (look.Separator)
        return bmp;

    // The glyph column.
    const int columnW = look.Checked ? std::max(16, look.ColumnWidth) : look.ColumnWidth;
    const int columnH = look.Checked ? std::max(16, look.ColumnHeight) : look.ColumnHeight;
    const int columnX = 1 + (o ? o->LeftWidth : 0);
    QRect column(columnX, 1, columnW, columnH);
    if (look.RightToLeft)
        column.moveLeft(w - columnX - columnW);
    if (!look.Image.isNull()) {
        if (look.Checked) {
            // A checked glyph sits on a halftone inside a sunken edge.
            QBrush halftone(ToQColor(clBtnHighlight), Qt::Dense4Pattern);
            p.fillRect(column, ToQColor(clBtnFace));
            p.fillRect(column, halftone);
            p.fillRect(column.left(), column.top(), column.width(), 1, ToQColor(clBtnShadow));
            p.fillRect(column.left(), column.top(), 1, column.height(), ToQColor(clBtnShadow));
            p.fillRect(column.left(), column.bottom(), column.width(), 1, ToQColor(clBtnHighlight));
            p.fillRect(column.right(), column.top(), 1, column.height(), ToQColor(clBtnHighlight));
        }
        QImage glyph = look.Image;
        if (!look.Enabled) {
            // Greyed, its transparent pixels kept.
            glyph = glyph.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < glyph.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(glyph.scanLine(y));
                for (int x = 0; x < glyph.width(); ++x) {
                    const int g = (qGray(line[x]) + 2 * 160) / 3;
                    line[x] = qRgba(g, g, g, qAlpha(line[x]));
                }
            }
        }
        p.drawImage(QPoint(column.left() + (column.width() - glyph.width()) / 2,
                           column.top() + (column.height() - glyph.height()) / 2),
                    glyph);
    } else if (look.Checked) {
        DrawCheckMark(p, column, ToQColor(look.Enabled ? Colour(skin, &TSkinColours::MenuText, clMenuText) : clBtnShadow));
    }
    p.end();

    // Caption and shortcut.
    TCanvas canvas;
    canvas.BindImage(&bmp);
    canvas.SetFont(&SkinMenuFont());
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->SetStyle(look.Default ? FontStyleBit(fsBold) : 0);
    TColor text = Colour(skin, &TSkinColours::MenuText, clMenuText);
    if (!o && look.Selected)
        text = Colour(skin, &TSkinColours::HilightText, clHighlightText);
    if (!look.Enabled)
        text = clBtnShadow;
    canvas.Font()->SetColor(text);
    if (look.RightToLeft) {
        TRect cr(10, 0, column.left() - 3, h);
        canvas.DrawText(look.Caption, cr, kTextFlags | DT_RIGHT);
        if (!look.ShortCut.isEmpty()) {
            TRect sr(10, 0, w, h);
            canvas.DrawText(look.ShortCut, sr, kTextFlags);
        }
    } else {
        TRect cr(column.right() + 1 + 3, 0, w, h);
        canvas.DrawText(look.Caption, cr, kTextFlags);
        if (!look.ShortCut.isEmpty()) {
            TRect sr(0, 0, w - 10, h);
            canvas.DrawText(look.ShortCut, sr, kTextFlags | DT_RIGHT);
        }
    }
    canvas.Unbind();
    return bmp;
}

void SkinDrawMenuItem(QPainter& dc, const TRect& r, const TSkinData* skin, const TSkinMenuItemLook& look,
                      const QImage* background)
{
    const QImage bmp = SkinMenuItemBitmap(r, skin, look, background);
    if (!bmp.isNull())
        dc.drawImage(QPoint(r.Left, r.Top), bmp);
}
