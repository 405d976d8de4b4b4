#include <QDir>
#include <cmath>
#include <QProcess>
#include <gtest/gtest.h>

#include "artwork.h"
#include "skin/skin_data.h"
#include "skin/skin_reader.h"
#include "test_support.h"

using namespace TestSupport;

namespace {
QString Tool() { return BinDir() + QStringLiteral("/../tools/skinpack/skinpack"); }

int RunTool(const QStringList& args, QByteArray* out = nullptr)
{
    QProcess p;
    p.start(Tool(), args);
    if (!p.waitForFinished(60000))
        return -1;
    if (out)
        *out = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
} // namespace

TEST(SkinPackTool, ListsAndExtractsThroughTheProgramsReader)
{
    const QString archive = TestDataDir() + QStringLiteral("/lzhuf/skin-small.skn");
    QByteArray listing;
    ASSERT_EQ(RunTool({QStringLiteral("list"), archive}, &listing), 0);
    EXPECT_TRUE(listing.contains("skin.ini"));
    EXPECT_TRUE(listing.contains("left.bmp"));
    EXPECT_TRUE(listing.contains("5 entries, format 20000"));

    const QString dir = MakeTempDir() + QStringLiteral("/out");
    ASSERT_EQ(RunTool({QStringLiteral("extract"), archive, dir}), 0);
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(ReadFile(archive)));
    for (const QString& name : reader.Names()) {
        QByteArray expected;
        reader.ExtractByName(name, expected);
        EXPECT_EQ(ReadFile(dir + QLatin1Char('/') + name), expected) << qPrintable(name);
    }
    EXPECT_TRUE(QFileInfo::exists(dir + QStringLiteral("/empty name follows")));

    // The old format is refused, with the reader's message on the error stream.
    EXPECT_NE(RunTool({QStringLiteral("list"), TestDataDir() + QStringLiteral("/lzhuf/skin-old-version.skn")}), 0);
    EXPECT_NE(RunTool({QStringLiteral("list"), dir + QStringLiteral("/missing.skn")}), 0);
    EXPECT_NE(RunTool({QStringLiteral("frobnicate")}), 0);
}

TEST(SkinPackTool, PackedFilesComeBackUnchanged)
{
    const QString dir = MakeTempDir();
    const QString a = dir + QStringLiteral("/Skin.INI");
    const QString b = dir + QStringLiteral("/Pic.bmp");
    QFile fa(a);
    ASSERT_TRUE(fa.open(QIODevice::WriteOnly));
    fa.write("[TitlebarSkin]\r\nSkinName=Packed\r\n");
    fa.close();
    QByteArray noise;
    for (int i = 0; i < 5000; ++i)
        noise.append(static_cast<char>((i * 131) ^ (i >> 3)));
    QFile fb(b);
    ASSERT_TRUE(fb.open(QIODevice::WriteOnly));
    fb.write(noise);
    fb.close();
    const QString out = dir + QStringLiteral("/packed.skn");
    ASSERT_EQ(RunTool({QStringLiteral("pack"), out, a, b}), 0);
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(ReadFile(out)));
    EXPECT_EQ(reader.Names(), QStringList({"skin.ini", "pic.bmp"}));
    QByteArray got;
    reader.ExtractByName(QStringLiteral("PIC.BMP"), got);
    EXPECT_EQ(got, noise);
}

TEST(SkinPackTool, CommittedSkinsAreWhatTheArtworkDraws)
{
    // The archives in the source tree come from the drawing code, not by hand.
    const QString source = SourceDir();
    EXPECT_EQ(SkinPack::PackSkin(SkinPack::DrawSkin(SkinPack::DefaultTheme())), DefaultSkinArchive());
    EXPECT_EQ(SkinPack::PackSkin(SkinPack::DrawSkin(SkinPack::DefaultTheme())),
              ReadFile(source + QStringLiteral("/src/skin/resources/default.skn")));
    for (const SkinPack::TTheme& theme : SkinPack::FolderThemes()) {
        EXPECT_EQ(SkinPack::PackSkin(SkinPack::DrawSkin(theme)),
                  ReadFile(source + QStringLiteral("/data/skiny/") + theme.FileName + QStringLiteral(".skn")))
            << qPrintable(theme.FileName);
    }
    EXPECT_EQ(SkinPack::BmpBytes(SkinPack::DrawTrackBitmap(false)),
              ReadFile(source + QStringLiteral("/src/skin/resources/track.bmp")));
    EXPECT_EQ(SkinPack::BmpBytes(SkinPack::DrawTrackBitmap(true)),
              ReadFile(source + QStringLiteral("/src/skin/resources/trackvert.bmp")));
    EXPECT_EQ(SkinPack::BmpBytes(SkinPack::DrawMenuGlyphs()),
              ReadFile(source + QStringLiteral("/src/skin/resources/pellimomenu.bmp")));
}

TEST(SkinPackTool, DefaultSkinDescriptionUsesEverySectionTheEngineReads)
{
    const SkinPack::TSkinArt art = SkinPack::DrawSkin(SkinPack::DefaultTheme());
    EXPECT_EQ(art.Bitmaps.size(), 42);
    const QString ini = QString::fromUtf8(art.Ini);
    const char* sections[] = {"TitlebarSkin", "Personality", "Fonts", "Colours", "COLOUR0", "Customcolors",
                              "BUTTON0", "Button2", "MDICONTROLS", "Buttons", "Progress", "Progress.Chunk",
                              "GroupBoxEdge", "GroupBox", "Tabs", "StatusBarEdges", "Tab.Pane", "ToolBars",
                              "ComboButton", "SunkEdge", "ExtraImages", "Headerbar", "MenuItem", "MenuBackground",
                              "Scrollbar", "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb",
                              "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                              "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown", "UpDown.Horz",
                              "UpDown.Vert", "Track", "TRACKVERT"};
    for (const char* s : sections)
        EXPECT_TRUE(ini.contains(QLatin1Char('[') + QLatin1String(s) + QLatin1Char(']'))) << s;
}

TEST(SkinPackTool, ShippedSkinsHaveAGripCellAndAnInactiveMinimiseFrame)
{
    QStringList files = {QStringLiteral("grafit"), QStringLiteral("mxskin20"), QStringLiteral("zelena")};
    for (const QString& name : files) {
        TSkinData data(nullptr);
        data.SetSkinFile(SourceDir() + QStringLiteral("/data/skiny/") + name + QStringLiteral(".skn"));
        ASSERT_TRUE(data.SkinRead()) << qPrintable(name);
        // The grip is the cell after the combo's arrows: ridges in its
        // bottom-right corner, nothing (magenta) in its middle where an arrow would be.
        if (const TDataSkinObject* extra = data.ExtraImages.get(); extra && !extra->Image.isNull()) {
            const int cells = std::max(1, extra->Frame);
            const int grip = std::max(1, data.ComboButton->Frame) + 1;
            ASSERT_GE(cells, grip) << qPrintable(name);
            const int cw = extra->Image.width() / cells, ch = extra->Image.height();
            const QImage cell = extra->Image.copy((grip - 1) * cw, 0, cw, ch);
            EXPECT_EQ(cell.pixel(cw / 2, ch / 2) & 0xFFFFFF, 0xFF00FFu) << qPrintable(name);
            EXPECT_NE(cell.pixel(cw - 2, ch - 2) & 0xFFFFFF, 0xFF00FFu) << qPrintable(name);
        }
        // Every caption button, the minimise one too, has the fourth (inactive) frame.
        int minimise = 0;
        for (const auto& b : data.CaptionButtons) {
            if (b->Action != 2)
                continue;
            ++minimise;
            EXPECT_EQ(b->Frame, 4) << qPrintable(name);
            const int fw = b->Image.width() / std::max(1, b->Frame);
            const QImage normal = b->Image.copy(0, 0, fw, b->Image.height());
            const QImage inactive = b->Image.copy(3 * fw, 0, fw, b->Image.height());
            EXPECT_NE(normal, inactive) << qPrintable(name);
        }
        EXPECT_EQ(minimise, 1) << qPrintable(name);
    }
}

namespace {
double Luminance(QRgb c)
{
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
}
double Contrast(QRgb a, QRgb b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
} // namespace

TEST(SkinPackTool, ShippedSkinsFaceKeepsGreyTextAndHatchingVisible)
{
    // Panels take the skin's face colour: the program's silver of disabled
    // links and the grey hatching of the mask must stay apart from it, and
    // the text colour readable on it.
    for (const QString& name : {QStringLiteral("grafit"), QStringLiteral("mxskin20"), QStringLiteral("zelena")}) {
        TSkinData data(nullptr);
        data.SetSkinFile(SourceDir() + QStringLiteral("/data/skiny/") + name + QStringLiteral(".skn"));
        ASSERT_TRUE(data.SkinRead()) << qPrintable(name);
        const QRgb face = ToQColor(data.Colours.ButtonFace).rgb();
        EXPECT_GE(Contrast(face, qRgb(0xC0, 0xC0, 0xC0)), 1.4) << qPrintable(name);
        EXPECT_GE(Contrast(face, qRgb(0xCA, 0xCA, 0xCA)), 1.25) << qPrintable(name);
        EXPECT_GE(Contrast(face, ToQColor(data.Colours.ButtonText).rgb()), 7.0) << qPrintable(name);
    }
}

TEST(SkinPackTool, ShippedSkinsKeepDisabledTextLegibleButDimmer)
{
    // Disabled captions, check boxes and menu items are drawn in the system
    // button-shadow grey: it must read (3:1) on the face and on every pixel of
    // the inner part of the disabled button frame, yet stay dimmer than the text.
    const QRgb grey = ToQColor(clBtnShadow).rgb();
    const QStringList files = {QStringLiteral("/data/skiny/grafit.skn"), QStringLiteral("/data/skiny/mxskin20.skn"),
                               QStringLiteral("/data/skiny/zelena.skn"),
                               QStringLiteral("/src/skin/resources/default.skn")};
    for (const QString& file : files) {
        TSkinData data(nullptr);
        data.SetSkinFile(SourceDir() + file);
        ASSERT_TRUE(data.SkinRead()) << qPrintable(file);
        const QRgb face = ToQColor(data.Colours.ButtonFace).rgb();
        const QRgb text = ToQColor(data.Colours.ButtonText).rgb();
        EXPECT_GE(Contrast(face, grey), 3.0) << qPrintable(file);
        EXPECT_LT(Contrast(face, grey), Contrast(face, text) / 2) << qPrintable(file);
        EXPECT_GE(Contrast(ToQColor(data.Colours.Menu).rgb(), grey), 3.0) << qPrintable(file);

        const TDataSkinButton* b = data.Buttons.get();
        ASSERT_TRUE(b && !b->Image.isNull() && b->Frame >= 3) << qPrintable(file);
        const int fw = b->Image.width() / b->Frame;
        const QImage disabled = b->Image.copy(2 * fw, 0, fw, b->Image.height());
        double worst = 100;
        for (int y = b->TopHeight; y < disabled.height() - b->BottomHeight; ++y)
            for (int x = b->LeftWidth; x < fw - b->RightWidth; ++x)
                worst = std::min(worst, Contrast(disabled.pixel(x, y), grey));
        EXPECT_GE(worst, 3.0) << qPrintable(file);
        EXPECT_LT(worst, Contrast(disabled.pixel(fw / 2, disabled.height() / 2), text)) << qPrintable(file);
    }
}
