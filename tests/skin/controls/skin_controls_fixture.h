#pragma once
// Control-skinner tests: the built-in skin, a shown form with controls, a
// recorder beneath a skinner (the control's own procedure as the skinner
// sees it) and the pixels a skin element's frame gives at a rectangle.

#include "classlib/forms/form.h"
#include "skin/controls/skin_control.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <QApplication>
#include <algorithm>
#include <QDataStream>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace SkinControlsTest {

inline void LoadDefaultSkin(TSkinData& data)
{
    data.ReadDefaultSkin();
}

inline void Pump()
{
    QApplication::processEvents();
    QApplication::processEvents();
}

// Records what reaches a class-library control's procedure.
class TControlRecorder {
public:
    explicit TControlRecorder(TControl* control) : FControl(control)
    {
        FOld = control->WindowProc;
        control->WindowProc = [this](TMessage& m) {
            Seen.push_back(m.Msg);
            FOld(m);
        };
    }
    ~TControlRecorder()
    {
        if (FControl)
            FControl->WindowProc = FOld;
    }
    TControlRecorder(const TControlRecorder&) = delete;
    TControlRecorder& operator=(const TControlRecorder&) = delete;
    int Count(unsigned msg) const { return static_cast<int>(std::count(Seen.begin(), Seen.end(), msg)); }
    void Forget() { FControl = nullptr; }
    std::vector<unsigned> Seen;

private:
    TControl* FControl;
    TWndMethod FOld;
};

inline QImage Grab(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Frame of a horizontal strip, cut straight from the skin's bitmap.
inline QImage StripFrame(const TDataSkinObject& e, int frame)
{
    const int frames = std::max(1, e.Frame);
    const int fw = e.Image.width() / frames;
    return e.Image.copy((frame - 1) * fw, 0, fw, e.Image.height()).convertToFormat(QImage::Format_RGB32);
}

// The element's frame at a w x h rectangle over a background colour.
inline QImage ExpectedPart(const TDataSkinObject& e, int frame, int w, int h, TColor background)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(ToQColor(background));
    QPainter p(&img);
    NineGridDraw(p, TRect(0, 0, w, h), e.Image, false, e.Tile != 0, e.Trans == 1, std::max(1, e.Frame), frame,
                 TSkinMargins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight});
    return img;
}

// The top-left corner (margins) of a painted part equals the strip frame's
// corner; magenta pixels of a keyed element show the background instead.
inline int CornerMismatches(const QImage& painted, int x0, int y0, const TDataSkinObject& e, int frame, QRgb background)
{
    const QImage f = StripFrame(e, frame);
    const int cw = std::max(1, e.LeftWidth), ch = std::max(1, e.TopHeight);
    int bad = 0;
    for (int y = 0; y < ch && y < f.height(); ++y)
        for (int x = 0; x < cw && x < f.width(); ++x) {
            QRgb want = f.pixel(x, y);
            if (e.Trans == 1 && (want & 0xFFFFFF) == 0xFF00FF)
                want = background;
            bad += (painted.pixel(x0 + x, y0 + y) & 0xFFFFFF) != (want & 0xFFFFFF);
        }
    return bad;
}

inline int Differences(const QImage& a, const QImage& b, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
    return n;
}

class SkinControlsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Data = std::make_unique<TSkinData>(nullptr);
        LoadDefaultSkin(*Data);
        ASSERT_TRUE(Data->SkinRead());
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(40, 40, 420, 300);
        Form->SetCaption(QStringLiteral("Okno"));
        SkinForm = std::make_unique<TWinSkinForm>(nullptr);
    }
    void TearDown() override
    {
        Form.reset();
        SkinForm.reset();
        Data.reset();
    }
    void ShowForm()
    {
        Form->Show();
        Pump();
    }
    QRgb Face() const { return ToQColor(Data->Colours.ButtonFace).rgb(); }

    std::unique_ptr<TSkinData> Data;
    std::unique_ptr<TForm> Form;
    std::unique_ptr<TWinSkinForm> SkinForm;
};

} // namespace SkinControlsTest
