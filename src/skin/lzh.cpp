#include "skin/lzh.h"

#include <algorithm>

namespace Lzhuf {
namespace {
// The position tables follow from runs: each group of upper-position values
// takes the same number of first-byte slots and the same code length.
struct TRun {
    int Values;     // how many upper-position values in the group
    int Slots;      // first-byte slots per value
    uint8_t Bits;   // total bits of the position code
};
constexpr TRun kRuns[] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5}, {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};

constexpr std::array<uint8_t, 256> MakeTable(bool lengths)
{
    std::array<uint8_t, 256> t{};
    int pos = 0;
    int value = 0;
    for (const TRun& run : kRuns) {
        for (int v = 0; v < run.Values; ++v, ++value)
            for (int s = 0; s < run.Slots; ++s)
                t[pos++] = lengths ? run.Bits : static_cast<uint8_t>(value);
    }
    return t;
}
} // namespace

const std::array<uint8_t, 256> d_code = MakeTable(false);
const std::array<uint8_t, 256> d_len = MakeTable(true);

void THuffTree::Start()
{
    for (int i = 0; i < N_CHAR; ++i) {
        freq[i] = 1;
        son[i] = static_cast<uint16_t>(i + T);
        prnt[i + T] = static_cast<uint16_t>(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
        freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
        son[j] = static_cast<uint16_t>(i);
        prnt[i] = prnt[i + 1] = static_cast<uint16_t>(j);
    }
    freq[T] = 0xFFFF;  // sentinel above every count
    prnt[R] = 0;
}

void THuffTree::Rebuild()
{
    // Leaves to the front, counts halved (rounded up).
    int j = 0;
    for (int i = 0; i < T; ++i) {
        if (son[i] >= T) {
            freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
            son[j] = son[i];
            ++j;
        }
    }
    // Inner nodes from pairs, each inserted where its count keeps the order.
    for (int i = 0, jj = N_CHAR; jj < T; i += 2, ++jj) {
        const unsigned f = static_cast<unsigned>(freq[i]) + freq[i + 1];
        freq[jj] = static_cast<uint16_t>(f);
        int k = jj - 1;
        while (f < freq[k])
            --k;
        ++k;
        std::copy_backward(freq.begin() + k, freq.begin() + jj, freq.begin() + jj + 1);
        freq[k] = static_cast<uint16_t>(f);
        std::copy_backward(son.begin() + k, son.begin() + jj, son.begin() + jj + 1);
        son[k] = static_cast<uint16_t>(i);
    }
    for (int i = 0; i < T; ++i) {
        const int k = son[i];
        if (k >= T)
            prnt[k] = static_cast<uint16_t>(i);
        else
            prnt[k] = prnt[k + 1] = static_cast<uint16_t>(i);
    }
}

void THuffTree::Update(int c)
{
    if (freq[R] == MAX_FREQ)
        Rebuild();
    int node = prnt[c + T];
    do {
        const unsigned k = ++freq[node];
        int l = node + 1;
        if (k > freq[l]) {
            // The order is broken: swap with the last node of a smaller count.
            while (k > freq[++l]) {
            }
            --l;
            freq[node] = freq[l];
            freq[l] = static_cast<uint16_t>(k);

            const int i = son[node];
            prnt[i] = static_cast<uint16_t>(l);
            if (i < T)
                prnt[i + 1] = static_cast<uint16_t>(l);

            const int jj = son[l];
            son[l] = static_cast<uint16_t>(i);
            prnt[jj] = static_cast<uint16_t>(node);
            if (jj < T)
                prnt[jj + 1] = static_cast<uint16_t>(node);
            son[node] = static_cast<uint16_t>(jj);

            node = l;
        }
        node = prnt[node];
    } while (node != 0);
}
} // namespace Lzhuf

using namespace Lzhuf;

void TLZH::FillBits()
{
    while (FBitCount <= 8) {
        uint8_t b = 0;
        if ((*FRead)(&b, 1) < 1) {
            b = 0;  // past the end of the source every bit is 0
            ++FPastEnd;
        }
        FBitBuf = static_cast<uint16_t>(FBitBuf | (b << (8 - FBitCount)));
        FBitCount = static_cast<uint8_t>(FBitCount + 8);
    }
}

int TLZH::GetBit()
{
    FillBits();
    const int bit = (FBitBuf >> 15) & 1;
    FBitBuf = static_cast<uint16_t>(FBitBuf << 1);
    --FBitCount;
    return bit;
}

int TLZH::GetByte()
{
    FillBits();
    const int byte = FBitBuf >> 8;
    FBitBuf = static_cast<uint16_t>(FBitBuf << 8);
    FBitCount = static_cast<uint8_t>(FBitCount - 8);
    return byte;
}

int TLZH::DecodeChar()
{
    int c = FTree.Son(R);
    while (c < T)
        c = FTree.Son(c + GetBit());
    c -= T;
    FTree.Update(c);
    return c;
}

int TLZH::DecodePosition()
{
    int b = GetByte();
    const int high = d_code[b] << 6;
    for (int extra = d_len[b] - 2; extra > 0; --extra)
        b = (b << 1) + GetBit();
    return high | (b & 0x3F);
}

void TLZH::LZHDecode(int32_t size, const TWriteFunc& write, const TReadFunc& read)
{
    FRead = &read;
    FBitBuf = 0;
    FBitCount = 0;
    FPastEnd = 0;
    FTree.Start();
    FRing.fill(0);
    std::fill(FRing.begin(), FRing.begin() + (N - F), static_cast<uint8_t>(' '));
    int r = N - F;

    // Output goes out in chunks; the bytes are the same as one at a time.
    std::array<uint8_t, 4096> out;
    int outCount = 0;
    auto put = [&](uint8_t c) {
        out[outCount++] = c;
        if (outCount == static_cast<int>(out.size())) {
            write(out.data(), outCount);
            outCount = 0;
        }
        FRing[r] = c;
        r = (r + 1) & (N - 1);
    };

    int64_t count = 0;
    while (count < size) {
        const int c = DecodeChar();
        if (c < 256) {
            put(static_cast<uint8_t>(c));
            ++count;
        } else {
            const int s = (r - DecodePosition() - 1) & (N - 1);
            const int length = c - 255 + THRESHOLD;
            // One byte at a time: an overlapping source repeats what was just written.
            for (int k = 0; k < length; ++k)
                put(FRing[(s + k) & (N - 1)]);
            count += length;
        }
    }
    if (outCount > 0)
        write(out.data(), outCount);
    FRead = nullptr;
}
