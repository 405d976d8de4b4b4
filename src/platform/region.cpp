#include "platform/region.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>

TRegion TRegion::FromRect(int l, int t, int r, int b)
{
    TRegion rgn;
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    if (r <= l || b <= t)
        return rgn;
    for (int y = t; y < b; ++y)
        rgn.FRows.push_back(Row{y, Spans{{l, r}}});
    return rgn;
}

TRegion TRegion::FromEllipse(int l, int t, int r, int b)
{
    TRegion rgn;
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    if (r - l < 1 || b - t < 1)
        return rgn;
    const double cx = (l + r) / 2.0, cy = (t + b) / 2.0;
    const double ax = (r - l) / 2.0, ay = (b - t) / 2.0;
    for (int y = t; y < b; ++y) {
        const double yc = (y + 0.5 - cy) / ay;
        const double q = 1.0 - yc * yc;
        if (q < 0)
            continue;
        const double dx = ax * std::sqrt(q);
        // Pixel i is in when its centre i + 0.5 lies within [cx - dx, cx + dx].
        const int x1 = static_cast<int>(std::ceil(cx - dx - 0.5));
        const int x2 = static_cast<int>(std::floor(cx + dx - 0.5)) + 1;
        if (x2 > x1)
            rgn.FRows.push_back(Row{y, Spans{{x1, x2}}});
    }
    return rgn;
}

TRegion TRegion::FromRoundRect(int l, int t, int r, int b, int w, int h)
{
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    w = std::min(std::abs(w), r - l);
    h = std::min(std::abs(h), b - t);
    if (w < 2 || h < 2)
        return FromRect(l, t, r, b);
    TRegion rgn;
    const double ax = w / 2.0, ay = h / 2.0;
    for (int y = t; y < b; ++y) {
        // Distance into the corner arc on the vertical axis.
        double yc = 0;
        if (y + 0.5 < t + ay)
            yc = (t + ay - (y + 0.5)) / ay;
        else if (y + 0.5 > b - ay)
            yc = ((y + 0.5) - (b - ay)) / ay;
        const double q = 1.0 - yc * yc;
        if (q < 0)
            continue;
        const double inset = ax - ax * std::sqrt(q);
        const int x1 = static_cast<int>(std::ceil(l + inset - 0.5));
        const int x2 = static_cast<int>(std::floor(r - inset - 0.5)) + 1;
        if (x2 > x1)
            rgn.FRows.push_back(Row{y, Spans{{x1, x2}}});
    }
    return rgn;
}

TRegion TRegion::FromRects(const std::vector<TRect>& rects)
{
    std::map<int, Spans> rows;
    for (const TRect& r : rects) {
        if (r.IsEmpty())
            continue;
        for (int y = r.Top; y < r.Bottom; ++y)
            rows[y].emplace_back(r.Left, r.Right);
    }
    TRegion rgn;
    rgn.FRows.reserve(rows.size());
    for (auto& [y, spans] : rows) {
        std::sort(spans.begin(), spans.end());
        Spans merged;
        for (const auto& s : spans) {
            if (!merged.empty() && s.first <= merged.back().second)
                merged.back().second = std::max(merged.back().second, s.second);
            else
                merged.push_back(s);
        }
        rgn.FRows.push_back(Row{y, std::move(merged)});
    }
    return rgn;
}

bool TRegion::Contains(int x, int y) const
{
    auto it = std::lower_bound(FRows.begin(), FRows.end(), y, [](const Row& r, int v) { return r.Y < v; });
    if (it == FRows.end() || it->Y != y)
        return false;
    for (const auto& s : it->S)
        if (x >= s.first && x < s.second)
            return true;
    return false;
}

TRect TRegion::BoundingBox() const
{
    if (FRows.empty())
        return TRect();
    int l = FRows.front().S.front().first, r = FRows.front().S.back().second;
    for (const Row& row : FRows) {
        l = std::min(l, row.S.front().first);
        r = std::max(r, row.S.back().second);
    }
    return TRect(l, FRows.front().Y, r, FRows.back().Y + 1);
}

std::vector<TRect> TRegion::Rects() const
{
    std::vector<TRect> out;
    size_t i = 0;
    while (i < FRows.size()) {
        // Consecutive rows with equal spans form one band.
        size_t j = i + 1;
        while (j < FRows.size() && FRows[j].Y == FRows[j - 1].Y + 1 && FRows[j].S == FRows[i].S)
            ++j;
        for (const auto& s : FRows[i].S)
            out.emplace_back(s.first, FRows[i].Y, s.second, FRows[j - 1].Y + 1);
        i = j;
    }
    return out;
}

QRegion TRegion::ToQRegion() const
{
    QRegion q;
    for (const TRect& r : Rects())
        q += r.ToQRect();
    return q;
}

void TRegion::Offset(int dx, int dy)
{
    for (Row& row : FRows) {
        row.Y += dy;
        for (auto& s : row.S) {
            s.first += dx;
            s.second += dx;
        }
    }
}

int TRegion::PixelCount() const
{
    int n = 0;
    for (const Row& row : FRows)
        for (const auto& s : row.S)
            n += s.second - s.first;
    return n;
}

TRegion::Spans TRegion::CombineSpans(const Spans& a, const Spans& b, TRegionCombine mode)
{
    // Sweep over the edges of both span lists.
    std::vector<int> xs;
    for (const auto& s : a) {
        xs.push_back(s.first);
        xs.push_back(s.second);
    }
    for (const auto& s : b) {
        xs.push_back(s.first);
        xs.push_back(s.second);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    // The spans are sorted and disjoint: the one that could hold x is the last
    // starting at or before it.
    auto inside = [](const Spans& sp, int x) {
        auto it = std::upper_bound(sp.begin(), sp.end(), x, [](int v, const std::pair<int, int>& s) { return v < s.first; });
        return it != sp.begin() && x < std::prev(it)->second;
    };
    Spans out;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        const int x = xs[i];
        const bool ia = inside(a, x), ib = inside(b, x);
        bool in = false;
        switch (mode) {
        case RGN_AND:
            in = ia && ib;
            break;
        case RGN_OR:
            in = ia || ib;
            break;
        case RGN_XOR:
            in = ia != ib;
            break;
        case RGN_DIFF:
            in = ia && !ib;
            break;
        case RGN_COPY:
            in = ia;
            break;
        }
        if (!in)
            continue;
        if (!out.empty() && out.back().second == x)
            out.back().second = xs[i + 1];
        else
            out.emplace_back(x, xs[i + 1]);
    }
    return out;
}

TRegion TRegion::Combined(const TRegion& other, TRegionCombine mode) const
{
    if (mode == RGN_COPY)
        return *this;
    std::map<int, std::pair<const Spans*, const Spans*>> rows;
    static const Spans kEmpty;
    for (const Row& r : FRows)
        rows[r.Y].first = &r.S;
    for (const Row& r : other.FRows)
        rows[r.Y].second = &r.S;
    TRegion out;
    for (const auto& [y, pair] : rows) {
        Spans s = CombineSpans(pair.first ? *pair.first : kEmpty, pair.second ? *pair.second : kEmpty, mode);
        if (!s.empty())
            out.FRows.push_back(Row{y, std::move(s)});
    }
    return out;
}

void CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, TRegionCombine mode)
{
    dest = a.Combined(b, mode);
}
