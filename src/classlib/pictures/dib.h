#pragma once
// Device-independent bitmaps: the pixel layout of BMP files, icon images and
// the bitmaps inside metafiles. Our own reader and writer.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVector>
#include <cstdint>
#include <vector>

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

struct TDib {
    QImage Image;                   // Format_RGB32, or Format_ARGB32 when alpha was asked for and present
    TPixelFormat PixelFormat = pf24bit;
    QVector<QRgb> Palette;          // colour table of 1-, 4- and 8-bit bitmaps
    std::vector<uint8_t> Mask;      // icons: 1 where the AND mask makes a pixel transparent
    bool HasAlpha = false;          // 32-bit pixels whose alpha bytes are not all zero
    bool TopDown = false;           // rows stored from the top (negative height)
};

struct TDibOptions {
    bool Icon = false;        // height counts the image and its AND mask
    bool KeepAlpha = false;   // 32-bit pixels keep their alpha byte
    // Offset of the pixels from the start of the header; 0 = right after the colour table.
    size_t BitsOffset = 0;
};

// Decodes a packed DIB (information header, colour table, pixels) from size bytes
// at data. Never reads outside them. Returns false with a reason on bad data.
bool DecodeDib(const uchar* data, size_t size, const TDibOptions& options, TDib& out, QString& error);

// Reads a whole BMP file; throws EInvalidGraphic.
TDib ReadBmpFile(const QByteArray& file);
// Writes a BMP file of image in the given format (pfDevice and pfCustom: 24 bits).
QByteArray WriteBmpFile(const QImage& image, TPixelFormat format, const QVector<QRgb>& palette);

// The colour table a bitmap gets when switched to a palette format without one.
QVector<QRgb> DefaultPalette(TPixelFormat format);
// Pixels reduced to what the format can hold (palette colours, 5- or 6-bit channels).
QImage ReduceToFormat(const QImage& image, TPixelFormat format, const QVector<QRgb>& palette);
int BitsPerPixel(TPixelFormat format);
