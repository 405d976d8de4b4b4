#pragma once
// TGraphic: the common face of every picture kind (bitmap, JPEG, GIF, icon,
// metafile). A TPicture holds one of them.

#include "classlib/component.h"
#include "classlib/graphics/types.h"

#include <QIODevice>
#include <QString>
#include <functional>

class QImage;
class TCanvas;

// Largest picture we decode (pixels); a hostile header cannot make us allocate more.
constexpr qint64 MaxPicturePixels = 64LL * 1024 * 1024;
bool PictureSizeAllowed(qint64 width, qint64 height);

// Draws image stretched into rect, nearest neighbour like the platform. With
// withAlpha, pixels of alpha 0 leave the canvas as it was; otherwise the image
// is copied in the canvas's copy mode.
// The image with every pixel made opaque (its colour kept), as Format_RGB32.
QImage OpaqueImage(const QImage& image);
void DrawPictureImage(TCanvas* canvas, const TRect& rect, const QImage& image, bool withAlpha);

class TGraphic : public TPersistent {
public:
    TV_CLASS_NAME(TGraphic)
    std::function<void(TGraphic*)> OnChange;

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);
    // Draws the picture stretched into rect.
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;

    // The whole file format of the kind; throws EInvalidGraphic on bad data.
    virtual void LoadFromStream(QIODevice& stream) = 0;
    virtual void SaveToStream(QIODevice& stream) = 0;
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName);
    // The graphic's part of a picture's "Picture.Data" value (after the class
    // name). Reading stops at the end of the graphic's own data.
    virtual void ReadData(QIODevice& stream);
    virtual void WriteData(QIODevice& stream);

    bool Modified() const { return FModified; }
    void SetModified(bool value);

protected:
    void Changed();

private:
    bool FTransparent = false;
    bool FModified = false;
};
