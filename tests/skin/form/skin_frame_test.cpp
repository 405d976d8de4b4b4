// The skinned frame as painted: border parts and their frames, the caption's
// title box, hit testing and the window region cut from the borders.

#include "skin_frame_fixture.h"

#include "classlib/forms/menus.h"
#include "platform/non_client.h"
#include "test_support.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

using namespace SkinFormTest;
using namespace SkinFrameTest;

TEST_F(SkinFrameFixture, BorderPartsShowFrameOneActiveAndFrameTwoInactive)
{
    UseSkin(BorderIni(), BorderPictures());
    TForm* f = MakeForm(bsSizeable, true, 300, 200);
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf);
    ASSERT_EQ(sf->LeftWidth(), kSide);
    ASSERT_EQ(sf->TopHeight(), kTop);
    ASSERT_EQ(sf->BottomHeight(), kBottom);
    const QImage& left = Data->Left->Image;
    const QImage& right = Data->Right->Image;
    const QImage& top = Data->Top->Image;
    const QImage& bottom = Data->Bottom->Image;

    auto check = [&](int frame) {
        const QImage img = Grab(f);
        const int w = img.width();
        const int h = img.height();
        ASSERT_EQ(w, 300 + 2 * kSide);
        ASSERT_EQ(h, 200 + kTop + kBottom);
        // The sides' corners are copied unscaled, also where the caption lies over them.
        for (const QPoint p : {QPoint(0, 0), QPoint(5, 3), QPoint(2, kCorner - 1)}) {
            EXPECT_EQ(img.pixel(p), StripPixel(left, 2, false, frame, p.x(), p.y())) << frame << " left " << p.x() << "," << p.y();
            EXPECT_EQ(img.pixel(w - kSide + p.x(), p.y()), StripPixel(right, 2, false, frame, p.x(), p.y()))
                << frame << " right " << p.x() << "," << p.y();
        }
        // The caption's left and right edges are unscaled columns of the top strip.
        for (int y : {0, 9, kTop - 1}) {
            EXPECT_EQ(img.pixel(kSide + 2, y), StripPixel(top, 2, true, frame, 2, y)) << frame << " top " << y;
            EXPECT_EQ(img.pixel(w - kSide - 1, y), StripPixel(top, 2, true, frame, 29, y)) << frame << " top right " << y;
        }
        // The bottom has a single frame: the same when inactive.
        EXPECT_EQ(img.pixel(kSide, h - 1), StripPixel(bottom, 1, true, 1, 0, kBottom - 1));
        EXPECT_EQ(img.pixel(w - kSide - 1, h - kBottom), StripPixel(bottom, 1, true, 1, 29, 0));
    };
    EXPECT_EQ(sf->FormActive(), 1);
    check(1);
    SendMessage(f->Window(), WM_NCACTIVATE, 0);
    EXPECT_EQ(sf->FormActive(), 0);
    check(2);
    SendMessage(f->Window(), WM_NCACTIVATE, 1);
    check(1);

    // Narrower than both sides: the centre parts have no room and are left out;
    // the sides still paint (the right one over the left).
    QImage narrow(10, 120, QImage::Format_RGB32);
    narrow.fill(Qt::white);
    f->Window()->resize(10, 120);
    {
        QPainter p(&narrow);
        SendMessage(f->Handle(), WM_SKINPAINTDC, WParamOf(&p), kSkinMagic);
    }
    EXPECT_EQ(narrow.pixel(0, 5), StripPixel(left, 2, false, 1, 0, 5));
    EXPECT_EQ(narrow.pixel(9, 5), StripPixel(right, 2, false, 1, 5, 5));
}

TEST_F(SkinFrameFixture, AWindowSkinnedAgainWhileActiveDrawsTheActiveFrame)
{
    UseSkin(BorderIni(), BorderPictures());
    TForm* f = MakeForm(bsSizeable, true, 300, 200);
    ASSERT_TRUE(Skinned(f));
    ASSERT_EQ(GetActiveWindow(), f->Window());
    Data->SetActive(false);
    Pump(400);
    ASSERT_FALSE(Manager->FindForm(f->Window()));
    Data->SetActive(true);
    Pump(400);
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf);
    // Still the active window: no activation message came, yet it is painted active.
    EXPECT_EQ(sf->FormActive(), 1);
    const QImage img = Grab(f);
    const QImage& top = Data->Top->Image;
    for (int y : {0, 9, kTop - 1})
        EXPECT_EQ(img.pixel(kSide + 2, y), StripPixel(top, 2, true, 1, 2, y)) << y;
}

TEST_F(SkinFrameFixture, TitleBoxTextBackClipAndTheDialogShift)
{
    // TextBack: two frames stacked, 4-pixel slices on each side.
    UseSkin(BorderIni() + "TextBack=tb.bmp\nTXTBackleft=4\nTXTBackRight=4\nTextAlignment=0\n",
            BorderPictures() + QList<QPair<QString, QImage>>{{QStringLiteral("tb.bmp"), Strip(20, kTop, 2, true)}});
    TForm* sizeable = MakeForm(bsSizeable, true, 400, 100);
    TWinSkinForm* ss = Skinned(sizeable);
    TForm* dialog = MakeForm(bsDialog, true, 400, 100);
    TWinSkinForm* ds = Skinned(dialog);
    ASSERT_TRUE(ss && ds);
    ASSERT_EQ(ds->FrameKind(), TWinSkinForm::fkDialog);
    SendMessage(dialog->Window(), WM_NCACTIVATE, 1);
    SendMessage(sizeable->Window(), WM_NCACTIVATE, 1);

    // TextShift from the caption's left edge; a dialog starts 16 pixels further left.
    const TRect st = ss->TitleRect();
    const TRect dt = ds->TitleRect();
    EXPECT_EQ(st.Left, kSide + 60);
    EXPECT_EQ(dt.Left, st.Left - 16);
    EXPECT_EQ(dt.Right, st.Right);

    // The text background strip lies over the box, full caption height; its
    // left slice is unscaled.
    const QImage tb = Data->Title->Image;
    const QImage img = Grab(sizeable);
    for (int y : {0, 10, kTop - 1})
        EXPECT_EQ(img.pixel(st.Left + 1, y), StripPixel(tb, 2, true, 1, 1, y)) << y;
    EXPECT_EQ(img.pixel(st.Right - 1, 3), StripPixel(tb, 2, true, 1, 19, 3));
    // Inactive: frame 2 of the strip.
    SendMessage(sizeable->Window(), WM_NCACTIVATE, 0);
    EXPECT_EQ(Grab(sizeable).pixel(st.Left + 1, 3), StripPixel(tb, 2, true, 2, 1, 3));

    // A title too long for the caption ends TextRightClip before its right edge.
    sizeable->SetCaption(QString(200, QLatin1Char('W')));
    Pump();
    SendMessage(sizeable->Window(), WM_NCACTIVATE, 1);
    EXPECT_EQ(ss->TitleRect().Right, sizeable->Window()->width() - kSide - 80);
}

TEST_F(SkinFrameFixture, HitTestKeepsTheTopEdgeAndTheCaptionStartsAtRowFour)
{
    UseSkin(BorderIni(), BorderPictures());
    TForm* f = MakeForm(bsSizeable, true, 300, 200);
    ASSERT_TRUE(Skinned(f));
    HWND w = f->Window();
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, ScreenAt(f, 150, 3)), HTTOP);
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, ScreenAt(f, 150, 4)), HTCAPTION);

    // A fixed frame: the rows above the caption are a border that neither moves nor sizes.
    for (TFormBorderStyle style : {bsSingle, bsDialog}) {
        TForm* fixed = MakeForm(style, true, 300, 200);
        ASSERT_TRUE(Skinned(fixed));
        HWND fw = fixed->Window();
        for (int y = 0; y <= 3; ++y)
            EXPECT_EQ(SendMessage(fw, WM_NCHITTEST, 0, ScreenAt(fixed, 150, y)), HTBORDER) << style << " row " << y;
        EXPECT_EQ(SendMessage(fw, WM_NCHITTEST, 0, ScreenAt(fixed, 150, 4)), HTCAPTION) << style;
        // Dragged by its top row the dialog stays; by the caption below, it follows.
        auto drag = [&](QPoint at) {
            const QPoint global = fw->mapToGlobal(at);
            TestSupport::MousePress(fw, at);
            for (int i = 1; i <= 3; ++i)
                TestSupport::MouseMove(fw, fw->mapFromGlobal(global + QPoint(10 * i, 8 * i)), Qt::LeftButton);
            TestSupport::MouseRelease(fw, fw->mapFromGlobal(global + QPoint(30, 24)));
            Pump();
        };
        const QRect before = fw->geometry();
        drag(QPoint(150, 1));
        EXPECT_EQ(fw->geometry(), before) << style;
        drag(QPoint(150, 8));
        EXPECT_EQ(fw->geometry(), before.translated(30, 24)) << style;
    }
}

TEST_F(SkinFrameFixture, RegionFromTheTransparentBorderIsRebuiltOnlyWhenTheSizeChanges)
{
    // Only the bottom is transparent: its two outer columns are magenta.
    QImage b = Strip(30, kBottom, 1, true);
    for (int y = 0; y < kBottom; ++y)
        for (int x : {0, 1, 28, 29})
            b.setPixel(x, y, qRgb(255, 0, 255));
    QList<QPair<QString, QImage>> pictures = BorderPictures();
    pictures[3].second = b;
    UseSkin(BorderIni("LeftTrans=0\nRightTrans=0\nTopTrans=0\nBottomTrans=1\n"), pictures);
    TForm* f = MakeForm(bsSizeable, true, 300, 200);
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf);
    HWND w = f->Window();
    auto region = [&] { return GetWindowRgn(w); };
    ASSERT_TRUE(region());
    EXPECT_EQ(*region(), *sf->Region());
    int W = w->width();
    int H = w->height();
    // The bottom's magenta ends are cut out; the sides and the rest stay.
    EXPECT_FALSE(region()->Contains(kSide, H - 1));
    EXPECT_FALSE(region()->Contains(kSide + 1, H - kBottom));
    EXPECT_FALSE(region()->Contains(W - kSide - 1, H - 1));
    EXPECT_TRUE(region()->Contains(kSide + 2, H - 1));
    EXPECT_TRUE(region()->Contains(kSide - 1, H - 1));
    EXPECT_TRUE(region()->Contains(0, 0));
    EXPECT_TRUE(region()->Contains(W - 1, 0));
    EXPECT_EQ(region()->BoundingBox(), TRect(0, 0, W, H));

    // Same size: the region stays as it was even though the bottom changed.
    Data->Bottom->Image.fill(qRgb(1, 2, 3));
    sf->UpdateRegion();
    EXPECT_FALSE(region()->Contains(kSide, H - 1));
    // A new size builds it again, and so does a new skin at the same size.
    f->SetBounds(f->Left(), f->Top(), f->Width() + 20, f->Height());
    Pump();
    W = w->width();
    EXPECT_TRUE(region()->Contains(kSide, H - 1));
    EXPECT_EQ(region()->BoundingBox(), TRect(0, 0, W, H));
    Data->Bottom->Image = b;
    // The new skin's colours reach the form too, not only its frame.
    const TColor face = Data->Colours.ButtonFace == TColor(0x123456) ? TColor(0x654321) : TColor(0x123456);
    Data->Colours.ButtonFace = face;
    sf->RefreshSkin();
    EXPECT_EQ(w->width(), W);
    EXPECT_FALSE(region()->Contains(kSide, H - 1));
    EXPECT_EQ(f->Color(), face);

    // With no transparent side at all the region is the whole window.
    Data->Bottom->Trans = 0;
    f->SetBounds(f->Left(), f->Top(), f->Width() + 20, f->Height());
    Pump();
    W = w->width();
    EXPECT_EQ(*region(), TRegion::FromRect(0, 0, W, H));

    sf->ClearRegion();
    EXPECT_FALSE(region());
    EXPECT_FALSE(sf->Region());
}

TEST_F(SkinFrameFixture, AMessageBoxRunningModallyKeepsRunningUnderItsSkinnedFrame)
{
    UseSkin(BorderIni(), BorderPictures());
    QMessageBox box(QMessageBox::Question, QStringLiteral("Dotaz"), QStringLiteral("Uložit?"),
                    QMessageBox::Yes | QMessageBox::No);
    bool framed = false;
    bool visible = false;
    QTimer::singleShot(150, [&] {
        framed = IsSkinnedFrame(&box);
        visible = box.isVisible();
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(box.exec(), QMessageBox::Yes);
    EXPECT_TRUE(framed);
    EXPECT_TRUE(visible);
}

TEST_F(SkinFrameFixture, NumbersAtTheEndsOfTheIntegerRangeGiveAWholeFrame)
{
    // Every number the frame, the caption, its buttons and the menu bar read,
    // at the largest and the smallest 32-bit value.
    for (const QByteArray& v : {QByteArray("2147483647"), QByteArray("-2147483648")}) {
        QByteArray ini = "[Personality]\nTextBack=tb.bmp\nmenuBar=mb.bmp\n";
        for (const char* side : {"Left", "Right", "Top", "Bottom"})
            for (const char* key : {"", "Frame", "TopHeight", "BotHeight", "Trans", "Stretch"})
                ini += side + QByteArray(key) + "=" + (*key ? v : side + QByteArray(".bmp").toLower()) + "\n";
        for (const char* key : {"TextShift", "TextShiftVert", "TextRightClip", "TextAlignment", "Textbackground",
                                "TXTBackleft", "TXTBackRight", "TileMenu", "TileLeftMenu", "TileRightMenu"})
            ini += key + QByteArray("=") + v + "\n";
        ini += "[Fonts]\nFontHeight=" + v + "\n";
        for (const char* section : {"BUTTON0", "BUTTON1"}) {
            ini += "[" + QByteArray(section) + "]\nButtonImage=cb.bmp\nAction=" + (section[6] == '0' ? "0" : "1") +
                   "\n";
            for (const char* key : {"Align", "Xcoord", "Ycoord", "frame", "CombineOp"})
                ini += key + QByteArray("=") + v + "\n";
        }
        ini += "[MenuItem]\nImage=mi.bmp\n";
        for (const char* key : {"LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Frame", "Trans", "Tile"})
            ini += key + QByteArray("=") + v + "\n";
        const QImage left = Strip(kSide, 40, 2, false);
        const QImage top = Strip(30, kTop, 2, true);
        UseSkin(ini, {{QStringLiteral("left.bmp"), left},
                      {QStringLiteral("right.bmp"), Strip(kSide, 40, 2, false)},
                      {QStringLiteral("top.bmp"), top},
                      {QStringLiteral("bottom.bmp"), Strip(30, kBottom, 1, true)},
                      {QStringLiteral("tb.bmp"), Strip(20, kTop, 2, true)},
                      {QStringLiteral("mb.bmp"), Strip(40, 19, 2, true)},
                      {QStringLiteral("cb.bmp"), Strip(16, 14, 3, false)},
                      {QStringLiteral("mi.bmp"), Strip(30, 24, 5, false)}});
        // Frame counts no strip can hold count as not given: one frame, the whole strip.
        EXPECT_EQ(Data->Left->Frame, 1);
        EXPECT_EQ(Data->Top->Frame, 1);
        TForm* f = MakeForm(bsSizeable, false, 300, 200);
        auto* menu = new TMainMenu(f);
        auto* item = new TMenuItem(f);
        item->SetCaption(QStringLiteral("&Soubor"));
        menu->Items()->Add(item);
        f->SetMenu(menu);
        f->Show();
        Pump();
        TWinSkinForm* sf = Skinned(f);
        ASSERT_TRUE(sf);
        EXPECT_EQ(sf->LeftWidth(), 2 * kSide) << v.constData();
        EXPECT_EQ(sf->TopHeight(), 2 * kTop) << v.constData();
        ASSERT_TRUE(sf->MenuBar());
        SendMessage(f->Window(), WM_NCACTIVATE, 1);
        const QImage img = Grab(f);
        // The frame is painted from the strips, not left blank: the corner is
        // the strip's own, and every pixel of the sides and the caption comes
        // from one of the strips' two frames (red 40 or 80).
        for (const QPoint p : {QPoint(0, 0), QPoint(3, 7)})
            EXPECT_EQ(img.pixel(p), left.pixel(p)) << v.constData() << " " << p.x() << "," << p.y();
        int foreign = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const bool border = x < 2 * kSide || x >= img.width() - 2 * kSide || y < 2 * kTop;
                foreign += border && qRed(img.pixel(x, y)) != 40 && qRed(img.pixel(x, y)) != 80;
            }
        EXPECT_EQ(foreign, 0) << v.constData();
        Forms.clear();
    }
}
