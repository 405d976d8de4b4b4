// The blur's arithmetic against a plain loop over its formula.

#include "designer/objects/gauss_blur.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {
// 32-bit pixels with a line longer than the pixels need, so the line length
// is honoured and the bytes after the last pixel stay untouched.
struct TPixels {
    TPixels(int w, int h) : Width(w), Height(h), Line(w * 4 + 12), Bytes(static_cast<size_t>(Line) * h) {}
    std::uint8_t* At(int x, int y) { return Bytes.data() + static_cast<size_t>(y) * Line + x * 4; }
    int Width, Height, Line;
    std::vector<std::uint8_t> Bytes;
};

TPixels RandomPixels(int w, int h, unsigned seed)
{
    TPixels p(w, h);
    std::mt19937 rng(seed);
    for (auto& b : p.Bytes)
        b = static_cast<std::uint8_t>(rng());
    return p;
}

// The formula, one pixel and channel at a time: sum over k = -n..n of
// w[k] * pixel[clamp(j - k)] in single precision, truncated into 0..255 (with
// the given step guard), rows first, then columns over the rows' bytes.
void ReferenceBlur(TPixels& p, int radius, float guard = BlurSumGuard)
{
    TGaussKernel k;
    BuildGaussKernel(k, radius, 255.0, 1.0);
    const int n = k.Size;
    auto channel = [guard](float s) {
        s += guard;
        if (s >= 255.0f)
            return 255;
        if (s < 0.0f)
            return 0;
        return static_cast<int>(std::trunc(s));
    };
    auto clamp = [](int x, int hi) { return x < 0 ? 0 : (x > hi ? hi : x); };
    TPixels rows = p;
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x)
            for (int c = 0; c < 3; ++c) {
                float s = 0.0f;
                for (int t = -n; t <= n; ++t)
                    s = s + k.W(t) * static_cast<float>(p.At(clamp(x - t, p.Width - 1), y)[c]);
                rows.At(x, y)[c] = static_cast<std::uint8_t>(channel(s));
            }
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x)
            for (int c = 0; c < 3; ++c) {
                float s = 0.0f;
                for (int t = -n; t <= n; ++t)
                    s = s + k.W(t) * static_cast<float>(rows.At(x, clamp(y - t, p.Height - 1))[c]);
                p.At(x, y)[c] = static_cast<std::uint8_t>(channel(s));
            }
}

// The lane widths this processor can run, the plain loop (1) among them.
std::vector<int> LaneWidths()
{
    SetBlurLaneWidth(0);
    const int best = BlurLaneWidth();
    std::vector<int> widths{1};
    for (int w : {4, 8})
        if (w <= best)
            widths.push_back(w);
    return widths;
}

struct TLaneReset {
    ~TLaneReset() { SetBlurLaneWidth(0); }
};
} // namespace

TEST(GaussBlur, KernelIsTrimmedWhereTheTailsCanNoLongerMoveAStep)
{
    TGaussKernel k;
    BuildGaussKernel(k, 1, 255.0, 1.0);
    // Radius 1: weight 3 and beyond together stay under 1/510, weight 2 does not.
    EXPECT_EQ(k.Size, 2);
    double sum = 0;
    for (int j = -k.Size; j <= k.Size; ++j) {
        sum += k.W(j);
        EXPECT_EQ(k.W(j), k.W(-j));
    }
    EXPECT_NEAR(sum, 1.0, 1e-6);
    EXPECT_EQ(k.W(3), 0.0f);
    EXPECT_GT(k.W(0), k.W(1));
    EXPECT_GT(k.W(1), k.W(2));

    // Wider radii keep more taps, never more than 100.
    BuildGaussKernel(k, 20, 255.0, 1.0);
    EXPECT_EQ(k.Size, 61);
    BuildGaussKernel(k, 100, 255.0, 1.0);
    EXPECT_LE(k.Size, 100);
    EXPECT_GT(k.Size, 90);
    // No radius: one tap of weight one.
    BuildGaussKernel(k, 0, 255.0, 1.0);
    EXPECT_EQ(k.Size, 0);
    EXPECT_EQ(k.W(0), 1.0f);
}

TEST(GaussBlur, EveryLaneWidthEqualsThePlainFormulaPixelForPixel)
{
    TLaneReset reset;
    const int sizes[][2] = {{1, 1}, {1, 300}, {300, 1}, {257, 3}, {3, 257}, {331, 197}};
    unsigned seed = 7;
    for (const auto& s : sizes)
        for (int radius : {1, 3, 20, 100}) {
            const TPixels source = RandomPixels(s[0], s[1], ++seed);
            TPixels expected = source;
            ReferenceBlur(expected, radius);
            for (int lanes : LaneWidths()) {
                SetBlurLaneWidth(lanes);
                TPixels got = source;
                BlurPixels32(got.Bytes.data(), got.Width, got.Height, got.Line, radius);
                // Every byte: the three channels as the formula says, the
                // fourth byte and the line's tail as they were.
                int wrong = 0;
                for (int y = 0; y < got.Height; ++y)
                    for (int i = 0; i < got.Line; ++i) {
                        const size_t at = static_cast<size_t>(y) * got.Line + i;
                        const bool channel = i < got.Width * 4 && i % 4 != 3;
                        const std::uint8_t want = channel ? expected.Bytes[at] : source.Bytes[at];
                        wrong += got.Bytes[at] != want;
                    }
                EXPECT_EQ(wrong, 0) << s[0] << " x " << s[1] << " radius " << radius << " lanes " << lanes;
            }
        }
}

TEST(GaussBlur, FlatAreasKeepTheirValueAtEveryRadius)
{
    TLaneReset reset;
    for (int lanes : LaneWidths()) {
        SetBlurLaneWidth(lanes);
        // Every pixel of a flat area sums the same taps in the same order, so
        // a small picture stands for any size; white and every grey.
        for (int radius = 1; radius <= 100; ++radius)
            for (int grey = 0; grey <= 255; ++grey) {
                const auto value = static_cast<std::uint8_t>(grey);
                TPixels p(4, 3);
                for (auto& b : p.Bytes)
                    b = value;
                BlurPixels32(p.Bytes.data(), p.Width, p.Height, p.Line, radius);
                int changed = 0;
                for (auto b : p.Bytes)
                    changed += b != value;
                EXPECT_EQ(changed, 0) << "value " << int(value) << " radius " << radius << " lanes " << lanes;
            }
    }
}

TEST(GaussBlur, RadiusBelowOneLeavesThePixels)
{
    TPixels p = RandomPixels(5, 4, 3);
    const std::vector<std::uint8_t> before = p.Bytes;
    BlurPixels32(p.Bytes.data(), p.Width, p.Height, p.Line, 0);
    EXPECT_EQ(p.Bytes, before);
    BlurPixels32(p.Bytes.data(), p.Width, p.Height, p.Line, -5);
    EXPECT_EQ(p.Bytes, before);
}

TEST(GaussBlur, TheWhiteGuardMovesFewValuesOffThePlainFormula)
{
    // The guard lifts a sum just under a whole step to that step; any sum
    // within it of the next step is moved too. It has to stay that small:
    // on a noisy picture no more than one value in 2000 may differ from the
    // formula without a guard (a guard of 1/256 moved about 4 in 1000).
    TLaneReset reset;
    long long differ = 0, total = 0;
    unsigned seed = 40;
    for (int radius : {1, 2, 3, 7, 20, 50, 100}) {
        const TPixels source = RandomPixels(211, 157, ++seed);
        TPixels plain = source;
        ReferenceBlur(plain, radius, 0.0f);
        TPixels got = source;
        BlurPixels32(got.Bytes.data(), got.Width, got.Height, got.Line, radius);
        for (int y = 0; y < got.Height; ++y)
            for (int x = 0; x < got.Width; ++x)
                for (int c = 0; c < 3; ++c) {
                    differ += got.At(x, y)[c] != plain.At(x, y)[c];
                    ++total;
                }
    }
    EXPECT_LE(differ * 2000, total) << differ << " of " << total;
}
