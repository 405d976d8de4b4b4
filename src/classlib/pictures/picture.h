#pragma once
// TPicture: holds one graphic of any kind (bitmap, JPEG, GIF, icon, metafile),
// loads it from a file by extension, and frames it inside a component
// record's "Picture.Data": the class name as a short string, then the
// class's own data.

#include "classlib/component.h"
#include "classlib/pictures/graphic.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>
#include <memory>

class TBitmap;

class TPicture : public TPersistent {
public:
    TV_CLASS_NAME(TPicture)
    TPicture();
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    std::function<void(TPicture*)> OnChange;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // Holds a deep copy of graphic (nullptr empties the picture).
    void SetGraphic(const TGraphic* graphic);
    // The picture's bitmap; a picture holding another kind or nothing gets a
    // new empty bitmap in its place (the old graphic is dropped).
    TBitmap* Bitmap();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }
    bool HasGraphic() const { return FGraphic != nullptr; }

    // From a picture or a graphic: a deep copy; nullptr empties the picture.
    void Assign(const TPersistent* source) override;

    // The kind is chosen by the extension (.bmp, .jpg, .jpeg, .gif, .ico, .emf,
    // .wmf); a failed load leaves the picture as it was.
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName);

    // "Picture.Data" framing. Reading an unknown or empty class name empties the
    // picture and reads no further: the caller skips the rest of the value.
    void WriteData(QIODevice& stream);
    void ReadData(QIODevice& stream);
    // The whole binary value of "Picture.Data" and back.
    QByteArray DataBytes();
    void ReadDataFromBytes(const QByteArray& value);

private:
    void Take(std::unique_ptr<TGraphic> graphic);
    void Changed();

    std::unique_ptr<TGraphic> FGraphic;
};

// A new empty graphic of a registered class ("TBitmap", "TJPEGImage",
// "TGIFImage", "TIcon", "TMetafile"), or null.
std::unique_ptr<TGraphic> CreateGraphic(const QString& className);
// A new empty graphic for a file extension (with or without the dot), or null.
std::unique_ptr<TGraphic> CreateGraphicForExtension(const QString& extension);
// A deep copy of graphic.
std::unique_ptr<TGraphic> CloneGraphic(const TGraphic& graphic);
