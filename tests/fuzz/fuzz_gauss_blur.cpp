// fuzz-layer: tv_designer
// The blur over arbitrary sizes, radii and pixels: every lane width gives the
// plain loop's bytes, the unused byte of each pixel and the bytes after a
// line stay as they were, and nothing is read or written outside the picture.
#include "designer/objects/gauss_blur.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    // Small pictures keep the runs fast; the radius goes past both ends of 1..100.
    const int width = 1 + data[0] % 96;
    const int height = 1 + data[1] % 96;
    const int radius = static_cast<int8_t>(data[2]);
    const int tail = data[3] % 9; // extra bytes at the end of each line
    data += 4;
    size -= 4;
    const std::ptrdiff_t line = std::ptrdiff_t(width) * 4 + tail;
    std::vector<uint8_t> source(static_cast<size_t>(line) * height);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = size ? data[i % size] : uint8_t(i * 37);

    std::vector<uint8_t> plain = source;
    BlurPixels32Plain(plain.data(), width, height, line, radius);
    for (int y = 0; y < height; ++y)
        for (std::ptrdiff_t i = 0; i < line; ++i) {
            const size_t at = static_cast<size_t>(y * line + i);
            if ((i >= std::ptrdiff_t(width) * 4 || i % 4 == 3 || radius < 1) && plain[at] != source[at])
                std::abort();
        }
    for (int lanes : {4, 8}) {
        SetBlurLaneWidth(lanes);
        std::vector<uint8_t> fast = source;
        BlurPixels32(fast.data(), width, height, line, radius);
        if (fast != plain)
            std::abort();
    }
    SetBlurLaneWidth(0);
    return 0;
}
