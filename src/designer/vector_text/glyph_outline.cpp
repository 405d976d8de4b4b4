#include "designer/vector_text/glyph_outline.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QString>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H

namespace {

// One face file as fontconfig picked it for a family and style.
struct TFaceChoice {
    QByteArray File;
    int Index = 0;
    bool Embolden = false;
    bool HasMatrix = false;
    FT_Matrix Matrix{0x10000, 0, 0, 0x10000};
};

class TFaceCache {
public:
    ~TFaceCache()
    {
        for (auto& [key, face] : FFaces)
            FT_Done_Face(face);
        if (FLibrary)
            FT_Done_FreeType(FLibrary);
    }

    // The face and the synthesis fontconfig asks for, or null.
    FT_Face Face(const TFont& font, TFaceChoice& choice)
    {
        if (!FLibrary && FT_Init_FreeType(&FLibrary) != 0) {
            FLibrary = nullptr;
            return nullptr;
        }
        const QFont qf = font.ToQFont();
        const QFontInfo info(qf);
        // Qt has already resolved the face (or its metric twin): ask fontconfig for the same one.
        const QString family = info.family().isEmpty() ? font.Name() : info.family();
        const bool bold = info.bold() || font.HasStyle(fsBold);
        const bool italic = info.italic() || font.HasStyle(fsItalic);
        const auto key = std::make_tuple(family, bold, italic);
        auto found = FChoices.find(key);
        if (found == FChoices.end())
            found = FChoices.emplace(key, Choose(family, bold, italic)).first;
        choice = found->second;
        if (choice.File.isEmpty())
            return nullptr;
        const auto faceKey = std::make_pair(choice.File, choice.Index);
        auto f = FFaces.find(faceKey);
        if (f != FFaces.end())
            return f->second;
        FT_Face face = nullptr;
        if (FT_New_Face(FLibrary, choice.File.constData(), choice.Index, &face) != 0)
            return nullptr;
        FFaces.emplace(faceKey, face);
        return face;
    }

private:
    static TFaceChoice Choose(const QString& family, bool bold, bool italic)
    {
        TFaceChoice c;
        FcPattern* pattern = FcPatternCreate();
        if (!pattern)
            return c;
        const QByteArray fam = family.toUtf8();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(fam.constData()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        FcPatternDestroy(pattern);
        if (!match)
            return c;
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
            c.File = QByteArray(reinterpret_cast<const char*>(file));
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch)
            c.Index = index;
        FcBool embolden = FcFalse;
        if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch)
            c.Embolden = embolden == FcTrue;
        FcMatrix* m = nullptr;
        if (FcPatternGetMatrix(match, FC_MATRIX, 0, &m) == FcResultMatch && m) {
            c.HasMatrix = true;
            c.Matrix.xx = FT_Fixed(std::lround(m->xx * 65536.0));
            c.Matrix.xy = FT_Fixed(std::lround(m->xy * 65536.0));
            c.Matrix.yx = FT_Fixed(std::lround(m->yx * 65536.0));
            c.Matrix.yy = FT_Fixed(std::lround(m->yy * 65536.0));
        }
        FcPatternDestroy(match);
        return c;
    }

    FT_Library FLibrary = nullptr;
    std::map<std::tuple<QString, bool, bool>, TFaceChoice> FChoices;
    std::map<std::pair<QByteArray, int>, FT_Face> FFaces;
};

TFaceCache& Faces()
{
    static TFaceCache cache;
    return cache;
}

struct TPt {
    double X = 0, Y = 0;
};

TPt Mid(TPt a, TPt b) { return TPt{(a.X + b.X) / 2, (a.Y + b.Y) / 2}; }
TPt Lerp(TPt a, TPt b, double t) { return TPt{a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t}; }

// The records of one glyph as they are written.
class TOutlineWriter {
public:
    TOutlineWriter(const MAT2& m)
        : FM11(m.eM11 / 65536.0), FM12(m.eM12 / 65536.0), FM21(m.eM21 / 65536.0), FM22(m.eM22 / 65536.0)
    {
    }

    void BeginPolygon(TPt start)
    {
        FPolygonAt = FBytes.size();
        PutU32(0); // cb, filled in by EndPolygon
        PutU32(TT_POLYGON_TYPE);
        PutPoint(start);
        FCurveAt = SIZE_MAX;
    }
    void LineTo(TPt p)
    {
        if (FCurveAt == SIZE_MAX || FCurveType != TT_PRIM_LINE)
            BeginCurve(TT_PRIM_LINE);
        PutPoint(p);
        Count();
    }
    // Control points, then the on-curve end; consecutive controls imply the
    // on-curve midpoints between them.
    void QSpline(const std::vector<TPt>& controls, TPt end)
    {
        BeginCurve(TT_PRIM_QSPLINE);
        for (const TPt& c : controls) {
            PutPoint(c);
            Count();
        }
        PutPoint(end);
        Count();
        FCurveAt = SIZE_MAX; // a spline record ends at its explicit on-curve point
    }
    void EndPolygon()
    {
        const uint32_t cb = uint32_t(FBytes.size() - FPolygonAt);
        for (int i = 0; i < 4; ++i)
            FBytes[FPolygonAt + size_t(i)] = uint8_t(cb >> (8 * i));
        FCurveAt = SIZE_MAX;
    }
    const std::vector<uint8_t>& Bytes() const { return FBytes; }

private:
    void BeginCurve(uint16_t type)
    {
        FCurveAt = FBytes.size();
        FCurveType = type;
        PutU16(type);
        PutU16(0);
    }
    void Count()
    {
        const uint16_t n = uint16_t(ReadU16(&FBytes[FCurveAt + 2]) + 1);
        FBytes[FCurveAt + 2] = uint8_t(n);
        FBytes[FCurveAt + 3] = uint8_t(n >> 8);
    }
    void PutU16(uint16_t v)
    {
        FBytes.push_back(uint8_t(v));
        FBytes.push_back(uint8_t(v >> 8));
    }
    void PutU32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            FBytes.push_back(uint8_t(v >> (8 * i)));
    }
    static int32_t ToFixed(double v)
    {
        const double f = std::nearbyint(v * 65536.0);
        if (f >= 2147483647.0)
            return INT32_MAX;
        if (f <= -2147483648.0)
            return INT32_MIN;
        return int32_t(f);
    }
    void PutPoint(TPt p)
    {
        PutU32(uint32_t(ToFixed(FM11 * p.X + FM21 * p.Y)));
        PutU32(uint32_t(ToFixed(FM12 * p.X + FM22 * p.Y)));
    }

    double FM11, FM12, FM21, FM22;
    std::vector<uint8_t> FBytes;
    size_t FPolygonAt = 0;
    size_t FCurveAt = SIZE_MAX;
    uint16_t FCurveType = 0;
};

// A cubic piece as quadratic splines: four pieces, each with the control
// point that matches the cubic's end tangents on average.
void CubicToQuads(TOutlineWriter& w, TPt p0, TPt c1, TPt c2, TPt p3)
{
    constexpr int kPieces = 4;
    TPt a0 = p0, a1 = c1, a2 = c2, a3 = p3;
    for (int i = 0; i < kPieces; ++i) {
        const double t = 1.0 / (kPieces - i);
        // Split off the first part [0, t] of the remaining cubic.
        const TPt ab = Lerp(a0, a1, t), bc = Lerp(a1, a2, t), cd = Lerp(a2, a3, t);
        const TPt abc = Lerp(ab, bc, t), bcd = Lerp(bc, cd, t), m = Lerp(abc, bcd, t);
        const TPt q{(3 * (ab.X + abc.X) - (a0.X + m.X)) / 4, (3 * (ab.Y + abc.Y) - (a0.Y + m.Y)) / 4};
        w.QSpline({q}, m);
        a0 = m;
        a1 = bcd;
        a2 = cd;
    }
}

void WriteContour(TOutlineWriter& w, const FT_Outline& o, int first, int last)
{
    const int n = last - first + 1;
    if (n <= 0)
        return;
    auto pt = [&](int i) { return TPt{o.points[first + i].x / 64.0, o.points[first + i].y / 64.0}; };
    auto tag = [&](int i) { return FT_CURVE_TAG(o.tags[first + i]); };
    int startIdx = -1;
    for (int i = 0; i < n; ++i)
        if (tag(i) == FT_CURVE_TAG_ON) {
            startIdx = i;
            break;
        }
    TPt start;
    int from; // index of the first point after the start
    int count; // points to walk after the start
    if (startIdx < 0) {
        // Only control points: the contour starts between the last and the first.
        start = Mid(pt(n - 1), pt(0));
        from = 0;
        count = n;
    } else {
        start = pt(startIdx);
        from = startIdx + 1;
        count = n - 1;
    }
    w.BeginPolygon(start);
    std::vector<TPt> conics;
    std::vector<TPt> cubics;
    TPt current = start;
    auto onPoint = [&](TPt p) {
        if (!cubics.empty()) {
            const TPt c1 = cubics[0];
            const TPt c2 = cubics.size() > 1 ? cubics[1] : cubics[0];
            CubicToQuads(w, current, c1, c2, p);
            cubics.clear();
        } else if (!conics.empty()) {
            w.QSpline(conics, p);
            conics.clear();
        } else {
            w.LineTo(p);
        }
        current = p;
    };
    for (int k = 0; k < count; ++k) {
        const int i = (from + k) % n;
        const TPt p = pt(i);
        switch (tag(i)) {
        case FT_CURVE_TAG_ON:
            onPoint(p);
            break;
        case FT_CURVE_TAG_CUBIC:
            cubics.push_back(p);
            if (cubics.size() > 2) {
                // Malformed run of cubic controls: keep it drawable.
                const TPt last2 = cubics.back();
                cubics.pop_back();
                onPoint(Mid(cubics.back(), last2));
                cubics.push_back(last2);
            }
            break;
        default:
            conics.push_back(p);
            break;
        }
    }
    // Back to the start; a plain closing line is left to the reader's closing rule.
    if (!conics.empty() || !cubics.empty())
        onPoint(start);
    w.EndPolygon();
}

} // namespace

int CharExtent(const TFont& font, char32_t ch)
{
    const QFontMetrics fm(font.ToQFont());
    return fm.horizontalAdvance(QString::fromUcs4(&ch, 1));
}

uint32_t GetGlyphOutline(const TFont& font, char32_t ch, const MAT2& matrix, GLYPHMETRICS& metrics,
                         uint32_t bufferSize, uint8_t* buffer)
{
    TFaceChoice choice;
    FT_Face face = Faces().Face(font, choice);
    if (!face)
        return GDI_ERROR;
    const int ppem = std::max(1, font.ToQFont().pixelSize());
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(ppem)) != 0)
        return GDI_ERROR;
    const FT_UInt index = FT_Get_Char_Index(face, FT_ULong(ch));
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
        return GDI_ERROR;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE)
        return GDI_ERROR;
    if (choice.Embolden)
        FT_GlyphSlot_Embolden(slot);
    if (choice.HasMatrix)
        FT_Outline_Transform(&slot->outline, &choice.Matrix);

    // Metrics: the advance is the one text measurement gives, so spaces move
    // the pen exactly as far as the measured text assumes.
    const double adv = CharExtent(font, ch);
    const double m11 = matrix.eM11 / 65536.0, m12 = matrix.eM12 / 65536.0;
    metrics = GLYPHMETRICS{};
    metrics.gmCellIncX = int16_t(std::clamp(std::lround(m11 * adv), -32768L, 32767L));
    metrics.gmCellIncY = int16_t(std::clamp(std::lround(-m12 * adv), -32768L, 32767L));
    FT_BBox box;
    FT_Outline_Get_CBox(&slot->outline, &box);
    if (slot->outline.n_points > 0) {
        metrics.gmBlackBoxX = uint32_t((box.xMax - box.xMin + 63) / 64);
        metrics.gmBlackBoxY = uint32_t((box.yMax - box.yMin + 63) / 64);
        metrics.gmptGlyphOriginX = int32_t(box.xMin / 64);
        metrics.gmptGlyphOriginY = int32_t((box.yMax + 63) / 64);
    }

    const FT_Outline& o = slot->outline;
    if (o.n_contours <= 0 || o.n_points <= 0)
        return 0;
    TOutlineWriter w(matrix);
    int first = 0;
    for (int c = 0; c < o.n_contours; ++c) {
        const int last = o.contours[c];
        if (last < first || last >= o.n_points)
            break;
        WriteContour(w, o, first, last);
        first = last + 1;
    }
    const auto& bytes = w.Bytes();
    const uint32_t size = uint32_t(bytes.size());
    if (!buffer || bufferSize == 0)
        return size;
    if (bufferSize < size)
        return GDI_ERROR;
    std::memcpy(buffer, bytes.data(), size);
    return size;
}
