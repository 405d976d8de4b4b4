// The row and column passes for one lane width. Included once per width,
// with Lanes naming the lane type (Zero, Set, Load, MulAdd, StoreChannels).
// No include guard: each inclusion sits in its own namespace.

// Rows: each channel of the row goes into its own float line with the edge
// pixels repeated n times before and after; output pixel j reads taps
// line[j + 2n - (k + n)] for k = -n..n.
void RowPass(std::uint8_t* bits, int width, int height, std::ptrdiff_t bytesPerLine, const TGaussKernel& kernel)
{
    using V = Lanes::V;
    constexpr int L = Lanes::L;
    constexpr int Block = L * 2; // pixels per step: 2 vectors x 3 channels
    const int n = kernel.Size;
    const int taps = 2 * n + 1;
    const int blocks = (width + Block - 1) / Block;
    const int padded = blocks * Block + 2 * n;
    std::vector<float> lines(static_cast<std::size_t>(padded) * 3 + L, 0.0f);
    float* line[3] = {lines.data(), lines.data() + padded, lines.data() + 2 * padded};
    std::vector<float> weights(static_cast<std::size_t>(taps));
    for (int k = -n; k <= n; ++k)
        weights[static_cast<std::size_t>(k + n)] = kernel.W(k);
    alignas(32) std::int32_t result[3][Block];

    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bits + y * bytesPerLine;
        for (int i = 0; i < width + 2 * n; ++i) {
            const std::uint8_t* p = row + ClampIndex(0, width - 1, i - n) * 4;
            line[0][i] = p[0];
            line[1][i] = p[1];
            line[2][i] = p[2];
        }
        for (int b = 0; b < blocks; ++b) {
            const int j0 = b * Block;
            // Six sums in registers: blue, green, red of two vectors of pixels.
            V b0 = Lanes::Zero(), b1 = b0, g0 = b0, g1 = b0, r0 = b0, r1 = b0;
            // Tap k reads from j0 + n - k: k = -n first.
            const float* pb = line[0] + j0 + 2 * n;
            const float* pg = line[1] + j0 + 2 * n;
            const float* pr = line[2] + j0 + 2 * n;
            for (int t = 0; t < taps; ++t) {
                const V w = Lanes::Set(weights[static_cast<std::size_t>(t)]);
                b0 = Lanes::MulAdd(b0, w, Lanes::Load(pb - t));
                b1 = Lanes::MulAdd(b1, w, Lanes::Load(pb - t + L));
                g0 = Lanes::MulAdd(g0, w, Lanes::Load(pg - t));
                g1 = Lanes::MulAdd(g1, w, Lanes::Load(pg - t + L));
                r0 = Lanes::MulAdd(r0, w, Lanes::Load(pr - t));
                r1 = Lanes::MulAdd(r1, w, Lanes::Load(pr - t + L));
            }
            Lanes::StoreChannels(b0, result[0]);
            Lanes::StoreChannels(b1, result[0] + L);
            Lanes::StoreChannels(g0, result[1]);
            Lanes::StoreChannels(g1, result[1] + L);
            Lanes::StoreChannels(r0, result[2]);
            Lanes::StoreChannels(r1, result[2] + L);
            const int end = std::min(Block, width - j0);
            std::uint8_t* out = row + j0 * 4;
            for (int j = 0; j < end; ++j) {
                out[j * 4 + 0] = static_cast<std::uint8_t>(result[0][j]);
                out[j * 4 + 1] = static_cast<std::uint8_t>(result[1][j]);
                out[j * 4 + 2] = static_cast<std::uint8_t>(result[2][j]);
            }
        }
    }
}

// Columns: a strip of pixels side by side is copied, channel by channel, into
// a float buffer a line per row (edge rows repeated n times), then every row
// of the strip is summed along the column with the lanes running across the
// strip. The buffer is read row after row, so it stays in the cache.
void ColumnPass(std::uint8_t* bits, int width, int height, std::ptrdiff_t bytesPerLine, const TGaussKernel& kernel)
{
    using V = Lanes::V;
    constexpr int L = Lanes::L;
    constexpr int Floats = L * 6; // floats per buffer line: six vectors
    constexpr int StripPixels = Floats / 3;
    const int n = kernel.Size;
    const int taps = 2 * n + 1;
    const int lines = height + 2 * n;
    std::vector<float> buffer(static_cast<std::size_t>(lines) * Floats, 0.0f);
    std::vector<float> weights(static_cast<std::size_t>(taps));
    for (int k = -n; k <= n; ++k)
        weights[static_cast<std::size_t>(k + n)] = kernel.W(k);
    alignas(32) std::int32_t result[Floats];

    for (int x0 = 0; x0 < width; x0 += StripPixels) {
        const int pixels = std::min(StripPixels, width - x0);
        for (int i = 0; i < lines; ++i) {
            const std::uint8_t* src = bits + ClampIndex(0, height - 1, i - n) * bytesPerLine + x0 * 4;
            float* dst = buffer.data() + static_cast<std::size_t>(i) * Floats;
            for (int p = 0; p < pixels; ++p) {
                dst[p * 3 + 0] = src[p * 4 + 0];
                dst[p * 3 + 1] = src[p * 4 + 1];
                dst[p * 3 + 2] = src[p * 4 + 2];
            }
        }
        for (int y = 0; y < height; ++y) {
            V a0 = Lanes::Zero(), a1 = a0, a2 = a0, a3 = a0, a4 = a0, a5 = a0;
            // Tap k reads row y - k, buffer line y + n - k: k = -n first.
            const float* src = buffer.data() + static_cast<std::size_t>(y + 2 * n) * Floats;
            for (int t = 0; t < taps; ++t, src -= Floats) {
                const V w = Lanes::Set(weights[static_cast<std::size_t>(t)]);
                a0 = Lanes::MulAdd(a0, w, Lanes::Load(src));
                a1 = Lanes::MulAdd(a1, w, Lanes::Load(src + L));
                a2 = Lanes::MulAdd(a2, w, Lanes::Load(src + 2 * L));
                a3 = Lanes::MulAdd(a3, w, Lanes::Load(src + 3 * L));
                a4 = Lanes::MulAdd(a4, w, Lanes::Load(src + 4 * L));
                a5 = Lanes::MulAdd(a5, w, Lanes::Load(src + 5 * L));
            }
            Lanes::StoreChannels(a0, result);
            Lanes::StoreChannels(a1, result + L);
            Lanes::StoreChannels(a2, result + 2 * L);
            Lanes::StoreChannels(a3, result + 3 * L);
            Lanes::StoreChannels(a4, result + 4 * L);
            Lanes::StoreChannels(a5, result + 5 * L);
            std::uint8_t* out = bits + y * bytesPerLine + x0 * 4;
            for (int p = 0; p < pixels; ++p) {
                out[p * 4 + 0] = static_cast<std::uint8_t>(result[p * 3 + 0]);
                out[p * 4 + 1] = static_cast<std::uint8_t>(result[p * 3 + 1]);
                out[p * 4 + 2] = static_cast<std::uint8_t>(result[p * 3 + 2]);
            }
        }
    }
}

