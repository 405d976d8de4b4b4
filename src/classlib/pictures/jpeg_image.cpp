#include "classlib/pictures/jpeg_image.h"

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "classlib/pictures/stream_io.h"
#include "classlib/sysutils.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <jerror.h>

using namespace PictureIO;

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: we
// jump back to the guard below. Everything between the guard and the jump is
// plain C data (no destructors are skipped).
struct TJpegError {
    jpeg_error_mgr Pub;
    std::jmp_buf Jump;
    bool HitEnd; // the data ran out before the picture did
};

void JpegErrorExit(j_common_ptr info)
{
    // The error code stays in msg_code; its text is ours (JpegReason).
    auto* err = reinterpret_cast<TJpegError*>(info->err);
    std::longjmp(err->Jump, 1);
}

void JpegQuiet(j_common_ptr) {}

void JpegWarning(j_common_ptr info, int level)
{
    auto* err = reinterpret_cast<TJpegError*>(info->err);
    if (level < 0) {
        if (info->err->msg_code == JWRN_JPEG_EOF)
            err->HitEnd = true;
        ++info->err->num_warnings;
    }
}

// What the library's error code means to a user, in the program's words.
QString JpegReason(int code)
{
    switch (code) {
    case JERR_NO_SOI:
    case JERR_SOI_DUPLICATE:
        return QStringLiteral("soubor není obrázek JPEG");
    case JERR_INPUT_EMPTY:
    case JERR_NO_IMAGE:
    case JERR_EMPTY_IMAGE:
        return QStringLiteral("soubor neobsahuje žádný obrázek");
    case JERR_INPUT_EOF:
    case JERR_FILE_READ:
        return QStringLiteral("data obrázku jsou neúplná");
    case JERR_OUT_OF_MEMORY:
        return QStringLiteral("nedostatek paměti");
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
        return QStringLiteral("obrázek je příliš velký");
    case JERR_ARITH_NOTIMPL:
    case JERR_NOT_COMPILED:
    case JERR_CCIR601_NOTIMPL:
    case JERR_BAD_PRECISION:
        return QStringLiteral("tento druh komprese JPEG program nepodporuje");
    case JERR_BAD_J_COLORSPACE:
    case JERR_CONVERSION_NOTIMPL:
        return QStringLiteral("barevný prostor obrázku program nepodporuje");
    case JERR_FILE_WRITE:
        return QStringLiteral("na disku není dost místa");
    default:
        return QStringLiteral("data obrázku jsou poškozená");
    }
}

void InitError(TJpegError& err)
{
    jpeg_std_error(&err.Pub);
    err.Pub.error_exit = JpegErrorExit;
    err.Pub.output_message = JpegQuiet;
    err.Pub.emit_message = JpegWarning;
    err.HitEnd = false;
}

// Runs step under the error guard; false when libjpeg gave up.
template <typename Ctx>
bool Guarded(TJpegError& err, void (*step)(Ctx*), Ctx* ctx)
{
    if (setjmp(err.Jump))
        return false;
    step(ctx);
    return true;
}

struct TDecodeCtx {
    jpeg_decompress_struct Info;
    const QByteArray* Data;
    uchar* Pixels;       // Format_RGB32 rows of the output image
    qsizetype Stride;
    bool Inverted;       // Adobe CMYK is stored inverted
};

void DecodeHeader(TDecodeCtx* c)
{
    jpeg_mem_src(&c->Info, reinterpret_cast<const unsigned char*>(c->Data->constData()),
                 static_cast<unsigned long>(c->Data->size()));
    jpeg_read_header(&c->Info, TRUE);
    switch (c->Info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        c->Info.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        c->Info.out_color_space = JCS_CMYK;
        break;
    default:
        c->Info.out_color_space = JCS_RGB;
        break;
    }
    jpeg_calc_output_dimensions(&c->Info);
}

void DecodePixels(TDecodeCtx* c)
{
    jpeg_decompress_struct& info = c->Info;
    jpeg_start_decompress(&info);
    const int comps = info.output_components;
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               info.output_width * JDIMENSION(comps), 1);
    while (info.output_scanline < info.output_height) {
        const JDIMENSION y = info.output_scanline;
        jpeg_read_scanlines(&info, row, 1);
        auto* out = reinterpret_cast<QRgb*>(c->Pixels + qsizetype(y) * c->Stride);
        const JSAMPLE* s = row[0];
        for (JDIMENSION x = 0; x < info.output_width; ++x) {
            if (comps == 1) {
                out[x] = qRgb(s[x], s[x], s[x]);
            } else if (comps == 3) {
                out[x] = qRgb(s[3 * x], s[3 * x + 1], s[3 * x + 2]);
            } else {
                int cc = s[4 * x], m = s[4 * x + 1], yy = s[4 * x + 2], k = s[4 * x + 3];
                if (c->Inverted) {
                    cc = 255 - cc;
                    m = 255 - m;
                    yy = 255 - yy;
                    k = 255 - k;
                }
                out[x] = qRgb((255 - cc) * (255 - k) / 255, (255 - m) * (255 - k) / 255, (255 - yy) * (255 - k) / 255);
            }
        }
    }
    jpeg_finish_decompress(&info);
}

struct TEncodeCtx {
    jpeg_compress_struct Info;
    const QImage* Image;
    int Quality;
    unsigned char* Out;
    unsigned long OutSize;
};

void EncodeAll(TEncodeCtx* c)
{
    jpeg_compress_struct& info = c->Info;
    jpeg_mem_dest(&info, &c->Out, &c->OutSize);
    info.image_width = JDIMENSION(c->Image->width());
    info.image_height = JDIMENSION(c->Image->height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, c->Quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               info.image_width * 3, 1);
    while (info.next_scanline < info.image_height) {
        const auto* in = reinterpret_cast<const QRgb*>(c->Image->constScanLine(int(info.next_scanline)));
        JSAMPLE* d = row[0];
        for (JDIMENSION x = 0; x < info.image_width; ++x) {
            d[3 * x] = JSAMPLE(qRed(in[x]));
            d[3 * x + 1] = JSAMPLE(qGreen(in[x]));
            d[3 * x + 2] = JSAMPLE(qBlue(in[x]));
        }
        jpeg_write_scanlines(&info, row, 1);
    }
    jpeg_finish_compress(&info);
}

} // namespace

bool DecodeJpeg(const QByteArray& data, QImage& image, bool& grayscale, QString& error)
{
    if (data.isEmpty()) {
        error = JpegReason(JERR_INPUT_EMPTY);
        return false;
    }
    TJpegError err;
    InitError(err);
    TDecodeCtx ctx{};
    ctx.Info.err = &err.Pub;
    jpeg_create_decompress(&ctx.Info);
    ctx.Data = &data;
    bool ok = Guarded(err, DecodeHeader, &ctx);
    if (ok && !PictureSizeAllowed(ctx.Info.output_width, ctx.Info.output_height)) {
        error = QStringLiteral("obrázek o rozměrech %1 × %2 bodů je příliš velký")
                    .arg(ctx.Info.output_width)
                    .arg(ctx.Info.output_height);
        ok = false;
    }
    QImage out;
    if (ok) {
        out = QImage(int(ctx.Info.output_width), int(ctx.Info.output_height), QImage::Format_RGB32);
        if (out.isNull()) {
            error = JpegReason(JERR_OUT_OF_MEMORY);
            ok = false;
        }
    }
    if (ok) {
        ctx.Pixels = out.bits();
        ctx.Stride = out.bytesPerLine();
        ctx.Inverted = ctx.Info.saw_Adobe_marker;
        ok = Guarded(err, DecodePixels, &ctx);
    }
    const bool grey = ctx.Info.out_color_space == JCS_GRAYSCALE;
    jpeg_destroy_decompress(&ctx.Info);
    if (!ok) {
        if (error.isEmpty())
            error = JpegReason(err.HitEnd ? JERR_INPUT_EOF : err.Pub.msg_code);
        return false;
    }
    image = out;
    grayscale = grey;
    return true;
}

bool EncodeJpeg(const QImage& image, int quality, QByteArray& data, QString& error)
{
    if (image.isNull()) {
        error = QStringLiteral("obrázek je prázdný");
        return false;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    TJpegError err;
    InitError(err);
    TEncodeCtx ctx{};
    ctx.Info.err = &err.Pub;
    jpeg_create_compress(&ctx.Info);
    ctx.Image = &rgb;
    ctx.Quality = std::clamp(quality, 1, 100);
    const bool ok = Guarded(err, EncodeAll, &ctx);
    jpeg_destroy_compress(&ctx.Info);
    if (ok)
        data = QByteArray(reinterpret_cast<const char*>(ctx.Out), qsizetype(ctx.OutSize));
    std::free(ctx.Out);
    if (!ok)
        error = JpegReason(err.Pub.msg_code);
    return ok;
}

TJPEGImage::TJPEGImage() = default;

void TJPEGImage::SetWidth(int) { throw EInvalidGraphic(QStringLiteral("Velikost obrázku JPEG nelze změnit.")); }

void TJPEGImage::SetHeight(int) { throw EInvalidGraphic(QStringLiteral("Velikost obrázku JPEG nelze změnit.")); }

void TJPEGImage::SetCompressionQuality(int quality) { FQuality = std::clamp(quality, 1, 100); }

void TJPEGImage::Assign(const TPersistent* source)
{
    if (!source) {
        FData.clear();
        FImage = QImage();
        FGrayscale = false;
        Changed();
        return;
    }
    if (const auto* j = dynamic_cast<const TJPEGImage*>(source)) {
        if (j == this)
            return;
        FData = j->FData;
        FImage = j->FImage;
        FGrayscale = j->FGrayscale;
        FQuality = j->FQuality;
        Changed();
        return;
    }
    if (const auto* b = dynamic_cast<const TBitmap*>(source)) {
        // New pixels: compressed when the bytes are first needed.
        FData.clear();
        FImage = b->Empty() ? QImage() : b->Image().copy();
        FGrayscale = false;
        Changed();
        return;
    }
    if (const auto* pic = dynamic_cast<const TPicture*>(source)) {
        const TGraphic* g = pic->Graphic();
        if (!g || dynamic_cast<const TJPEGImage*>(g) || dynamic_cast<const TBitmap*>(g)) {
            Assign(g);
            return;
        }
        TGraphic::Assign(g); // throws: no other kind passes through JPEG
        return;
    }
    TGraphic::Assign(source);
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect)
{
    if (!Empty())
        DrawPictureImage(canvas, rect, FImage, false);
}

void TJPEGImage::LoadFromBytes(const QByteArray& bytes)
{
    QImage image;
    bool grey = false;
    QString error;
    if (!DecodeJpeg(bytes, image, grey, error))
        throw EInvalidGraphic(QStringLiteral("Obrázek JPEG nelze načíst: %1.").arg(error));
    FData = bytes;
    FImage = image;
    FGrayscale = grey;
    Changed();
}

QByteArray TJPEGImage::Data()
{
    if (FData.isEmpty() && !FImage.isNull()) {
        QString error;
        if (!EncodeJpeg(FImage, FQuality, FData, error))
            throw EInvalidGraphic(QStringLiteral("Obrázek JPEG nelze uložit: %1.").arg(error));
    }
    return FData;
}

void TJPEGImage::LoadFromStream(QIODevice& stream) { LoadFromBytes(ReadRest(stream)); }

void TJPEGImage::SaveToStream(QIODevice& stream) { WriteBytes(stream, Data()); }

void TJPEGImage::ReadData(QIODevice& stream)
{
    const int32_t size = int32_t(ReadU32(stream));
    if (size < 0)
        throw EInvalidGraphic(QStringLiteral("Obrázek JPEG nelze načíst: data obrázku jsou poškozená."));
    if (size == 0) {
        Assign(nullptr);
        return;
    }
    LoadFromBytes(ReadExact(stream, size));
}

void TJPEGImage::WriteData(QIODevice& stream)
{
    const QByteArray bytes = Data();
    WriteU32(stream, uint32_t(bytes.size()));
    WriteBytes(stream, bytes);
}
