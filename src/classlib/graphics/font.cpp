#include "classlib/graphics/font.h"

#include "classlib/sysutils.h"

#include <QFontMetrics>
#include <algorithm>
#include <climits>

namespace {
struct CharsetName {
    int Value;
    const char* Name;
};
const CharsetName kCharsets[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};
} // namespace

bool CharsetToIdent(int charset, QString& ident)
{
    for (const auto& c : kCharsets)
        if (c.Value == charset) {
            ident = QString::fromLatin1(c.Name);
            return true;
        }
    return false;
}

bool IdentToCharset(const QString& ident, int& charset)
{
    for (const auto& c : kCharsets)
        if (ident.compare(QLatin1String(c.Name), Qt::CaseInsensitive) == 0) {
            charset = c.Value;
            return true;
        }
    return false;
}

TFont::TFont() = default;

void TFont::Assign(const TPersistent* source)
{
    const auto* f = dynamic_cast<const TFont*>(source);
    if (!f) {
        TPersistent::Assign(source);
        return;
    }
    FName = f->FName;
    FHeight = f->FHeight;
    FColor = f->FColor;
    FCharset = f->FCharset;
    FPitch = f->FPitch;
    FStyle = f->FStyle;
    FOrientation = f->FOrientation;
    Changed();
}

void TFont::SetName(const QString& name)
{
    if (name.isEmpty() || name == FName)
        return;
    FName = name;
    Changed();
}

void TFont::SetHeight(int height)
{
    if (height == FHeight)
        return;
    FHeight = height;
    Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, FPixelsPerInch, 72)); }

void TFont::SetColor(TColor color)
{
    if (color == FColor)
        return;
    FColor = color;
    Changed();
}

void TFont::SetCharset(int charset)
{
    if (charset == FCharset)
        return;
    FCharset = charset;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch)
{
    if (pitch == FPitch)
        return;
    FPitch = pitch;
    Changed();
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == FStyle)
        return;
    FStyle = style;
    Changed();
}

void TFont::SetOrientation(int tenths)
{
    if (tenths == FOrientation)
        return;
    FOrientation = tenths;
    Changed();
}

QFont TFont::ToQFont() const
{
    QFont f(FName);
    f.setStyleStrategy(QFont::PreferAntialias);
    if (FPitch == fpFixed)
        f.setFixedPitch(true);
    f.setBold(HasStyle(fsBold));
    f.setItalic(HasStyle(fsItalic));
    f.setUnderline(HasStyle(fsUnderline));
    f.setStrikeOut(HasStyle(fsStrikeOut));
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferFullHinting);
    // Heights come from files too: work in 64 bits so no height overflows.
    const auto pixels = [](long long v) { return static_cast<int>(std::clamp<long long>(v, 1, INT_MAX)); };
    if (FHeight < 0) {
        f.setPixelSize(pixels(-static_cast<long long>(FHeight)));
    } else if (FHeight > 0) {
        // A cell height: find the character height whose ascent plus descent matches.
        f.setPixelSize(FHeight);
        const QFontMetrics fm(f);
        const int cell = fm.ascent() + fm.descent();
        if (cell > 0)
            f.setPixelSize(pixels(static_cast<long long>(FHeight) * FHeight / cell));
    } else {
        f.setPixelSize(11); // height 0 asks for the default size
    }
    return f;
}

bool TFont::Equals(const TFont& o) const
{
    return FName == o.FName && FHeight == o.FHeight && FColor == o.FColor && FCharset == o.FCharset &&
           FPitch == o.FPitch && FStyle == o.FStyle && FOrientation == o.FOrientation;
}

void TPen::Assign(const TPersistent* source)
{
    const auto* p = dynamic_cast<const TPen*>(source);
    if (!p) {
        TPersistent::Assign(source);
        return;
    }
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    Changed();
}

void TPen::SetColor(TColor c)
{
    if (c == FColor)
        return;
    FColor = c;
    Changed();
}

void TPen::SetWidth(int w)
{
    if (w < 0)
        w = 0;
    if (w == FWidth)
        return;
    FWidth = w;
    Changed();
}

void TPen::SetStyle(TPenStyle s)
{
    if (s == FStyle)
        return;
    FStyle = s;
    Changed();
}

void TPen::SetMode(TPenMode m)
{
    if (m == FMode)
        return;
    FMode = m;
    Changed();
}

QPen TPen::ToQPen() const
{
    if (FStyle == psClear)
        return QPen(Qt::NoPen);
    QPen pen(ToQColor(FColor));
    pen.setWidth(FWidth <= 1 ? 0 : FWidth); // 0 = one-pixel cosmetic, as the platform draws width 1
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(FWidth <= 1 ? Qt::FlatCap : Qt::RoundCap);
    // Styled lines exist only for thin pens; wide pens draw solid.
    if (FWidth <= 1) {
        switch (FStyle) {
        case psDash:
            pen.setDashPattern({18, 6});
            break;
        case psDot:
            pen.setDashPattern({3, 3});
            break;
        case psDashDot:
            pen.setDashPattern({9, 6, 3, 6});
            break;
        case psDashDotDot:
            pen.setDashPattern({9, 3, 3, 3, 3, 3});
            break;
        default:
            break;
        }
    }
    return pen;
}

void TBrush::Assign(const TPersistent* source)
{
    const auto* b = dynamic_cast<const TBrush*>(source);
    if (!b) {
        TPersistent::Assign(source);
        return;
    }
    FColor = b->FColor;
    FStyle = b->FStyle;
    Changed();
}

void TBrush::SetColor(TColor c)
{
    if (c == FColor)
        return;
    FColor = c;
    // Choosing a colour for a clear brush makes it solid, as the class library does.
    if (FStyle == bsClear)
        FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle s)
{
    if (s == FStyle)
        return;
    FStyle = s;
    Changed();
}

QBrush TBrush::ToQBrush() const
{
    const QColor c = ToQColor(FColor);
    switch (FStyle) {
    case bsSolid:
        return QBrush(c, Qt::SolidPattern);
    case bsClear:
        return QBrush(Qt::NoBrush);
    case bsHorizontal:
        return QBrush(c, Qt::HorPattern);
    case bsVertical:
        return QBrush(c, Qt::VerPattern);
    case bsFDiagonal:
        return QBrush(c, Qt::FDiagPattern);
    case bsBDiagonal:
        return QBrush(c, Qt::BDiagPattern);
    case bsCross:
        return QBrush(c, Qt::CrossPattern);
    case bsDiagCross:
        return QBrush(c, Qt::DiagCrossPattern);
    }
    return QBrush(c);
}

const char* PenStyleName(TPenStyle s)
{
    static const char* const names[] = {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"};
    return names[s];
}

const char* PenModeName(TPenMode m)
{
    static const char* const names[] = {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                                        "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen",
                                        "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"};
    return names[m];
}

const char* BrushStyleName(TBrushStyle s)
{
    static const char* const names[] = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                        "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};
    return names[s];
}

const char* FontPitchName(TFontPitch p)
{
    static const char* const names[] = {"fpDefault", "fpVariable", "fpFixed"};
    return names[p];
}

const char* FontStyleName(TFontStyle s)
{
    static const char* const names[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
    return names[s];
}
