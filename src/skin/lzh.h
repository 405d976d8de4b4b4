#pragma once
// LZHUF decoding: LZSS over a 4 KB ring with adaptive Huffman coding of the
// symbols, as in the published LZHUF program. Skin archives are packed with it.

#include <array>
#include <cstdint>
#include <functional>

namespace Lzhuf {
inline constexpr int N = 4096;                      // ring size
inline constexpr int F = 60;                        // longest match
inline constexpr int THRESHOLD = 2;
inline constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314 symbols
inline constexpr int T = N_CHAR * 2 - 1;            // 627 tree nodes
inline constexpr int R = T - 1;                     // root
inline constexpr unsigned MAX_FREQ = 0x8000;

// Upper 6 bits of a position from its first code byte, and the code's bit count.
extern const std::array<uint8_t, 256> d_code;
extern const std::array<uint8_t, 256> d_len;

// The adaptive Huffman tree shared by the decoder and our packing tool.
class THuffTree {
public:
    void Start();
    void Update(int c);
    uint16_t Freq(int i) const { return freq[i]; }
    uint16_t Parent(int i) const { return prnt[i]; }
    uint16_t Son(int i) const { return son[i]; }

private:
    void Rebuild();
    std::array<uint16_t, T + 1> freq{};
    std::array<uint16_t, T + N_CHAR> prnt{};
    std::array<uint16_t, T> son{};
};
} // namespace Lzhuf

class TLZH {
public:
    // read(buffer, wanted) gives at most wanted bytes, fewer at the end of the source.
    using TReadFunc = std::function<int(uint8_t* buffer, int wanted)>;
    // write(buffer, count) appends to the destination.
    using TWriteFunc = std::function<void(const uint8_t* buffer, int count)>;

    // Decodes size bytes (plus the rest of a last match). Input past the end of
    // the source reads as 0 bits, so decoding always ends.
    void LZHDecode(int32_t size, const TWriteFunc& write, const TReadFunc& read);
    // Whether the last decode needed bits the source did not have: the
    // stream was cut short and its end is made up.
    bool ReadPastEnd() const { return FPastEnd * 8 > FBitCount; }

private:
    int GetBit();
    int GetByte();
    void FillBits();
    int DecodeChar();
    int DecodePosition();

    const TReadFunc* FRead = nullptr;
    uint16_t FBitBuf = 0;
    uint8_t FBitCount = 0;
    int64_t FPastEnd = 0;  // bytes asked for past the end of the source
    std::array<uint8_t, Lzhuf::N + Lzhuf::F - 1> FRing{};
    Lzhuf::THuffTree FTree;
};
