// The sums are products and additions in single precision in a fixed order;
// a fused multiply-add would round differently, so none is formed here even
// where the processor has one.
#if defined(__clang__)
#pragma clang fp contract(off)
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

#include "designer/objects/gauss_blur.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TV_BLUR_X86 1
#endif

void BuildGaussKernel(TGaussKernel& kernel, double radius, double maxData, double granularity)
{
    for (float& w : kernel.Weights)
        w = 0.0f;
    if (!(radius >= 1.0)) {
        kernel.Size = 0;
        kernel.W(0) = 1.0f;
        return;
    }
    for (int j = -MaxKernelSize; j <= MaxKernelSize; ++j) {
        const double t = j / radius;
        kernel.W(j) = static_cast<float>(std::exp(-t * t / 2.0));
    }
    double sum = 0.0;
    for (float w : kernel.Weights)
        sum += w;
    for (float& w : kernel.Weights)
        w = static_cast<float>(w / sum);

    int n = MaxKernelSize;
    double tails = 0.0;
    const double delta = granularity / (2.0 * maxData);
    while (tails < delta && n > 1) {
        tails += 2.0 * kernel.W(n);
        --n;
    }
    kernel.Size = n;

    sum = 0.0;
    for (int j = -n; j <= n; ++j)
        sum += kernel.W(j);
    for (int j = -n; j <= n; ++j)
        kernel.W(j) = static_cast<float>(kernel.W(j) / sum);
    // Weights outside the kernel play no part.
    for (int j = n + 1; j <= MaxKernelSize; ++j)
        kernel.W(j) = kernel.W(-j) = 0.0f;
}

int ClampIndex(int lower, int upper, int x)
{
    if (x >= lower && x <= upper)
        return x;
    return x > upper ? upper : lower;
}

int ClampChannel(int lower, int upper, float x)
{
    if (x >= static_cast<float>(lower) && x < static_cast<float>(upper))
        return static_cast<int>(x); // toward zero
    if (x >= static_cast<float>(upper))
        return upper;
    return lower;
}

void BlurRow(std::uint8_t* row, int high, const TGaussKernel& kernel, std::vector<float>& scratch, int pixelStep)
{
    if (high < 0)
        return;
    const int count = high + 1;
    const int n = kernel.Size;
    // The row's channels as floats, then the blurred bytes.
    scratch.resize(static_cast<std::size_t>(count) * 6);
    float* src = scratch.data();
    float* out = src + static_cast<std::size_t>(count) * 3;
    for (int j = 0; j < count; ++j)
        for (int c = 0; c < 3; ++c)
            src[j * 3 + c] = row[static_cast<std::ptrdiff_t>(j) * pixelStep + c];
    for (int j = 0; j < count; ++j) {
        float sb = 0.0f, sg = 0.0f, sr = 0.0f;
        for (int k = -n; k <= n; ++k) {
            const float w = kernel.W(k);
            const float* p = src + ClampIndex(0, high, j - k) * 3;
            sb = sb + w * p[0];
            sg = sg + w * p[1];
            sr = sr + w * p[2];
        }
        out[j * 3 + 0] = sb;
        out[j * 3 + 1] = sg;
        out[j * 3 + 2] = sr;
    }
    for (int j = 0; j < count; ++j)
        for (int c = 0; c < 3; ++c)
            row[static_cast<std::ptrdiff_t>(j) * pixelStep + c] =
                static_cast<std::uint8_t>(BlurredChannel(out[j * 3 + c]));
}

void BlurPixels32Plain(std::uint8_t* bits, int width, int height, std::ptrdiff_t bytesPerLine, int radius)
{
    if (radius < 1 || width <= 0 || height <= 0)
        return;
    TGaussKernel kernel;
    BuildGaussKernel(kernel, radius, 255.0, 1.0);
    std::vector<float> scratch;
    for (int y = 0; y < height; ++y)
        BlurRow(bits + y * bytesPerLine, width - 1, kernel, scratch, 4);
    // A column is a row whose pixels lie a line apart.
    for (int x = 0; x < width; ++x)
        BlurRow(bits + static_cast<std::ptrdiff_t>(x) * 4, height - 1, kernel, scratch,
                static_cast<int>(bytesPerLine));
}

// ---------------------------------------------------------------- vector lanes
//
// Each lane holds one pixel's channel and runs the taps -n..n in order, so a
// lane computes exactly what the plain loop computes for that pixel.
namespace {

#ifdef TV_BLUR_X86
struct TLanes4 {
    using V = __m128;
    static constexpr int L = 4;
    static V Zero() { return _mm_setzero_ps(); }
    static V Set(float x) { return _mm_set1_ps(x); }
    static V Load(const float* p) { return _mm_loadu_ps(p); }
    static V MulAdd(V acc, V w, V x) { return _mm_add_ps(acc, _mm_mul_ps(w, x)); }
    // BlurredChannel on every lane: clamp to 0..255, then truncate.
    static void StoreChannels(V v, std::int32_t* out)
    {
        v = _mm_add_ps(v, _mm_set1_ps(BlurSumGuard));
        v = _mm_min_ps(_mm_max_ps(v, _mm_setzero_ps()), _mm_set1_ps(255.0f));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_cvttps_epi32(v));
    }
};

#define TV_AVX __attribute__((target("avx")))
struct TLanes8 {
    using V = __m256;
    static constexpr int L = 8;
    TV_AVX static V Zero() { return _mm256_setzero_ps(); }
    TV_AVX static V Set(float x) { return _mm256_set1_ps(x); }
    TV_AVX static V Load(const float* p) { return _mm256_loadu_ps(p); }
    TV_AVX static V MulAdd(V acc, V w, V x) { return _mm256_add_ps(acc, _mm256_mul_ps(w, x)); }
    TV_AVX static void StoreChannels(V v, std::int32_t* out)
    {
        v = _mm256_add_ps(v, _mm256_set1_ps(BlurSumGuard));
        v = _mm256_min_ps(_mm256_max_ps(v, _mm256_setzero_ps()), _mm256_set1_ps(255.0f));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_cvttps_epi32(v));
    }
};
#endif

#ifdef TV_BLUR_X86
namespace lanes4 {
using Lanes = TLanes4;
#include "designer/objects/gauss_blur_passes.h"
} // namespace lanes4

// The wide lanes: every function in here may use AVX; they are called only
// when the processor has it.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx")
#endif
namespace lanes8 {
using Lanes = TLanes8;
#include "designer/objects/gauss_blur_passes.h"

void Blur(std::uint8_t* bits, int width, int height, std::ptrdiff_t bytesPerLine, const TGaussKernel& kernel)
{
    RowPass(bits, width, height, bytesPerLine, kernel);
    ColumnPass(bits, width, height, bytesPerLine, kernel);
}
} // namespace lanes8
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

void BlurLanes4(std::uint8_t* bits, int width, int height, std::ptrdiff_t bytesPerLine, const TGaussKernel& kernel)
{
    lanes4::RowPass(bits, width, height, bytesPerLine, kernel);
    lanes4::ColumnPass(bits, width, height, bytesPerLine, kernel);
}
#endif // TV_BLUR_X86

int BestLaneWidth()
{
#ifdef TV_BLUR_X86
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") ? 8 : 4;
#else
    return 1;
#endif
}

int ForcedLanes = 0;

} // namespace

int BlurLaneWidth()
{
    static const int best = BestLaneWidth();
    if (ForcedLanes == 0 || ForcedLanes > best)
        return best;
    return ForcedLanes;
}

void SetBlurLaneWidth(int lanes) { ForcedLanes = lanes; }

void BlurPixels32(std::uint8_t* bits, int width, int height, std::ptrdiff_t bytesPerLine, int radius)
{
    if (radius < 1 || width <= 0 || height <= 0)
        return;
    TGaussKernel kernel;
    BuildGaussKernel(kernel, radius, 255.0, 1.0);
    switch (BlurLaneWidth()) {
#ifdef TV_BLUR_X86
    case 8:
        lanes8::Blur(bits, width, height, bytesPerLine, kernel);
        return;
    case 4:
        BlurLanes4(bits, width, height, bytesPerLine, kernel);
        return;
#endif
    default:
        BlurPixels32Plain(bits, width, height, bytesPerLine, radius);
        return;
    }
}
