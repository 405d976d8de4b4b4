#pragma once
// Frame and caption-button tests: a skin made of strips whose every pixel is
// known, so the painted window can be checked pixel by pixel against the
// frame of the strip that belongs at each place.

#include "skin_form_fixture.h"
#include "skin/skin_test_helpers.h"

#include "platform/window_info.h"

#include <QPixmap>
#include <QScreen>

namespace SkinFrameTest {

// A strip of frames, side by side or stacked; pixel (x, y) of frame n is
// (40 * n, 4 * x + 1, 4 * y + 1) with x, y inside the frame, so every pixel
// tells where it came from.
inline QImage Strip(int fw, int fh, int frames, bool vertical)
{
    QImage img(vertical ? fw : fw * frames, vertical ? fh * frames : fh, QImage::Format_RGB32);
    for (int n = 0; n < frames; ++n)
        for (int y = 0; y < fh; ++y)
            for (int x = 0; x < fw; ++x)
                img.setPixel(vertical ? x : n * fw + x, vertical ? n * fh + y : y,
                             qRgb(40 * (n + 1), (4 * x + 1) & 0xFF, (4 * y + 1) & 0xFF));
    return img;
}

// The pixel (x, y) of frame (from 1) of such a strip.
inline QRgb StripPixel(const QImage& strip, int frames, bool vertical, int frame, int x, int y)
{
    const int fw = vertical ? strip.width() : strip.width() / frames;
    const int fh = vertical ? strip.height() / frames : strip.height();
    return strip.pixel(vertical ? x : (frame - 1) * fw + x, vertical ? (frame - 1) * fh + y : y);
}

// A strip of solid frames, one colour each.
inline QImage SolidFrames(int fw, int fh, const std::vector<QRgb>& colours)
{
    QImage img(fw * static_cast<int>(colours.size()), fh, QImage::Format_RGB32);
    for (size_t n = 0; n < colours.size(); ++n)
        for (int y = 0; y < fh; ++y)
            for (int x = 0; x < fw; ++x)
                img.setPixel(static_cast<int>(n) * fw + x, y, colours[n]);
    return img;
}

// The skin's geometry: sides 6 wide in 2 frames, a caption 22 high in 2
// frames, a bottom 4 high in a single frame.
constexpr int kSide = 6;
constexpr int kTop = 22;
constexpr int kBottom = 4;
constexpr int kCorner = 20;  // the sides' unscaled top rows
constexpr int kTopEdge = 5;  // the caption's unscaled left and right columns

inline QByteArray BorderIni(const QByteArray& trans = "LeftTrans=0\nRightTrans=0\nTopTrans=0\nBottomTrans=0\n")
{
    return "[Personality]\nLeft=l.bmp\nLeftFrame=2\nLeftTopHeight=20\nLeftBotHeight=4\n"
           "Right=r.bmp\nRightFrame=2\nRightTopHeight=20\nRightBotHeight=4\n"
           "Top=t.bmp\nTopFrame=2\nTopTopHeight=5\nTopBotHeight=5\n"
           "Bottom=b.bmp\nBottomFrame=1\nBottomTopHeight=3\nBottomBotHeight=3\n"
           "TextShift=60\nTextRightClip=80\n" +
           trans;
}

inline QList<QPair<QString, QImage>> BorderPictures()
{
    return {{QStringLiteral("l.bmp"), Strip(kSide, 40, 2, false)},
            {QStringLiteral("r.bmp"), Strip(kSide, 40, 2, false)},
            {QStringLiteral("t.bmp"), Strip(30, kTop, 2, true)},
            {QStringLiteral("b.bmp"), Strip(30, kBottom, 1, true)}};
}

class SkinFrameFixture : public SkinFormTest::SkinFormFixture {
protected:
    // Replaces the built-in skin by one read from ini and pictures, before any window.
    void UseSkin(const QByteArray& ini, const QList<QPair<QString, QImage>>& pictures)
    {
        Forms.clear();
        Data.reset();
        FreeSkinManager();
        Data = std::make_unique<TSkinData>(nullptr);
        QByteArray prop = SkinTest::Property(SkinTest::Archive(ini, pictures));
        QDataStream in(prop);
        Data->ReadSkinStream(in);
        ASSERT_FALSE(Data->SkinLoading());
        Data->SetActive(true);
        Data->Loaded();
        Manager = SkinManager();
        ASSERT_TRUE(Manager && Manager->Running());
    }

    TWinSkinForm* Skinned(TForm* f)
    {
        SkinFormTest::Pump(20);
        TWinSkinForm* sf = Manager->FindForm(f->Window());
        EXPECT_TRUE(sf && sf->State() == TWinSkinForm::stSkinned);
        return sf;
    }

    // The whole window as it was last painted, frame included (from the
    // screen, so grabbing paints nothing anew).
    static QImage Grab(TForm* f)
    {
        QWidget* w = f->Window();
        QApplication::processEvents();
        const QPixmap shot = w->screen()->grabWindow(w->winId());
        EXPECT_EQ(shot.size(), w->size());
        return shot.toImage().convertToFormat(QImage::Format_RGB32);
    }

    // A window point in screen coordinates, as the mouse messages carry it.
    static LPARAM ScreenAt(TForm* f, int x, int y)
    {
        TRect wr;
        GetWindowRect(f->Window(), wr);
        return MakeLParam(wr.Left + x, wr.Top + y);
    }
};

} // namespace SkinFrameTest
