#include "lzh_encoder.h"

#include "skin/lzh.h"

#include <array>
#include <memory>
#include <vector>

using namespace Lzhuf;

namespace SkinPack {
namespace {
constexpr int NIL = N;

class TEncoder {
public:
    explicit TEncoder(QByteArray& out) : FOut(out) {}
    void Encode(const QByteArray& input);

private:
    void InitTree();
    void InsertNode(int r);
    void DeleteNode(int p);
    void PutBits(int count, uint32_t bits);
    void EncodeChar(int c);
    void EncodePosition(int position);
    void Flush();

    QByteArray& FOut;
    std::array<uint8_t, N + F - 1> FRing{};
    std::array<int, N + 1> FLeft{};
    std::array<int, N + 257> FRight{};
    std::array<int, N + 1> FDad{};
    int FMatchPosition = 0;
    int FMatchLength = 0;
    THuffTree FTree;
    uint32_t FBitBuf = 0;  // pending bits, left-aligned in the low byte's future
    int FBitCount = 0;
    // Position code of each upper-position value: first byte and bit count.
    std::array<uint8_t, 64> FPosCode{};
    std::array<uint8_t, 64> FPosLen{};
};

void TEncoder::InitTree()
{
    for (int i = N + 1; i <= N + 256; ++i)
        FRight[i] = NIL;
    for (int i = 0; i < N; ++i)
        FDad[i] = NIL;
}

void TEncoder::InsertNode(int r)
{
    int cmp = 1;
    const uint8_t* key = &FRing[r];
    int p = N + 1 + key[0];
    FRight[r] = FLeft[r] = NIL;
    FMatchLength = 0;
    for (;;) {
        if (cmp >= 0) {
            if (FRight[p] != NIL) {
                p = FRight[p];
            } else {
                FRight[p] = r;
                FDad[r] = p;
                return;
            }
        } else {
            if (FLeft[p] != NIL) {
                p = FLeft[p];
            } else {
                FLeft[p] = r;
                FDad[r] = p;
                return;
            }
        }
        int i = 1;
        for (; i < F; ++i) {
            cmp = key[i] - FRing[p + i];
            if (cmp != 0)
                break;
        }
        if (i > THRESHOLD) {
            if (i > FMatchLength) {
                FMatchPosition = ((r - p) & (N - 1)) - 1;
                FMatchLength = i;
                if (FMatchLength >= F)
                    break;
            }
            if (i == FMatchLength) {
                const int c = ((r - p) & (N - 1)) - 1;
                if (c < FMatchPosition)
                    FMatchPosition = c;
            }
        }
    }
    // Full match: r replaces p in the tree.
    FDad[r] = FDad[p];
    FLeft[r] = FLeft[p];
    FRight[r] = FRight[p];
    FDad[FLeft[p]] = r;
    FDad[FRight[p]] = r;
    if (FRight[FDad[p]] == p)
        FRight[FDad[p]] = r;
    else
        FLeft[FDad[p]] = r;
    FDad[p] = NIL;
}

void TEncoder::DeleteNode(int p)
{
    if (FDad[p] == NIL)
        return;
    int q;
    if (FRight[p] == NIL) {
        q = FLeft[p];
    } else if (FLeft[p] == NIL) {
        q = FRight[p];
    } else {
        q = FLeft[p];
        if (FRight[q] != NIL) {
            do {
                q = FRight[q];
            } while (FRight[q] != NIL);
            FRight[FDad[q]] = FLeft[q];
            FDad[FLeft[q]] = FDad[q];
            FLeft[q] = FLeft[p];
            FDad[FLeft[p]] = q;
        }
        FRight[q] = FRight[p];
        FDad[FRight[p]] = q;
    }
    FDad[q] = FDad[p];
    if (FRight[FDad[p]] == p)
        FRight[FDad[p]] = q;
    else
        FLeft[FDad[p]] = q;
    FDad[p] = NIL;
}

// Appends the low count bits of bits, most significant first.
void TEncoder::PutBits(int count, uint32_t bits)
{
    for (int i = count - 1; i >= 0; --i) {
        FBitBuf = (FBitBuf << 1) | ((bits >> i) & 1u);
        if (++FBitCount == 8) {
            FOut.append(static_cast<char>(FBitBuf & 0xFF));
            FBitBuf = 0;
            FBitCount = 0;
        }
    }
}

void TEncoder::Flush()
{
    if (FBitCount > 0) {
        FOut.append(static_cast<char>((FBitBuf << (8 - FBitCount)) & 0xFF));
        FBitBuf = 0;
        FBitCount = 0;
    }
}

void TEncoder::EncodeChar(int c)
{
    // The path from the leaf up to the root, sent root first; an odd node is the
    // second son of its parent. Any depth is handled, not only 16 bits.
    std::vector<uint8_t> path;
    int k = FTree.Parent(c + T);
    do {
        path.push_back(static_cast<uint8_t>(k & 1));
        k = FTree.Parent(k);
    } while (k != R);
    for (auto it = path.rbegin(); it != path.rend(); ++it)
        PutBits(1, *it);
    FTree.Update(c);
}

void TEncoder::EncodePosition(int position)
{
    const int upper = position >> 6;
    PutBits(FPosLen[upper], FPosCode[upper] >> (8 - FPosLen[upper]));
    PutBits(6, static_cast<uint32_t>(position & 0x3F));
}

void TEncoder::Encode(const QByteArray& input)
{
    for (int b = 255; b >= 0; --b) {
        FPosCode[d_code[b]] = static_cast<uint8_t>(b);
        FPosLen[d_code[b]] = d_len[b];
    }
    const int32_t size = static_cast<int32_t>(input.size());
    for (int i = 0; i < 4; ++i)
        FOut.append(static_cast<char>((static_cast<uint32_t>(size) >> (8 * i)) & 0xFF));
    if (size == 0)
        return;

    qsizetype in = 0;
    auto next = [&](int& c) {
        if (in >= input.size())
            return false;
        c = static_cast<uint8_t>(input[in++]);
        return true;
    };

    FTree.Start();
    InitTree();
    int s = 0;
    int r = N - F;
    for (int i = s; i < r; ++i)
        FRing[i] = ' ';
    int len = 0;
    int c = 0;
    for (; len < F && next(c); ++len)
        FRing[r + len] = static_cast<uint8_t>(c);
    for (int i = 1; i <= F; ++i)
        InsertNode(r - i);
    InsertNode(r);
    do {
        if (FMatchLength > len)
            FMatchLength = len;
        if (FMatchLength <= THRESHOLD) {
            FMatchLength = 1;
            EncodeChar(FRing[r]);
        } else {
            EncodeChar(255 - THRESHOLD + FMatchLength);
            EncodePosition(FMatchPosition);
        }
        const int lastMatchLength = FMatchLength;
        int i = 0;
        for (; i < lastMatchLength && next(c); ++i) {
            DeleteNode(s);
            FRing[s] = static_cast<uint8_t>(c);
            if (s < F - 1)
                FRing[s + N] = static_cast<uint8_t>(c);
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            InsertNode(r);
        }
        while (i++ < lastMatchLength) {
            DeleteNode(s);
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            if (--len)
                InsertNode(r);
        }
    } while (len > 0);
    Flush();
}
} // namespace

QByteArray LzhEncode(const QByteArray& input)
{
    QByteArray out;
    out.reserve(input.size() / 2 + 64);
    auto encoder = std::make_unique<TEncoder>(out);
    encoder->Encode(input);
    return out;
}
} // namespace SkinPack
