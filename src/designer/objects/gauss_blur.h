#pragma once
// The Gaussian blur of pictures: a kernel trimmed to the weights that can
// still move a channel by one step, applied to the rows, then to the columns.
// Pure arithmetic on pixel memory, usable without a window.

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int MaxKernelSize = 100;

struct TGaussKernel {
    int Size = 0;                          // taps -Size..Size are used
    float Weights[2 * MaxKernelSize + 1]{}; // indexed -100..100 through W()
    float W(int j) const { return Weights[j + MaxKernelSize]; }
    float& W(int j) { return Weights[j + MaxKernelSize]; }
};

// Weights exp(-(j/radius)^2/2), normalised, trimmed while both tails together
// weigh less than granularity / (2 * maxData), normalised again. A radius
// below 1 gives the one-tap kernel that changes nothing.
void BuildGaussKernel(TGaussKernel& kernel, double radius, double maxData, double granularity);

// x inside lower..upper, else the nearer end.
int ClampIndex(int lower, int upper, int x);
// Trunc(x) for lower <= x < upper, upper from upper on, lower below lower.
int ClampChannel(int lower, int upper, float x);

// A channel sum this close below a whole step counts as that step. The
// weights sum to one only up to single-precision rounding, so without it a
// flat area (white among them) would lose a step at many radii. It is the
// largest shortfall of a flat area's sum over every grey and radius 1..100
// (3/16384, twelve steps of the float spacing at 190, radius 50), and no
// more, so that as few other sums as possible are moved up a step.
constexpr float BlurSumGuard = 3.0f / 16384.0f;

// The one-channel value of a blurred pixel from its weighted sum.
inline int BlurredChannel(float sum) { return ClampChannel(0, 255, sum + BlurSumGuard); }

// Blurs high + 1 pixels of B, G, R bytes spaced pixelStep bytes apart in
// place: each channel becomes the sum over k = -Size..Size, in that order, of
// w[k] times the channel of pixel ClampIndex(0, high, j - k), in single
// precision. scratch is working memory kept between calls.
void BlurRow(std::uint8_t* row, int high, const TGaussKernel& kernel, std::vector<float>& scratch,
             int pixelStep = 4);

// Blurs a picture of 32-bit pixels (B, G, R, unused byte) in place: every row,
// then every column, each pass rounding to bytes as BlurRow does. Several
// pixels are summed at once; each keeps the tap order of BlurRow, so the
// result is the same as that of a plain loop.
void BlurPixels32(std::uint8_t* bits, int width, int height, std::ptrdiff_t bytesPerLine, int radius);

// The same with the plain per-pixel loop (no vector lanes): the reference the
// fast path must equal, also used where no vector unit is known.
void BlurPixels32Plain(std::uint8_t* bits, int width, int height, std::ptrdiff_t bytesPerLine, int radius);

// Which lane width the fast path uses on this processor (1 = plain loop).
int BlurLaneWidth();
// Forces a lane width (1, 4 or 8; 0 = the best the processor has), for tests.
void SetBlurLaneWidth(int lanes);
