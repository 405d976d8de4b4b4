#pragma once
// LZHUF encoder (LZSS with a binary search tree over the 4 KB ring, adaptive
// Huffman symbols), the counterpart of the program's decoder.

#include <QByteArray>

namespace SkinPack {
// The packed file: 4-byte little-endian size, then the code stream.
QByteArray LzhEncode(const QByteArray& input);
} // namespace SkinPack
