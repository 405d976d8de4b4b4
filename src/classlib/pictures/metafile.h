#pragma once
// TMetafile: an enhanced metafile or a Windows metafile (with its placeable
// header; a plain one is accepted too). Drawn by our own record player; the
// file's bytes are kept and saved unchanged.

#include "classlib/pictures/graphic.h"

#include <QByteArray>
#include <QRectF>

class QPainter;

class TMetafile : public TGraphic {
public:
    TV_CLASS_NAME(TMetafile)
    TMetafile();

    void Assign(const TPersistent* source) override;

    bool Empty() const override { return FData.isEmpty(); }
    // Pixels at 96 per inch: the enhanced frame (0.01 mm) or the placeable
    // bounding box over its units per inch.
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // Changes the size the picture reports, not its records.
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    // Plays the records stretched into rect; only what they draw is painted.
    void Draw(TCanvas* canvas, const TRect& rect) override;

    void LoadFromStream(QIODevice& stream) override;
    void SaveToStream(QIODevice& stream) override;
    // "Picture.Data": a 4-byte length counting itself, then the file (4 or less: empty).
    void ReadData(QIODevice& stream) override;
    void WriteData(QIODevice& stream) override;
    // Reads a whole metafile; throws EInvalidGraphic and leaves the picture as it was.
    void LoadFromBytes(const QByteArray& bytes);

    bool Enhanced() const { return FEnhanced; }
    // Size in 0.01 mm.
    int MMWidth() const { return FMMWidth; }
    int MMHeight() const { return FMMHeight; }
    // The bytes saved: an enhanced metafile, or a placeable header and a Windows metafile.
    const QByteArray& Data() const { return FData; }
    // Plays the records into rect on a painter (the canvas-free form of Draw).
    void Play(QPainter& painter, const QRectF& rect) const;

private:
    void CopyContent(const TMetafile& m);

    QByteArray FData;
    bool FEnhanced = false;
    int FWidth = 0;
    int FHeight = 0;
    int FMMWidth = 0;
    int FMMHeight = 0;
    // Enhanced: the frame in the reference device's pixels, and its pixels per mm.
    QRectF FFrame;
    QPointF FPixelsPerMm;
    // Windows: the bounding box in metafile units.
    QRectF FBox;
    size_t FRecordsOffset = 0;
};
