// Reading the skin description into skin elements, and the derived images.
#include "classlib/graphics/types.h"
#include "classlib/sysutils.h"
#include "platform/system_metrics.h"
#include "skin/quick_ini.h"
#include "skin/skin_bitmaps.h"
#include "skin/skin_data.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_reader.h"

#include <QPainter>
#include <QtEndian>

namespace {
const QString kPersonality = QStringLiteral("Personality");

TColor ReadColourText(const TQuickIni& ini, const QString& section, const QString& key, TColor def)
{
    const QString text = ini.ReadString(section, key, QString());
    return text.isEmpty() ? def : ColourFromText(text);
}

QImage ReadImage(const TQuickIni& ini, const TSkinReader& reader, const QString& section, const QString& key)
{
    return LoadSkinBitmap(reader, ini.ReadString(section, key, QString()));
}

// Skin numbers are clamped where they are read. Sizes and positions far beyond
// any screen, or a frame count that leaves a frame no pixel, only come from a
// damaged description and would overflow the layout arithmetic or blank the frame.
constexpr int kMaxSkinExtent = 4096;
constexpr int kMaxFontHeight = 256;
// A skin picture longer than this is no picture of a window part.
constexpr int kMaxSkinBitmapSide = 8192;
// A frame side thicker than this leaves no window to speak of.
constexpr int kMaxFrameThickness = 256;

// A margin or clip width: 0 to the largest extent.
int ReadExtent(const TQuickIni& ini, const QString& section, const QString& key, int def)
{
    return std::clamp(ini.ReadInteger(section, key, def), 0, kMaxSkinExtent);
}

// A position or shift, either way.
int ReadOffset(const TQuickIni& ini, const QString& section, const QString& key, int def)
{
    return std::clamp(ini.ReadInteger(section, key, def), -kMaxSkinExtent, kMaxSkinExtent);
}

// "Trans": 0 and 1 mean what they say; anything else stays "not 1, not 0".
int ReadTrans(const TQuickIni& ini, const QString& section, const QString& key, int def)
{
    return std::clamp(ini.ReadInteger(section, key, def), 0, 2);
}

// A frame count. One that is negative or leaves a frame less than a pixel of
// the strip is taken as not given.
int ReadFrames(const TQuickIni& ini, const QString& section, const QString& key, int def, int length)
{
    const int v = ini.ReadInteger(section, key, def);
    return v < 0 || v > std::max(1, length) ? def : v;
}

// A Tile above 1 becomes over.
int ReadTile(const TQuickIni& ini, const QString& section, const QString& key, int def, int over)
{
    const int v = ini.ReadInteger(section, key, def);
    return v > 1 ? over : v;
}

// The sections that are caption buttons, in INI order.
QStringList CaptionButtonSections(const TQuickIni& ini, const QStringList& sections)
{
    QStringList list = sections;
    for (qsizetype i = list.size() - 1; i >= 0; --i) {
        const QString upper = list[i].toUpper();
        bool keep = upper.startsWith(QLatin1String("BUTTON")) && upper != QLatin1String("BUTTONS") &&
                    upper != QLatin1String("BUTTON.RADIO") && upper != QLatin1String("BUTTON.CHECKBOX") &&
                    upper != QLatin1String("BUTTON");
        if (keep && ini.ReadInteger(list[i], QStringLiteral("Action"), 0) == -1 &&
            ini.ReadInteger(list[i], QStringLiteral("Visibility"), -1) != 0)
            keep = false;
        if (!keep)
            list.removeAt(i);
    }
    return list;
}

TSkinMargins MarginsOf(const TDataSkinObject& o) { return {o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight}; }
} // namespace

TColor ColourFromText(const QString& text)
{
    int channels[3] = {0, 0, 0};
    int found = 0;
    qsizetype i = 0;
    while (i < text.size() && found < 3) {
        if (!text[i].isDigit() || text[i].unicode() > '9') {
            ++i;
            continue;
        }
        int v = 0;
        while (i < text.size() && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
            v = std::min(v * 10 + (text[i].unicode() - '0'), 1 << 24);
            ++i;
        }
        channels[found++] = v;
    }
    return RGB(channels[0], channels[1], channels[2]);
}

QImage DecodeSkinBitmap(const QByteArray& bytes, QString* problem)
{
    auto fail = [problem](const QString& text) {
        if (problem)
            *problem = text;
        return QImage();
    };
    if (problem)
        problem->clear();
    if (bytes.isEmpty())
        return fail(QStringLiteral("v archivu chybí nebo je prázdný"));
    // The header is looked at before the picture is decoded, so that a made-up
    // size never asks for memory.
    auto u16 = [&bytes](int at) {
        return at + 2 <= bytes.size() ? qFromLittleEndian<quint16>(bytes.constData() + at) : quint16(0);
    };
    auto u32 = [&bytes](int at) {
        return at + 4 <= bytes.size() ? qFromLittleEndian<quint32>(bytes.constData() + at) : quint32(0);
    };
    if (bytes.size() < 26 || !bytes.startsWith("BM"))
        return fail(QStringLiteral("není obrázek BMP"));
    const quint32 headerSize = u32(14);
    const bool core = headerSize == 12;
    const qint64 width = core ? u16(18) : static_cast<qint32>(u32(18));
    const qint64 height = core ? u16(20) : static_cast<qint32>(u32(22));
    const int bits = core ? u16(24) : u16(28);
    const quint32 compression = core ? 0 : u32(30);
    const qint64 rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0)
        return fail(QStringLiteral("má nulový rozměr (%1 × %2 px)").arg(width).arg(height));
    if (width > kMaxSkinBitmapSide || rows > kMaxSkinBitmapSide)
        return fail(QStringLiteral("má nemožný rozměr %1 × %2 px").arg(width).arg(rows));
    // Uncompressed rows (plain or with bit fields) must all be there.
    if (compression == 0 || compression == 3) {
        const qint64 stride = (width * bits + 31) / 32 * 4;
        const qint64 needed = static_cast<qint64>(u32(10)) + stride * rows;
        if (bytes.size() < needed)
            return fail(QStringLiteral("je useknutý (%1 z %2 bajtů)").arg(bytes.size()).arg(needed));
    }
    QImage image;
    if (!image.loadFromData(bytes, "BMP") || image.isNull())
        return fail(QStringLiteral("je poškozený"));
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage LoadSkinBitmap(const TSkinReader& reader, const QString& name)
{
    if (ExtractFileExt(name) != QLatin1String(".bmp"))
        return QImage();
    QByteArray bytes;
    reader.ExtractByName(name, bytes);
    return DecodeSkinBitmap(bytes, nullptr);
}

QString SkinUnusableReason(const TQuickIni& ini, const TSkinReader& reader, const QString& iniName)
{
    if (iniName.isEmpty())
        return QStringLiteral("Archiv neobsahuje popis skinu (soubor .ini).");
    QStringList sections;
    ini.ReadSections(sections);
    const bool hasPersonality = std::any_of(sections.begin(), sections.end(), [](const QString& name) {
        return name.compare(kPersonality, Qt::CaseInsensitive) == 0;
    });
    if (!hasPersonality)
        return QStringLiteral("Popis skinu „%1“ je prázdný nebo nečitelný: chybí v něm oddíl [Personality] s okraji "
                              "okna.")
            .arg(iniName);
    // A bitmap the description names for the frame, its caption or its menu bar.
    auto bitmap = [&](const QString& section, const QString& key, QString& problem) {
        const QString name = ini.ReadString(section, key, QString());
        if (ExtractFileExt(name) != QLatin1String(".bmp")) {
            problem = name.isEmpty() ? QStringLiteral("popis skinu neudává jeho obrázek")
                                     : QStringLiteral("„%1“ není bitmapa .bmp").arg(name);
            return QImage();
        }
        QByteArray bytes;
        reader.ExtractByName(name, bytes);
        QImage image = DecodeSkinBitmap(bytes, &problem);
        if (!problem.isEmpty())
            problem = QStringLiteral("obrázek „%1“ %2").arg(name, problem);
        return image;
    };

    // The four sides of the frame: each must give a strip at least a pixel thick.
    for (const char* side : {"Left", "Right", "Top", "Bottom"}) {
        const QString name = QString::fromLatin1(side);
        const bool upright = name == QLatin1String("Left") || name == QLatin1String("Right");
        QString problem;
        const QImage image = bitmap(kPersonality, name, problem);
        if (!problem.isEmpty())
            return QStringLiteral("Okraj okna „%1“: %2.").arg(name, problem);
        const int length = upright ? image.width() : image.height();
        const int frames = std::max(1, ReadFrames(ini, kPersonality, name + QStringLiteral("Frame"), 1, length));
        const int thickness = length / frames;
        if (thickness < 1 || thickness > kMaxFrameThickness)
            return QStringLiteral("Okraj okna „%1“ by byl %2 px silný (obrázek %3 × %4 px, %5 snímků); "
                                  "použitelný je 1 až %6 px.")
                .arg(name)
                .arg(thickness)
                .arg(image.width())
                .arg(image.height())
                .arg(frames)
                .arg(kMaxFrameThickness);
    }
    // Optional parts of the caption and the menu bar: when named, they must be there.
    for (const char* key : {"TextBack", "menuBar"}) {
        const QString name = ini.ReadString(kPersonality, QString::fromLatin1(key), QString());
        if (ExtractFileExt(name) != QLatin1String(".bmp"))
            continue;
        QString problem;
        bitmap(kPersonality, QString::fromLatin1(key), problem);
        if (!problem.isEmpty())
            return QStringLiteral("%1: %2.")
                .arg(QLatin1String(key) == QLatin1String("menuBar") ? QStringLiteral("Lišta nabídky")
                                                                     : QStringLiteral("Pozadí titulku"),
                     problem);
    }
    // Caption buttons: every named picture must be there, and a window must
    // keep a button that closes it.
    bool canClose = false;
    for (const QString& section : CaptionButtonSections(ini, sections)) {
        const QString name = ini.ReadString(section, QStringLiteral("ButtonImage"), QString());
        if (ExtractFileExt(name) != QLatin1String(".bmp"))
            continue;
        QString problem;
        bitmap(section, QStringLiteral("ButtonImage"), problem);
        if (!problem.isEmpty())
            return QStringLiteral("Tlačítko titulku [%1]: %2.").arg(section, problem);
        canClose = canClose || ini.ReadInteger(section, QStringLiteral("Action"), 0) == 0;
    }
    if (!canClose)
        return QStringLiteral("Popis skinu nemá tlačítko titulku, které zavírá okno (oddíl BUTTON s Action=0 a "
                              "obrázkem).");
    return QString();
}

void TSkinData::ReadSkin(const TQuickIni& ini, const TSkinReader& reader)
{
    QStringList sections;
    ini.ReadSections(sections);
    SkinName = ini.ReadString(QStringLiteral("TitlebarSkin"), QStringLiteral("SkinName"), QString());
    ReadBorders(ini, reader);
    ReadColours(ini, sections);
    ReadCaptionButtons(ini, reader, sections);
    ReadButtons(ini, reader);
    ReadTitle(ini, reader);

    Progress = ReadBitmapObject(ini, reader, QStringLiteral("Progress"));
    ProgressChunk = ReadObject(ini, reader, QStringLiteral("Progress.Chunk"));
    MenuBar = ReadMenuBar(ini, reader);
    GroupBoxEdge = ReadObject(ini, reader, QStringLiteral("GroupBoxEdge"));
    GroupBox = ReadBoxLabel(ini, reader, QStringLiteral("GroupBox"));
    Tabs = ReadObjectWithGlyph(ini, reader, QStringLiteral("Tabs"), QStringLiteral("Border"));
    StatusBarEdges = ReadObject(ini, reader, QStringLiteral("StatusBarEdges"));
    TabPane = ReadObject(ini, reader, QStringLiteral("Tab.Pane"));
    if (TabPane) {
        TabPane->LeftWidth = std::min(TabPane->LeftWidth, 4);
        TabPane->TopHeight = std::min(TabPane->TopHeight, 4);
        TabPane->RightWidth = std::min(TabPane->RightWidth, 4);
        TabPane->BottomHeight = std::min(TabPane->BottomHeight, 4);
    }
    ToolBars = ReadObject(ini, reader, QStringLiteral("ToolBars"));
    ComboButton = ReadObjectWithGlyph(ini, reader, QStringLiteral("ComboButton"), QStringLiteral("****"));
    SunkEdge = ReadObject(ini, reader, QStringLiteral("SunkEdge"));
    if (ComboButton && !ComboButton->Image.isNull()) {
        ComboButton->Image2 = ComboButton->Image.convertToFormat(QImage::Format_RGB32);
        MirrorBitmap(ComboButton->Image2);
    }
    ExtraImages = ReadObject(ini, reader, QStringLiteral("ExtraImages"));
    Headerbar = ReadObject(ini, reader, QStringLiteral("Headerbar"));
    FHeaderbarFrameRead = Headerbar ? Headerbar->Frame : 0;
    MenuItem = ReadObject(ini, reader, QStringLiteral("MenuItem"));
    MenuBackground = ReadObject(ini, reader, QStringLiteral("MenuBackground"));
    Scrollbar = ReadObject(ini, reader, QStringLiteral("Scrollbar"));
    HorzScroll = ReadObject(ini, reader, QStringLiteral("HorzScroll"));
    VertScroll = ReadObject(ini, reader, QStringLiteral("VertScroll"));
    HorzScrollThumb = ReadObject(ini, reader, QStringLiteral("HorzScrollThumb"));
    VertScrollThumb = ReadObject(ini, reader, QStringLiteral("VertScrollThumb"));
    TrackbarThumbHorz = ReadObject(ini, reader, QStringLiteral("Trackbar.ThumbHorz"));
    TrackbarThumbVert = ReadObject(ini, reader, QStringLiteral("Trackbar.ThumbVert"));
    TrackbarThumbLeft = ReadObject(ini, reader, QStringLiteral("Trackbar.ThumbLeft"));
    TrackbarThumbRight = ReadObject(ini, reader, QStringLiteral("Trackbar.ThumbRight"));
    TrackbarThumbUp = ReadObject(ini, reader, QStringLiteral("Trackbar.ThumbUp"));
    TrackbarThumbDown = ReadObject(ini, reader, QStringLiteral("Trackbar.ThumbDown"));
    UpDownHorz = ReadObjectWithGlyph(ini, reader, QStringLiteral("UpDown.Horz"), QStringLiteral("GlyphImage"));
    UpDownVert = ReadObjectWithGlyph(ini, reader, QStringLiteral("UpDown.Vert"), QStringLiteral("GlyphImage"));
    Track = ReadObject(ini, reader, QStringLiteral("Track"));
    if (!Track)
        Track = LoadDefaultTrack(QStringLiteral("TRACK"));
    TrackVert = ReadObject(ini, reader, QStringLiteral("TRACKVERT"));
    if (!TrackVert)
        TrackVert = LoadDefaultTrack(QStringLiteral("TRACKVERT"));

    SetFrameCounts(ini);
    // The tool-bar gradient blends the base colour of this skin, so it is taken first.
    ComputeBaseColour();
    MakeComboImage();
    MakeComboArrow();
    MakeToolbarImage();

    SkinBrush = QBrush(ToQColor(Colours.ButtonFace));
    FLoading = false;
}

void TSkinData::ReadObjectKeys(const TQuickIni& ini, const QString& section, TDataSkinObject& obj, bool withFrame)
{
    obj.Style = ini.ReadInteger(section, QStringLiteral("Style"), 0);
    obj.LeftWidth = ReadExtent(ini, section, QStringLiteral("LeftWidth"), 0);
    obj.RightWidth = ReadExtent(ini, section, QStringLiteral("RightWidth"), 0);
    obj.TopHeight = ReadExtent(ini, section, QStringLiteral("TopHeight"), 0);
    obj.BottomHeight = ReadExtent(ini, section, QStringLiteral("BottomHeight"), 0);
    if (withFrame)
        obj.Frame = ReadFrames(ini, section, QStringLiteral("Frame"), 0, obj.Image.width());
    obj.Trans = ReadTrans(ini, section, QStringLiteral("Trans"), 0);
    obj.Tile = ReadTile(ini, section, QStringLiteral("Tile"), 0, 0);
    obj.NormalColour = ini.ReadInteger(section, QStringLiteral("NormalColour"), -1);
    obj.MouseOverColour = ini.ReadInteger(section, QStringLiteral("MouseOverColour"), -1);
    obj.PressedColour = ini.ReadInteger(section, QStringLiteral("PressedColour"), -1);
    obj.NormalColour2 = ReadColourText(ini, section, QStringLiteral("NormalColour2"), Colours.ButtonText);
    obj.MouseOverColour2 = ReadColourText(ini, section, QStringLiteral("MouseOverColour2"), Colours.ButtonText);
    obj.PressedColour2 = ReadColourText(ini, section, QStringLiteral("PressedColour2"), Colours.ButtonText);
}

std::unique_ptr<TDataSkinObject> TSkinData::ReadObject(const TQuickIni& ini, const TSkinReader& reader,
                                                       const QString& section)
{
    QImage image = ReadImage(ini, reader, section, QStringLiteral("Image"));
    if (image.isNull())
        return nullptr;
    auto obj = std::make_unique<TDataSkinObject>(section);
    obj->Image = image;
    ReadObjectKeys(ini, section, *obj, true);
    return obj;
}

std::unique_ptr<TDataSkinBorder> TSkinData::ReadObjectWithGlyph(const TQuickIni& ini, const TSkinReader& reader,
                                                                const QString& section, const QString& glyphKey)
{
    QImage image = ReadImage(ini, reader, section, QStringLiteral("Image"));
    if (image.isNull())
        return nullptr;
    auto obj = std::make_unique<TDataSkinBorder>(section);
    obj->Image = image;
    ReadObjectKeys(ini, section, *obj, false);
    obj->Image2 = ReadImage(ini, reader, section, glyphKey);
    return obj;
}

std::unique_ptr<TDataSkinObject> TSkinData::ReadBitmapObject(const TQuickIni& ini, const TSkinReader& reader,
                                                             const QString& section)
{
    QImage image = ReadImage(ini, reader, section, QStringLiteral("Bitmap"));
    if (image.isNull())
        return nullptr;
    auto obj = std::make_unique<TDataSkinObject>(section);
    obj->Image = image;
    obj->Style = ini.ReadInteger(section, QStringLiteral("Style"), 0);
    obj->LeftWidth = ReadExtent(ini, section, QStringLiteral("LeftWidth"), 0);
    obj->RightWidth = ReadExtent(ini, section, QStringLiteral("RightWidth"), 0);
    obj->TopHeight = ReadExtent(ini, section, QStringLiteral("TopHeight"), 0);
    obj->BottomHeight = ReadExtent(ini, section, QStringLiteral("BottomHeight"), 0);
    obj->Trans = ReadTrans(ini, section, QStringLiteral("Trans"), 0);
    obj->Tile = ReadTile(ini, section, QStringLiteral("Tile"), 0, 1);
    return obj;
}

std::unique_ptr<TDataSkinBoxLabel> TSkinData::ReadBoxLabel(const TQuickIni& ini, const TSkinReader& reader,
                                                           const QString& section)
{
    QImage image = ReadImage(ini, reader, section, QStringLiteral("Image"));
    if (image.isNull())
        return nullptr;
    auto obj = std::make_unique<TDataSkinBoxLabel>(section);
    obj->Image = image;
    ReadObjectKeys(ini, section, *obj, false);
    obj->BackgroundAlignment = ini.ReadInteger(section, QStringLiteral("BackgroundAlignment"), 0);
    obj->BackgroundLeftShift = ReadOffset(ini, section, QStringLiteral("BackgroundLeftShift"), 0);
    obj->BackgroundRightShift = ReadOffset(ini, section, QStringLiteral("BackgroundRightShift"), 0);
    return obj;
}

std::unique_ptr<TDataSkinObject> TSkinData::ReadMenuBar(const TQuickIni& ini, const TSkinReader& reader)
{
    QImage image = ReadImage(ini, reader, kPersonality, QStringLiteral("menuBar"));
    if (image.isNull())
        return nullptr;
    auto obj = std::make_unique<TDataSkinObject>(QStringLiteral("MenuBar"));
    obj->Image = image;
    obj->Tile = ReadTile(ini, kPersonality, QStringLiteral("TileMenu"), 1, 1);
    obj->LeftWidth = ReadExtent(ini, kPersonality, QStringLiteral("TileLeftMenu"), 1);
    obj->RightWidth = ReadExtent(ini, kPersonality, QStringLiteral("TileRightMenu"), 1);
    obj->TopHeight = 0;
    obj->BottomHeight = 0;
    return obj;
}

void TSkinData::ReadBorders(const TQuickIni& ini, const TSkinReader& reader)
{
    const std::pair<TDataSkinBorder*, bool> sides[] = {
        {Left.get(), true}, {Right.get(), true}, {Top.get(), false}, {Bottom.get(), false}};
    for (const auto& [side, upright] : sides) {
        const QString name = side->Name;
        *side = TDataSkinBorder(name);
        side->Image = ReadImage(ini, reader, kPersonality, name);
        const int first = ReadExtent(ini, kPersonality, name + QStringLiteral("TopHeight"), 0);
        const int second = ReadExtent(ini, kPersonality, name + QStringLiteral("BotHeight"), 0);
        if (upright) {
            side->TopHeight = first;
            side->BottomHeight = second;
        } else {
            side->LeftWidth = first;
            side->RightWidth = second;
        }
        // The side frames lie across the strip, the caption and bottom ones down it.
        side->Frame = ReadFrames(ini, kPersonality, name + QStringLiteral("Frame"), 1,
                                 upright ? side->Image.width() : side->Image.height());
        side->Tile = ReadTile(ini, kPersonality, name + QStringLiteral("Stretch"), 1, 1);
        side->Trans = ReadTrans(ini, kPersonality, name + QStringLiteral("Trans"), 1);
    }
}

void TSkinData::ReadColours(const TQuickIni& ini, const QStringList& sections)
{
    const QString s = QStringLiteral("Colours");
    TSkinColours& c = Colours;
    c.WindowText = ReadColourText(ini, s, QStringLiteral("WindowText"), clWindowText);
    c.ButtonFace = ReadColourText(ini, s, QStringLiteral("ButtonFace"), clBtnFace);
    c.Scrollbar = ReadColourText(ini, s, QStringLiteral("Scrollbar"), clScrollBar);
    c.HilightText = ReadColourText(ini, s, QStringLiteral("HilightText"), clHighlightText);
    c.Hilight = ReadColourText(ini, s, QStringLiteral("Hilight"), clHighlight);
    c.Menubar = ReadColourText(ini, s, QStringLiteral("Menubar"), c.ButtonFace);
    c.Menu = ReadColourText(ini, s, QStringLiteral("Menu"), clMenu);
    c.MenuText = ReadColourText(ini, s, QStringLiteral("MenuText"), clMenuText);
    c.ButtonText = ReadColourText(ini, s, QStringLiteral("ButtonText"), clBtnText);
    c.ButtonHilight = ReadColourText(ini, s, QStringLiteral("ButtonHilight"), clBtnHighlight);
    c.Buttonlight = ReadColourText(ini, s, QStringLiteral("Buttonlight"), clBtnHighlight);
    c.ButtonShadow = ReadColourText(ini, s, QStringLiteral("ButtonShadow"), clBtnShadow);
    c.ButtonDkShadow = ReadColourText(ini, s, QStringLiteral("ButtonDkShadow"), cl3DDkShadow);
    c.MenuBarText = ReadColourText(ini, s, QStringLiteral("MenuBarText"), clMenuText);
    c.TitleTextActive = ReadColourText(ini, s, QStringLiteral("TitleTextActive"), clCaptionText);
    c.TitleTextNoActive = ReadColourText(ini, s, QStringLiteral("TitleTextNoActive"), clInactiveCaptionText);

    ColourTable.clear();
    for (const QString& section : sections) {
        const QString upper = section.toUpper();
        if (upper.startsWith(QLatin1String("COLOUR")) && upper != QLatin1String("COLOURS"))
            ColourTable.push_back(ReadColourText(ini, section, QStringLiteral("color"), clWindowText));
    }
    for (int i = 0; i < 10; ++i)
        CustomColours[static_cast<size_t>(i)] =
            ReadColourText(ini, QStringLiteral("Customcolors"), QStringLiteral("Color") + QString::number(i), clWhite);
}

void TSkinData::ReadCaptionButtons(const TQuickIni& ini, const TSkinReader& reader, const QStringList& sections)
{
    CaptionButtons.clear();
    for (const QString& section : CaptionButtonSections(ini, sections)) {
        auto b = std::make_unique<TDataSkinSysButton>(section.toUpper());
        b->Action = ini.ReadInteger(section, QStringLiteral("Action"), 0);
        b->Align = ini.ReadInteger(section, QStringLiteral("Align"), 0);
        b->Xcoord = ReadOffset(ini, section, QStringLiteral("Xcoord"), 0);
        b->Ycoord = ReadOffset(ini, section, QStringLiteral("Ycoord"), 0);
        b->Visibility = ini.ReadInteger(section, QStringLiteral("Visibility"), 0);
        b->Visibility1 = ini.ReadInteger(section, QStringLiteral("Visibility1"), b->Action == -1 ? -1 : 0);
        b->CombineOp = ini.ReadInteger(section, QStringLiteral("CombineOp"), -1);
        b->Image = ReadImage(ini, reader, section, QStringLiteral("ButtonImage"));
        const int frame = ReadFrames(ini, section, QStringLiteral("frame"), 0, b->Image.width());
        if (frame == 0) {
            b->Frame = 6;
            if (!b->Image.isNull()) {
                b->Frame = static_cast<double>(b->Image.width()) / b->Image.height() <= 3.8 ? 3 : 6;
                if (b->Action < 0)
                    b->Frame = 6;
            }
            // The window icon is drawn there instead.
            if (b->Action == 3 || b->Action == 11)
                b->Image = QImage();
        } else {
            b->Frame = frame;
        }
        CaptionButtons.push_back(std::move(b));
    }

    // The minimise, restore and close buttons of a maximised MDI child.
    const QImage strip = ReadImage(ini, reader, QStringLiteral("MDICONTROLS"), QStringLiteral("Image"));
    const int c = strip.width() / 12;
    for (int i = 0; i < 3; ++i) {
        auto b = std::make_unique<TDataSkinSysButton>(QStringLiteral("MDICONTROLS"));
        b->Action = 7 + i;
        b->Align = 100;
        b->Visibility = 100;
        b->Visibility1 = 100;
        b->Frame = 4;
        b->Ycoord = 0;
        b->CombineOp = 0;
        if (!strip.isNull() && c > 0) {
            b->Image = strip.copy(4 * i * c, 0, 4 * c, strip.height());
            b->Xcoord = (3 - i) * (c + 4);
        }
        CaptionButtons.push_back(std::move(b));
    }
}

void TSkinData::ReadButtons(const TQuickIni& ini, const TSkinReader& reader)
{
    const QString s = QStringLiteral("Buttons");
    TDataSkinButton& b = *Buttons;
    b = TDataSkinButton(s);
    b.LeftWidth = ReadExtent(ini, s, QStringLiteral("LeftWidth"), 0);
    b.RightWidth = ReadExtent(ini, s, QStringLiteral("RightWidth"), 0);
    b.TopHeight = ReadExtent(ini, s, QStringLiteral("TopHeight"), 0);
    b.BottomHeight = ReadExtent(ini, s, QStringLiteral("BottomHeight"), 0);
    b.Trans = ReadTrans(ini, s, QStringLiteral("Trans"), 0);
    b.Image = ReadImage(ini, reader, s, QStringLiteral("Bitmap"));
    b.Tile = ReadTile(ini, s, QStringLiteral("Tile"), 0, 0);
    b.CheckImage = ReadImage(ini, reader, s, QStringLiteral("CheckButton"));
    b.RadioImage = ReadImage(ini, reader, s, QStringLiteral("RadioButton"));
    b.NormalColour = ini.ReadInteger(s, QStringLiteral("NormalColour"), -1);
    b.MouseOverColour = ini.ReadInteger(s, QStringLiteral("MouseOverColour"), -1);
    b.PressedColour = ini.ReadInteger(s, QStringLiteral("PressedColour"), -1);
    b.RadioButtonFrame = ReadFrames(ini, s, QStringLiteral("RadioButtonFrame"), 0, b.RadioImage.width());
    b.CheckButtonFrame = ReadFrames(ini, s, QStringLiteral("CheckButtonFrame"), 0, b.CheckImage.width());
    auto colour2 = [&](const QString& key, TColor& colour, bool& given) {
        given = !ini.ReadString(s, key, QString()).isEmpty();
        colour = ReadColourText(ini, s, key, Colours.ButtonText);
    };
    colour2(QStringLiteral("NormalColour2"), b.NormalColour2, b.NormalColour2Set);
    colour2(QStringLiteral("MouseOverColour2"), b.MouseOverColour2, b.MouseOverColour2Set);
    colour2(QStringLiteral("PressedColour2"), b.PressedColour2, b.PressedColour2Set);
}

void TSkinData::ReadTitle(const TQuickIni& ini, const TSkinReader& reader)
{
    TDataSkinTitle& t = *Title;
    t = TDataSkinTitle(QStringLiteral("Title"));
    t.Image = ReadImage(ini, reader, kPersonality, QStringLiteral("TextBack"));
    t.LeftWidth = ReadOffset(ini, kPersonality, QStringLiteral("TextShift"), 0);
    t.TopHeight = ReadOffset(ini, kPersonality, QStringLiteral("TextShiftVert"), 0);
    t.RightWidth = ReadOffset(ini, kPersonality, QStringLiteral("TextRightClip"), 0);
    t.BottomHeight = 0;
    t.TextAlignment = ini.ReadInteger(kPersonality, QStringLiteral("TextAlignment"), 0);
    t.Textbackground = ini.ReadInteger(kPersonality, QStringLiteral("Textbackground"), 0);
    t.FontHeight = std::clamp(ini.ReadInteger(QStringLiteral("Fonts"), QStringLiteral("FontHeight"), 14), -kMaxFontHeight,
                              kMaxFontHeight);
    t.TXTBackleft = ReadExtent(ini, kPersonality, QStringLiteral("TXTBackleft"), 0);
    t.TXTBackRight = ReadExtent(ini, kPersonality, QStringLiteral("TXTBackRight"), 0);
    auto readRGB = [&](const QString& prefix, TColor& colour) {
        const int r = ini.ReadInteger(kPersonality, prefix + QLatin1Char('R'), -1);
        const int g = ini.ReadInteger(kPersonality, prefix + QLatin1Char('G'), -1);
        const int b = ini.ReadInteger(kPersonality, prefix + QLatin1Char('B'), -1);
        if (r >= 0 && g >= 0 && b >= 0)
            colour = RGB(r, g, b);
    };
    readRGB(QStringLiteral("ActiveText"), t.ActiveTextColour);
    readRGB(QStringLiteral("InActiveText"), t.InactiveTextColour);
}

std::unique_ptr<TDataSkinObject> TSkinData::LoadDefaultTrack(const QString& name)
{
    auto obj = std::make_unique<TDataSkinObject>(name);
    obj->Image = SkinResourceBitmap(name);
    obj->LeftWidth = obj->TopHeight = obj->RightWidth = obj->BottomHeight = 3;
    obj->Tile = 0;
    obj->Frame = 1;
    return obj;
}

void TSkinData::SetFrameCounts(const TQuickIni& ini)
{
    auto set = [](const auto& element, int frames) {
        if (element)
            element->Frame = frames;
    };
    set(Buttons, 5);
    set(Title, 2);
    if (Progress)
        Progress->Frame = Progress->Style != 0 ? 1 : 2;
    set(MenuBar, 2);
    set(GroupBoxEdge, 2);
    set(Toolbar, 1);
    set(ToolBars, 5);
    set(Tabs, 5);
    set(TabPane, 1);
    set(StatusBarEdges, 3);
    set(GroupBox, 1);
    set(ComboButton, 4);
    set(SunkEdge, 4);
    set(ExtraImages, 5);
    if (FHeaderbarFrameRead == 0)
        set(Headerbar, 5);
    set(MenuItem, 5);
    set(MenuBackground, 1);
    set(Scrollbar, 23);
    set(HorzScroll, 4);
    set(VertScroll, 4);
    set(UpDownHorz, 8);
    set(UpDownVert, 8);
    set(TrackbarThumbHorz, 5);
    set(TrackbarThumbVert, 5);
    set(TrackbarThumbLeft, 5);
    set(TrackbarThumbRight, 5);
    set(TrackbarThumbUp, 5);
    set(TrackbarThumbDown, 5);
    auto thumbFrames = [&ini](const std::unique_ptr<TDataSkinObject>& thumb, const QString& section) {
        const int length = thumb ? std::max(thumb->Image.width(), thumb->Image.height()) : 1;
        return ReadFrames(ini, section, QStringLiteral("FrameCount"), 3, length);
    };
    set(HorzScrollThumb, thumbFrames(HorzScrollThumb, QStringLiteral("HorzScrollThumb")));
    set(VertScrollThumb, thumbFrames(VertScrollThumb, QStringLiteral("VertScrollThumb")));

    // Check and radio strips: 13-pixel glyphs in a low strip, else 16.
    auto glyphFrames = [](const QImage& image) {
        return std::max(4, image.width() / (image.height() < 16 ? 13 : 16));
    };
    if (Buttons->RadioButtonFrame == 0)
        Buttons->RadioButtonFrame = glyphFrames(Buttons->RadioImage);
    if (Buttons->CheckButtonFrame == 0)
        Buttons->CheckButtonFrame = glyphFrames(Buttons->CheckImage);
}

void TSkinData::ComputeBaseColour()
{
    const QImage& image = Top->Image;
    if (image.isNull()) {
        BaseColour = Colours.ButtonFace;
        return;
    }
    // A side without frames counts as one frame.
    const int frames = std::max(1, Top->Frame);
    BaseColour = PixelColour(image.pixel(image.width() / 3, (image.height() / frames) / 3));
}

void TSkinData::MakeComboImage()
{
    if (!SunkEdge || !ComboButton)
        return;
    const int b = GetSystemMetrics(SM_CXHSCROLL) + 2;
    const int n = std::max(1, SunkEdge->Frame);
    QImage strip(n * 50, 21, QImage::Format_RGB32);
    strip.fill(qRgb(255, 0, 255));
    {
        QPainter p(&strip);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        for (int k = 1; k <= n; ++k) {
            const int x0 = (k - 1) * 50;
            NineGridDraw(p, Bounds(x0, 0, 50, 21), SunkEdge->Image, false, SunkEdge->Tile != 0, SunkEdge->Trans == 1,
                         SunkEdge->Frame, k, MarginsOf(*SunkEdge));
            const TRect button(x0 + 50 - b, 0, x0 + 50, 21);
            NineGridDraw(p, button, ComboButton->Image, false, ComboButton->Tile != 0, true, ComboButton->Frame, k,
                         MarginsOf(*ComboButton));
            if (ExtraImages)
                DrawFrameCentered(p, button, ExtraImages->Image, true, ExtraImages->Frame, k);
            p.fillRect(QRect(x0 + 2, 2, 47 - b, 16), QColor(255, 0, 255));
        }
    }
    ComboButton->Image = strip;
    ComboButton->Style = 2;
    ComboButton->LeftWidth = 2;
    ComboButton->TopHeight = SunkEdge->TopHeight;
    ComboButton->BottomHeight = SunkEdge->BottomHeight;
    ComboButton->RightWidth = b + 2;
    QImage mirrored = strip;
    MirrorBitmap(mirrored);
    SunkEdge->Image = mirrored;
    SunkEdge->LeftWidth = b + 2;
    SunkEdge->RightWidth = 2;
}

void TSkinData::MakeComboArrow()
{
    if (!ComboxArrow)
        ComboxArrow = std::make_unique<TDataSkinObject>(QStringLiteral("ComboxArrow"));
    if (SunkEdge && ComboButton && ComboButton->Style == 2) {
        const QImage& strip = ComboButton->Image;
        const int n = std::max(1, ComboButton->Frame);
        const int w = strip.width() / n;
        QImage arrows(17 * n, 17, QImage::Format_RGB32);
        arrows.fill(qRgb(255, 0, 255));
        {
            QPainter p(&arrows);
            for (int k = 1; k <= n; ++k)
                p.drawImage(QPoint((k - 1) * 17, 0), strip, QRect(k * w - 19, 2, 17, 17));
        }
        ComboxArrow->Image = arrows;
        ComboxArrow->Frame = n;
    } else if (!SunkEdge && ComboButton) {
        QImage arrow = ComboButton->Image;
        ReplaceKeyColor(arrow, ColorToRGB(Colours.ButtonFace));
        ComboxArrow->Image = arrow;
        ComboxArrow->Frame = ComboButton->Frame;
    } else {
        // No combo pictures in this skin: none left over from the last one either.
        ComboxArrow->Image = QImage();
        ComboxArrow->Frame = 0;
    }
}

void TSkinData::MakeToolbarImage()
{
    if (!Toolbar)
        Toolbar = std::make_unique<TDataSkinObject>(QStringLiteral("Toolbar"));
    const TColor top = BlendColors(Colours.ButtonFace, clWhite, 150);
    TColor bottom = BlendColors(RGB(128, 128, 128), BaseColour, 150);
    int hue = 0;
    int saturation = 0;
    RGBToHue(BaseColour, hue, saturation);
    if (saturation > 110)
        bottom = BlendColors(BaseColour, clWhite, (225 - saturation) * 25 / 140 + 50);
    QImage image(10, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter p(&image);
        GradientFillRect(p, TRect(0, 0, 10, 40), top, true, bottom);
    }
    Toolbar->Image = image;
    Toolbar->Frame = 1;
}
