#pragma once
// TGraphic: the common face of every picture kind (bitmap, JPEG, GIF, icon,
// metafile). A TPicture holds one of them.

#include "classlib/component.h"
#include "classlib/graphics/types.h"

#include <QIODevice>
#include <QString>
#include <functional>

class TCanvas;

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

    bool Modified() const { return FModified; }
    void SetModified(bool value);

protected:
    void Changed();

private:
    bool FTransparent = false;
    bool FModified = false;
};
