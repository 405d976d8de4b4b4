#include "platform/region.h"

#include <algorithm>
#include <cmath>
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

std::vector<TRect> TRegion::CoverRects() const
{
    std::vector<TRect> out;
    // Spans still growing downward: their rectangle in out, by span.
    std::vector<std::pair<std::pair<int, int>, size_t>> open, next;
    int lastY = 0;
    for (const Row& row : FRows) {
        next.clear();
        size_t k = 0;
        for (const auto& s : row.S) {
            while (k < open.size() && open[k].first.first < s.first)
                ++k;
            if (k < open.size() && open[k].first == s && lastY + 1 == row.Y) {
                out[open[k].second].Bottom = row.Y + 1;
                next.push_back(open[k]);
            } else {
                out.emplace_back(s.first, row.Y, s.second, row.Y + 1);
                next.emplace_back(s, out.size() - 1);
            }
        }
        open.swap(next);
        lastY = row.Y;
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
    // One sweep over the edges of both sorted lists; each edge toggles its side.
    auto edge = [](const Spans& s, size_t k) { return (k & 1) ? s[k >> 1].second : s[k >> 1].first; };
    auto take = [mode](bool ia, bool ib) {
        switch (mode) {
        case RGN_AND:
            return ia && ib;
        case RGN_OR:
            return ia || ib;
        case RGN_XOR:
            return ia != ib;
        case RGN_DIFF:
            return ia && !ib;
        case RGN_COPY:
            return ia;
        }
        return false;
    };
    Spans out;
    out.reserve(a.size() + b.size());
    const size_t na = 2 * a.size(), nb = 2 * b.size();
    size_t ka = 0, kb = 0;
    bool ia = false, ib = false, in = false;
    int start = 0;
    while (ka < na || kb < nb) {
        int x = ka < na ? edge(a, ka) : edge(b, kb);
        if (kb < nb)
            x = std::min(x, edge(b, kb));
        for (; ka < na && edge(a, ka) == x; ++ka)
            ia = !ia;
        for (; kb < nb && edge(b, kb) == x; ++kb)
            ib = !ib;
        const bool now = take(ia, ib);
        if (now && !in)
            start = x;
        else if (!now && in)
            out.emplace_back(start, x);
        in = now;
    }
    return out;
}

TRegion TRegion::Combined(const TRegion& other, TRegionCombine mode) const
{
    if (mode == RGN_COPY)
        return *this;
    static const Spans kEmpty;
    TRegion out;
    out.FRows.reserve(FRows.size() + other.FRows.size());
    // Both row lists are sorted by Y: merge them.
    auto ra = FRows.begin(), rb = other.FRows.begin();
    while (ra != FRows.end() || rb != other.FRows.end()) {
        const Spans* sa = &kEmpty;
        const Spans* sb = &kEmpty;
        int y;
        if (rb == other.FRows.end() || (ra != FRows.end() && ra->Y < rb->Y)) {
            y = ra->Y;
            sa = &(ra++)->S;
        } else if (ra == FRows.end() || rb->Y < ra->Y) {
            y = rb->Y;
            sb = &(rb++)->S;
        } else {
            y = ra->Y;
            sa = &(ra++)->S;
            sb = &(rb++)->S;
        }
        Spans s = CombineSpans(*sa, *sb, mode);
        if (!s.empty())
            out.FRows.push_back(Row{y, std::move(s)});
    }
    return out;
}

void CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, TRegionCombine mode)
{
    dest = a.Combined(b, mode);
}
