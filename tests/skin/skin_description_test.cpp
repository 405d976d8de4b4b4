#include <QDataStream>
#include <gtest/gtest.h>

#include "classlib/graphics/types.h"
#include "platform/system_metrics.h"
#include "skin/quick_ini.h"
#include "skin/skin_bitmaps.h"
#include "skin/skin_data.h"
#include "skin/skin_reader.h"
#include "skin_test_helpers.h"

using namespace SkinTest;

namespace {
// Reads a skin from an INI text and pictures into data, as LoadSkin does.
void Read(TSkinData& data, const QByteArray& ini, const QList<QPair<QString, QImage>>& pictures = {})
{
    QByteArray prop = Property(Archive(ini, pictures));
    QDataStream in(prop);
    data.ReadSkinStream(in);
    ASSERT_FALSE(data.SkinLoading());
}

const TDataSkinSysButton* Button(const TSkinData& data, const QString& name)
{
    for (const auto& b : data.CaptionButtons)
        if (b->Name == name)
            return b.get();
    return nullptr;
}

TColor Pixel(const QImage& img, int x, int y) { return PixelColour(img.pixel(x, y)); }
} // namespace

TEST(SkinDescription, CaptionButtonSectionsAndOrder)
{
    TSkinData data(nullptr);
    Read(data,
         "[BUTTON0]\nAction=0\n[BUTTON1]\nAction=1\n[Button.Checkbox]\nAction=0\n[BUTTON.RADIO]\n[Buttons]\n"
         "[BUTTON]\nAction=5\n[BUTTON3]\nAction=3\nframe=3\nButtonImage=icon.bmp\n[BUTTON4]\nAction=-1\n"
         "[BUTTON5]\nAction=-1\nVisibility=0\nButtonImage=wide.bmp\n[Button2]\nAction=3\nButtonImage=icon.bmp\n"
         "[ButtonX]\nButtonImage=wide.bmp\nframe=0\n[ButtonY]\nButtonImage=long.bmp\n[ButtonZ]\nButtonImage=0\n",
         {{"icon.bmp", Solid(54, 18)}, {"wide.bmp", Solid(54, 18)}, {"long.bmp", Solid(108, 18)}});
    QStringList names;
    for (const auto& b : data.CaptionButtons)
        names << b->Name;
    EXPECT_EQ(names, QStringList({"BUTTON0", "BUTTON1", "BUTTON3", "BUTTON5", "BUTTON2", "BUTTONX", "BUTTONY",
                                  "BUTTONZ", "MDICONTROLS", "MDICONTROLS", "MDICONTROLS"}));

    // Action -1 with Visibility 0 stays; its Visibility1 defaults to -1; negative
    // Actions always get 6 frames.
    const TDataSkinSysButton* b5 = Button(data, "BUTTON5");
    ASSERT_TRUE(b5);
    EXPECT_EQ(b5->Visibility1, -1);
    EXPECT_EQ(b5->Frame, 6);
    EXPECT_FALSE(b5->Image.isNull());
    // The window icon: kept with an explicit frame count, emptied without one.
    EXPECT_FALSE(Button(data, "BUTTON3")->Image.isNull());
    EXPECT_EQ(Button(data, "BUTTON3")->Frame, 3);
    EXPECT_TRUE(Button(data, "BUTTON2")->Image.isNull());
    EXPECT_EQ(Button(data, "BUTTON2")->Frame, 3);
    // Frames from the picture's shape: 54 x 18 gives 3, 108 x 18 gives 6.
    EXPECT_EQ(Button(data, "BUTTONX")->Frame, 3);
    EXPECT_EQ(Button(data, "BUTTONY")->Frame, 6);
    // No picture ("0" is not a .bmp name): 6 frames, empty image.
    EXPECT_TRUE(Button(data, "BUTTONZ")->Image.isNull());
    EXPECT_EQ(Button(data, "BUTTONZ")->Frame, 6);
    // Defaults.
    const TDataSkinSysButton* b0 = Button(data, "BUTTON0");
    EXPECT_EQ(b0->CombineOp, -1);
    EXPECT_EQ(b0->Visibility, 0);
    EXPECT_EQ(b0->Visibility1, 0);
    // Without MDICONTROLS the three MDI buttons have no pictures.
    const TDataSkinSysButton& mdi = *data.CaptionButtons.back();
    EXPECT_TRUE(mdi.Image.isNull());
    EXPECT_EQ(mdi.Xcoord, 0);
    EXPECT_EQ(mdi.Action, 9);
    EXPECT_EQ(mdi.Frame, 4);
    EXPECT_EQ(mdi.Align, 100);
}

TEST(SkinDescription, MdiButtonsCutFromTheStrip)
{
    QImage strip(120, 10, QImage::Format_RGB32);
    for (int cell = 0; cell < 12; ++cell)
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                strip.setPixel(cell * 10 + x, y, qRgb(cell * 20, 0, 0));
    TSkinData data(nullptr);
    Read(data, "[MDICONTROLS]\nImage=mdi.bmp\n", {{"mdi.bmp", strip}});
    ASSERT_EQ(data.CaptionButtons.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& b = *data.CaptionButtons[static_cast<size_t>(i)];
        EXPECT_EQ(b.Action, 7 + i);
        EXPECT_EQ(b.Image.size(), QSize(40, 10));
        EXPECT_EQ(qRed(b.Image.pixel(0, 0)), 4 * i * 20);
        EXPECT_EQ(qRed(b.Image.pixel(39, 9)), (4 * i + 3) * 20);
        EXPECT_EQ(b.Xcoord, (3 - i) * 14);
        EXPECT_EQ(b.Visibility, 100);
        EXPECT_EQ(b.Visibility1, 100);
        EXPECT_EQ(b.CombineOp, 0);
    }
}

TEST(SkinDescription, ElementKeysMarginsAndTiles)
{
    TSkinData data(nullptr);
    Read(data,
         "[Tab.Pane]\nImage=p.bmp\nLeftWidth=9\nTopHeight=4\nRightWidth=5\nBottomHeight=2\n"
         "[GroupBoxEdge]\nImage=p.bmp\nTile=2\nFrame=7\nTrans=1\nStyle=3\nNormalColour=0x10\n"
         "NormalColour2=59 97 131\nMouseOverColour2=1,2,3\n"
         "[Progress]\nBitmap=p.bmp\nTile=2\nStyle=1\nLeftWidth=2\nNormalColour=5\n"
         "[Progress.Chunk]\nImage=p.bmp\nFrame=3\n"
         "[GroupBox]\nImage=p.bmp\nBackgroundAlignment=2\nBackgroundLeftShift=3\nBackgroundRightShift=4\nFrame=9\n"
         "[Tabs]\nImage=p.bmp\nBorder=q.bmp\nFrame=9\n"
         "[StatusBarEdges]\nImage=P.BMP\n"
         "[Headerbar]\nImage=p.bmp\nFrame=2\n"
         "[MenuItem]\nImage=p.bmp\nFrame=2\n"
         "[HorzScrollThumb]\nImage=p.bmp\nFrameCount=7\n[VertScrollThumb]\nImage=p.bmp\n"
         "[Personality]\nmenuBar=p.bmp\nTileMenu=5\nTileLeftMenu=6\n",
         {{"p.bmp", Solid(40, 20)}, {"q.bmp", Solid(8, 8)}});
    ASSERT_TRUE(data.TabPane);
    EXPECT_EQ(data.TabPane->LeftWidth, 4);
    EXPECT_EQ(data.TabPane->TopHeight, 4);
    EXPECT_EQ(data.TabPane->RightWidth, 4);
    EXPECT_EQ(data.TabPane->BottomHeight, 2);
    EXPECT_EQ(data.TabPane->Frame, 1);

    const TDataSkinObject& edge = *data.GroupBoxEdge;
    EXPECT_EQ(edge.Tile, 0);  // plain kind: above 1 becomes 0
    EXPECT_EQ(edge.Frame, 2);  // fixed count replaces "Frame"
    EXPECT_EQ(edge.Trans, 1);
    EXPECT_EQ(edge.Style, 3);
    EXPECT_EQ(edge.NormalColour, 16);
    EXPECT_EQ(edge.MouseOverColour, -1);
    EXPECT_EQ(edge.NormalColour2, RGB(59, 97, 131));
    EXPECT_EQ(edge.MouseOverColour2, RGB(1, 2, 3));
    EXPECT_EQ(edge.PressedColour2, data.Colours.ButtonText);

    ASSERT_TRUE(data.Progress);
    EXPECT_EQ(data.Progress->Tile, 1);  // bitmap kind: above 1 becomes 1
    EXPECT_EQ(data.Progress->Frame, 1);  // style 1
    EXPECT_EQ(data.Progress->LeftWidth, 2);
    EXPECT_EQ(data.Progress->NormalColour, -1);  // no colour keys
    EXPECT_EQ(data.ProgressChunk->Frame, 3);  // keeps its own "Frame"

    EXPECT_EQ(data.GroupBox->BackgroundAlignment, 2);
    EXPECT_EQ(data.GroupBox->BackgroundLeftShift, 3);
    EXPECT_EQ(data.GroupBox->BackgroundRightShift, 4);
    EXPECT_EQ(data.GroupBox->Frame, 1);
    EXPECT_EQ(data.Tabs->Frame, 5);
    EXPECT_EQ(data.Tabs->Image2.size(), QSize(8, 8));
    // Only names ending exactly in ".bmp" are loaded.
    EXPECT_FALSE(data.StatusBarEdges);
    // The header keeps a "Frame" it was given; the menu item does not.
    EXPECT_EQ(data.Headerbar->Frame, 2);
    EXPECT_EQ(data.MenuItem->Frame, 5);
    EXPECT_EQ(data.HorzScrollThumb->Frame, 7);
    EXPECT_EQ(data.VertScrollThumb->Frame, 3);

    ASSERT_TRUE(data.MenuBar);
    EXPECT_EQ(data.MenuBar->Tile, 1);
    EXPECT_EQ(data.MenuBar->LeftWidth, 6);
    EXPECT_EQ(data.MenuBar->RightWidth, 1);
    EXPECT_EQ(data.MenuBar->Frame, 2);
    // Sections without a picture give no element.
    EXPECT_FALSE(data.Scrollbar);
    EXPECT_FALSE(data.SunkEdge);
    EXPECT_FALSE(data.UpDownHorz);
}

TEST(SkinDescription, PlainHeaderbarWithoutFrameGetsFive)
{
    TSkinData data(nullptr);
    Read(data, "[Headerbar]\nImage=p.bmp\n[Scrollbar]\nImage=p.bmp\n[UpDown.Vert]\nImage=p.bmp\nGlyphImage=p.bmp\nFrame=3\n",
         {{"p.bmp", Solid(46, 2)}});
    EXPECT_EQ(data.Headerbar->Frame, 5);
    EXPECT_EQ(data.Scrollbar->Frame, 23);
    EXPECT_EQ(data.UpDownVert->Frame, 8);
    EXPECT_FALSE(data.UpDownVert->Image2.isNull());
}

TEST(SkinDescription, FrameSidesTitleAndButtons)
{
    TSkinData data(nullptr);
    Read(data,
         "[Personality]\nTop=t.bmp\nTopTopHeight=7\nTopBotHeight=8\nTopFrame=2\nTopStretch=3\nTopTrans=0\n"
         "Left=l.bmp\nLeftTopHeight=20\nLeftBotHeight=5\n"
         "TextBack=l.bmp\nTextShift=11\nTextShiftVert=3\nTextRightClip=40\nTextAlignment=1\nTXTBackleft=2\n"
         "ActiveTextR=1\nActiveTextG=2\nActiveTextB=3\nInActiveTextR=4\nInActiveTextG=5\n"
         "[Fonts]\nFontHeight=0x12\n"
         "[Buttons]\nBitmap=b.bmp\nCheckButton=c.bmp\nRadioButton=r.bmp\nTile=2\nLeftWidth=3\n"
         "NormalColour2=200 100 50\n[TitlebarSkin]\nSkinName=Zkouška\n",
         {{"t.bmp", Solid(90, 60)}, {"l.bmp", Solid(8, 30)}, {"b.bmp", Solid(100, 20)},
          {"c.bmp", Solid(52, 13)}, {"r.bmp", Solid(96, 16)}});
    EXPECT_EQ(data.SkinName, QString::fromUtf8("Zkouška"));
    const TDataSkinBorder& top = *data.Top;
    EXPECT_EQ(top.LeftWidth, 7);
    EXPECT_EQ(top.RightWidth, 8);
    EXPECT_EQ(top.TopHeight, 0);
    EXPECT_EQ(top.Frame, 2);
    EXPECT_EQ(top.Tile, 1);
    EXPECT_EQ(top.Trans, 0);
    const TDataSkinBorder& left = *data.Left;
    EXPECT_EQ(left.TopHeight, 20);
    EXPECT_EQ(left.BottomHeight, 5);
    EXPECT_EQ(left.LeftWidth, 0);
    EXPECT_EQ(left.Frame, 1);
    EXPECT_EQ(left.Tile, 1);
    EXPECT_EQ(left.Trans, 1);
    EXPECT_TRUE(data.Right->Image.isNull());
    EXPECT_EQ(data.Right->Trans, 1);

    const TDataSkinTitle& title = *data.Title;
    EXPECT_EQ(title.LeftWidth, 11);
    EXPECT_EQ(title.TopHeight, 3);
    EXPECT_EQ(title.RightWidth, 40);
    EXPECT_EQ(title.TextAlignment, 1);
    EXPECT_EQ(title.TXTBackleft, 2);
    EXPECT_EQ(title.FontHeight, 18);
    EXPECT_EQ(title.Frame, 2);
    EXPECT_EQ(title.ActiveTextColour, RGB(1, 2, 3));
    EXPECT_EQ(title.InactiveTextColour, clNone);  // one of the three missing

    const TDataSkinButton& b = *data.Buttons;
    EXPECT_EQ(b.Frame, 5);
    EXPECT_EQ(b.Tile, 0);
    EXPECT_EQ(b.LeftWidth, 3);
    EXPECT_EQ(b.CheckButtonFrame, 4);  // 52 div 13
    EXPECT_EQ(b.RadioButtonFrame, 6);  // 96 div 16
    EXPECT_TRUE(b.NormalColour2Set);
    EXPECT_FALSE(b.MouseOverColour2Set);
    EXPECT_EQ(b.NormalColour2, RGB(200, 100, 50));
    EXPECT_EQ(b.MouseOverColour2, data.Colours.ButtonText);

    // Base colour: the pixel at (w div 3, (h div frames) div 3) of the top side.
    EXPECT_EQ(data.BaseColour, RGB(10, 20, 30));
}

TEST(SkinDescription, ColoursTableAndCustomColours)
{
    TSkinData data(nullptr);
    Read(data,
         "[Colours]\nButtonFace=1 2 3\nHilight=300,0,0\nMenuText=7 8\n[COLOUR2]\ncolor=9 9 9\n[Colours]\n"
         "[colour0]\nColor=4 5 6\n[COLOURX]\n[Colour2]\ncolor=1 1 1\n[Customcolors]\nColor3=50 60 70\n");
    EXPECT_EQ(data.Colours.ButtonFace, RGB(1, 2, 3));
    EXPECT_EQ(data.Colours.Menubar, RGB(1, 2, 3));  // follows ButtonFace
    EXPECT_EQ(data.Colours.Hilight, RGB(300 & 0xFF, 0, 0));
    EXPECT_EQ(data.Colours.MenuText, RGB(7, 8, 0));
    EXPECT_EQ(data.Colours.WindowText, clWindowText);
    EXPECT_EQ(data.Colours.Buttonlight, clBtnHighlight);
    EXPECT_EQ(data.Colours.ButtonDkShadow, cl3DDkShadow);
    EXPECT_EQ(data.Colours.TitleTextNoActive, clInactiveCaptionText);
    // Every COLOURn section in INI order; a repeated name reads its first section.
    ASSERT_EQ(data.ColourTable.size(), 4u);
    EXPECT_EQ(data.ColourTable[0], RGB(9, 9, 9));
    EXPECT_EQ(data.ColourTable[1], RGB(4, 5, 6));
    EXPECT_EQ(data.ColourTable[2], clWindowText);
    EXPECT_EQ(data.ColourTable[3], RGB(9, 9, 9));
    EXPECT_EQ(data.CustomColours[3], RGB(50, 60, 70));
    EXPECT_EQ(data.CustomColours[0], clWhite);
    EXPECT_EQ(data.CustomColours[9], clWhite);
    EXPECT_EQ(data.SkinBrush.color(), QColor(1, 2, 3));
    // No "Top" picture: the base colour is ButtonFace.
    EXPECT_EQ(data.BaseColour, RGB(1, 2, 3));
}

TEST(SkinDescription, ColourFromText)
{
    EXPECT_EQ(ColourFromText("59 97 131"), RGB(59, 97, 131));
    EXPECT_EQ(ColourFromText(" 59,97;131 "), RGB(59, 97, 131));
    EXPECT_EQ(ColourFromText("1 2 3 4"), RGB(1, 2, 3));
    EXPECT_EQ(ColourFromText("12"), RGB(12, 0, 0));
    EXPECT_EQ(ColourFromText("none"), RGB(0, 0, 0));
    EXPECT_EQ(ColourFromText("99999999999999 1 1"), RGB(0, 1, 1));
}

TEST(SkinDescription, BuiltInTrackPicturesWhenTheSkinHasNone)
{
    TSkinData data(nullptr);
    Read(data, "[Track]\nImage=t.bmp\nFrame=3\nLeftWidth=1\n", {{"t.bmp", Solid(30, 6)}});
    EXPECT_EQ(data.Track->Frame, 3);
    EXPECT_EQ(data.Track->LeftWidth, 1);
    ASSERT_TRUE(data.TrackVert);
    EXPECT_EQ(data.TrackVert->Image.size(), SkinResourceBitmap("TRACKVERT").size());
    EXPECT_FALSE(data.TrackVert->Image.isNull());
    EXPECT_EQ(data.TrackVert->LeftWidth, 3);
    EXPECT_EQ(data.TrackVert->BottomHeight, 3);
    EXPECT_EQ(data.TrackVert->Frame, 1);
    EXPECT_EQ(data.TrackVert->Tile, 0);
}

TEST(SkinDescription, ComboImageArrowAndToolbar)
{
    // Sunken edge in green, button in blue with a magenta inside.
    QImage sunk = Solid(80, 21, QColor(0, 200, 0));
    QImage button = Solid(68, 21, QColor(0, 0, 200));
    for (int f = 0; f < 4; ++f)
        button.setPixel(f * 17 + 8, 10, qRgb(255, 0, 255));
    TSkinData data(nullptr);
    Read(data,
         "[Colours]\nButtonFace=100 110 120\n[SunkEdge]\nImage=s.bmp\nTopHeight=3\nBottomHeight=2\n"
         "[ComboButton]\nImage=c.bmp\n",
         {{"s.bmp", sunk}, {"c.bmp", button}});
    const int b = GetSystemMetrics(SM_CXHSCROLL) + 2;
    ASSERT_TRUE(data.ComboButton);
    const TDataSkinBorder& cb = *data.ComboButton;
    EXPECT_EQ(cb.Image.size(), QSize(200, 21));
    EXPECT_EQ(cb.Style, 2);
    EXPECT_EQ(cb.LeftWidth, 2);
    EXPECT_EQ(cb.RightWidth, b + 2);
    EXPECT_EQ(cb.TopHeight, 3);
    EXPECT_EQ(cb.BottomHeight, 2);
    // The second picture is the original button, mirrored.
    EXPECT_EQ(cb.Image2.size(), QSize(68, 21));
    // Each 50-pixel cell: edge at the left, button at the right, a magenta text area.
    EXPECT_EQ(Pixel(cb.Image, 0, 10), RGB(0, 200, 0));
    EXPECT_EQ(Pixel(cb.Image, 10, 10), RGB(255, 0, 255));
    EXPECT_EQ(Pixel(cb.Image, 49, 10), RGB(0, 0, 200));
    EXPECT_EQ(Pixel(cb.Image, 150 + 49 - b, 3), RGB(0, 200, 0));
    EXPECT_EQ(Pixel(cb.Image, 150 + 50 - b, 3), RGB(0, 0, 200));
    // The sunken edge becomes the strip mirrored.
    EXPECT_EQ(data.SunkEdge->Image.size(), QSize(200, 21));
    EXPECT_EQ(Pixel(data.SunkEdge->Image, 0, 10), RGB(0, 0, 200));
    EXPECT_EQ(data.SunkEdge->LeftWidth, b + 2);
    EXPECT_EQ(data.SunkEdge->RightWidth, 2);
    // The arrow: 17 x 17 cells cut from the strip.
    ASSERT_TRUE(data.ComboxArrow);
    EXPECT_EQ(data.ComboxArrow->Image.size(), QSize(68, 17));
    EXPECT_EQ(data.ComboxArrow->Frame, 4);
    EXPECT_EQ(data.ComboxArrow->Image.pixel(0, 0), cb.Image.pixel(31, 2));
    EXPECT_EQ(data.ComboxArrow->Image.pixel(67, 16), cb.Image.pixel(197, 18));

    // The tool-bar image: a vertical gradient from a lightened face colour.
    ASSERT_TRUE(data.Toolbar);
    EXPECT_EQ(data.Toolbar->Image.size(), QSize(10, 40));
    EXPECT_EQ(data.Toolbar->Frame, 1);
    EXPECT_EQ(Pixel(data.Toolbar->Image, 5, 0), BlendColors(RGB(100, 110, 120), clWhite, 150));
    // Without a "Top" picture the base colour is ButtonFace, whose saturation is 200.
    const TColor top = BlendColors(RGB(100, 110, 120), clWhite, 150);
    const TColor bottom = BlendColors(RGB(100, 110, 120), clWhite, (225 - 200) * 25 / 140 + 50);
    EXPECT_EQ(Pixel(data.Toolbar->Image, 5, 39), GradientColours(40, top, bottom).back());

    // Without the sunken edge the arrow is the button with magenta in the face colour.
    Read(data, "[Colours]\nButtonFace=100 110 120\n[ComboButton]\nImage=c.bmp\n", {{"c.bmp", button}});
    EXPECT_FALSE(data.SunkEdge);
    EXPECT_EQ(data.ComboButton->Style, 0);
    EXPECT_EQ(data.ComboxArrow->Image.size(), QSize(68, 21));
    EXPECT_EQ(Pixel(data.ComboxArrow->Image, 8, 10), RGB(100, 110, 120));
    EXPECT_EQ(data.ComboxArrow->Frame, 4);
    // A skin without combo pictures leaves no arrow from the last one.
    Read(data, "[Colours]\n");
    EXPECT_FALSE(data.ComboButton);
    EXPECT_TRUE(data.ComboxArrow->Image.isNull());
}

TEST(SkinDescription, ToolbarUsesTheBaseColourOfTheSameSkin)
{
    TSkinData data(nullptr);
    // A saturated blue caption: the bottom colour is blended from it.
    Read(data, "[Personality]\nTop=t.bmp\n", {{"t.bmp", Solid(30, 30, QColor(20, 60, 230))}});
    EXPECT_EQ(data.BaseColour, RGB(20, 60, 230));
    int hue = 0;
    int sat = 0;
    RGBToHue(data.BaseColour, hue, sat);
    ASSERT_GT(sat, 110);
    const TColor top = BlendColors(data.Colours.ButtonFace, clWhite, 150);
    const TColor bottom = BlendColors(RGB(20, 60, 230), clWhite, (225 - sat) * 25 / 140 + 50);
    EXPECT_EQ(Pixel(data.Toolbar->Image, 0, 39), GradientColours(40, top, bottom).back());
    // The grey-based bottom colour would have been used for a dull caption.
    EXPECT_NE(bottom, BlendColors(RGB(128, 128, 128), RGB(20, 60, 230), 150));
}

TEST(SkinDescription, ReloadDropsElementsTheNewSkinLacks)
{
    TSkinData data(nullptr);
    Read(data, "[Scrollbar]\nImage=p.bmp\n[BUTTON1]\nButtonImage=p.bmp\n[COLOUR1]\ncolor=1 1 1\n",
         {{"p.bmp", Solid(46, 16)}});
    ASSERT_TRUE(data.Scrollbar);
    EXPECT_EQ(data.CaptionButtons.size(), 4u);
    EXPECT_EQ(data.ColourTable.size(), 1u);
    TDataSkinButton* fixed = data.Buttons.get();
    Read(data, "[Personality]\n");
    EXPECT_FALSE(data.Scrollbar);
    EXPECT_EQ(data.CaptionButtons.size(), 3u);
    EXPECT_TRUE(data.ColourTable.empty());
    // The fixed elements are refilled, not replaced.
    EXPECT_EQ(data.Buttons.get(), fixed);
    EXPECT_TRUE(data.Buttons->Image.isNull());
}

TEST(SkinDescription, ArchiveWithoutIniTakesEveryDefault)
{
    TSkinData data(nullptr);
    QByteArray prop = Property(SkinPack::BuildArchive({{"a.bmp", SkinPack::BmpBytes(Solid(2, 2))}}));
    QDataStream in(prop);
    data.ReadSkinStream(in);
    EXPECT_FALSE(data.SkinLoading());
    EXPECT_TRUE(data.SkinName.isEmpty());
    EXPECT_EQ(data.Colours.ButtonFace, clBtnFace);
    EXPECT_EQ(data.CaptionButtons.size(), 3u);
    EXPECT_EQ(data.Title->FontHeight, 14);
    EXPECT_EQ(data.Buttons->RadioButtonFrame, 4);
}
