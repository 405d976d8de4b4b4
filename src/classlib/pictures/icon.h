#pragma once
// TIcon: an icon file (BMP or PNG images); the image nearest the platform's
// icon size is shown, its AND mask (or alpha) giving transparency. The file's
// bytes are kept and saved unchanged.

#include "classlib/pictures/graphic.h"

#include <QByteArray>
#include <QImage>

class TIcon : public TGraphic {
public:
    TV_CLASS_NAME(TIcon)
    TIcon();

    void Assign(const TPersistent* source) override;

    bool Empty() const override { return FImage.isNull(); }
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    // Icons draw through their mask, as the platform draws them.
    void Draw(TCanvas* canvas, const TRect& rect) override;

    void LoadFromStream(QIODevice& stream) override;
    void SaveToStream(QIODevice& stream) override;
    // "Picture.Data": the icon file itself; reading takes exactly the bytes its
    // directory covers.
    void ReadData(QIODevice& stream) override;
    void WriteData(QIODevice& stream) override;
    void LoadFromBytes(const QByteArray& bytes);

    const QByteArray& Data() const { return FData; }
    // The shown image; alpha 0 where the mask leaves the background visible.
    const QImage& Image() const { return FImage; }
    int ImageCount() const { return FCount; }

private:
    void Load(QIODevice& stream, bool allowEmpty);

    QByteArray FData;
    QImage FImage;
    int FCount = 0;
};
