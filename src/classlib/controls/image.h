#pragma once
// TImage: a picture on its parent's surface, drawn stretched, centred or at
// its natural size, opaque or with its transparent colour left out.

#include "classlib/controls/control.h"

#include <memory>

class TPicture;

class TImage : public TGraphicControl {
public:
    TV_CLASS_NAME(TImage)
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const TPicture* picture);
    // The canvas of the picture's bitmap (made when the picture is empty).
    TCanvas* Canvas();
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool v);
    bool Center() const { return FCenter; }
    void SetCenter(bool v);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool IncrementalDisplay() const { return FIncrementalDisplay; }
    void SetIncrementalDisplay(bool v) { FIncrementalDisplay = v; }
    // The rectangle the picture is drawn into, in client coordinates.
    TRect DestRect() const;

protected:
    void Paint() override;
    virtual void PictureChanged();

private:
    std::unique_ptr<TPicture> FPicture;
    bool FAutoSize = false;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
    bool FIncrementalDisplay = false;
};
