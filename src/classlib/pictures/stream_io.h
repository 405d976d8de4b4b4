#pragma once
// Byte-level helpers shared by the picture readers and writers: little-endian
// fields, exact reads that never allocate more than the stream really holds.

#include <QByteArray>
#include <QIODevice>
#include <cstdint>
#include <cstring>

namespace PictureIO {

inline uint16_t Le16(const uchar* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline int16_t LeS16(const uchar* p) { return int16_t(Le16(p)); }
inline uint32_t Le32(const uchar* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t LeS32(const uchar* p) { return int32_t(Le32(p)); }
inline float LeF32(const uchar* p)
{
    const uint32_t v = Le32(p);
    float f;
    std::memcpy(&f, &v, sizeof f);
    return f;
}

void PutLe16(QByteArray& out, uint16_t v);
void PutLe32(QByteArray& out, uint32_t v);

// Reads exactly n bytes or throws EReadError; memory grows only with the data
// actually read, so a hostile length cannot make us allocate it up front.
QByteArray ReadExact(QIODevice& stream, qint64 n);
uint32_t ReadU32(QIODevice& stream);
uint8_t ReadU8(QIODevice& stream);
// Everything left in the stream.
QByteArray ReadRest(QIODevice& stream);
// Writes all bytes or throws EFileError.
void WriteBytes(QIODevice& stream, const QByteArray& bytes);
void WriteU32(QIODevice& stream, uint32_t v);

// A bounds-checked cursor over a byte buffer.
class TByteReader {
public:
    TByteReader(const uchar* data, size_t size) : FData(data), FSize(size) {}
    explicit TByteReader(const QByteArray& bytes)
        : FData(reinterpret_cast<const uchar*>(bytes.constData())), FSize(size_t(bytes.size()))
    {
    }
    size_t Pos() const { return FPos; }
    size_t Size() const { return FSize; }
    size_t Left() const { return FSize - FPos; }
    bool Has(size_t n) const { return n <= FSize - FPos; }
    const uchar* Here() const { return FData + FPos; }
    const uchar* Data() const { return FData; }
    bool Seek(size_t pos)
    {
        if (pos > FSize)
            return false;
        FPos = pos;
        return true;
    }
    bool Skip(size_t n)
    {
        if (!Has(n))
            return false;
        FPos += n;
        return true;
    }
    bool U8(uint8_t& v)
    {
        if (!Has(1))
            return false;
        v = FData[FPos++];
        return true;
    }
    bool U16(uint16_t& v)
    {
        if (!Has(2))
            return false;
        v = Le16(FData + FPos);
        FPos += 2;
        return true;
    }
    bool U32(uint32_t& v)
    {
        if (!Has(4))
            return false;
        v = Le32(FData + FPos);
        FPos += 4;
        return true;
    }
    bool S32(int32_t& v)
    {
        uint32_t u;
        if (!U32(u))
            return false;
        v = int32_t(u);
        return true;
    }

private:
    const uchar* FData;
    size_t FSize;
    size_t FPos = 0;
};

} // namespace PictureIO
