#pragma once
// TSkinData: the component that holds one skin (its elements and colours read
// from a skin archive) and the switches that govern skinning.

#include "classlib/component.h"
#include "classlib/controls/image_list.h"
#include "classlib/graphics/font.h"
#include "platform/win_types.h"
#include "skin/skin_objects.h"

#include <QBrush>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QDataStream;
class QWidget;
class TQuickIni;
class TSkinReader;

enum TSkinControlType {
    xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
    xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
    xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport
};
enum TSkinOption {
    xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
    xoMDIChildBorder, xoMenuBG, xoFormScrollbar
};
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// A set of enumeration members, as the class library's sets.
template <typename E>
class TSkinSet {
public:
    constexpr TSkinSet() = default;
    constexpr TSkinSet(std::initializer_list<E> members)
    {
        for (E e : members)
            FBits |= Bit(e);
    }
    static constexpr TSkinSet FromBits(uint32_t bits)
    {
        TSkinSet s;
        s.FBits = bits;
        return s;
    }
    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr void Include(E e) { FBits |= Bit(e); }
    constexpr void Exclude(E e) { FBits &= ~Bit(e); }
    constexpr uint32_t Bits() const { return FBits; }
    friend constexpr bool operator==(const TSkinSet&, const TSkinSet&) = default;

private:
    static constexpr uint32_t Bit(E e) { return 1u << static_cast<unsigned>(e); }
    uint32_t FBits = 0;
};
using TSkinControlTypes = TSkinSet<TSkinControlType>;
using TSkinOptions = TSkinSet<TSkinOption>;

class TSkinData;
using TOnFormSkin = std::function<void(TObject* sender, const QString& aName, bool& DoSkin)>;
using TOnSkinControl = std::function<void(TObject* sender, TSkinData* SkinData, TComponent* Form,
                                          TComponent* Control, const QString& ControlClass,
                                          TComponent*& SkinnedControl)>;
using TOnSkinForm = std::function<void(TObject* sender, QWidget* ahwnd, const QString& aName)>;

// The named colours of a skin (section "Colours").
struct TSkinColours {
    TColor WindowText = clWindowText;
    TColor ButtonFace = clBtnFace;
    TColor Scrollbar = clScrollBar;
    TColor HilightText = clHighlightText;
    TColor Hilight = clHighlight;
    TColor Menubar = clBtnFace;
    TColor Menu = clMenu;
    TColor MenuText = clMenuText;
    TColor ButtonText = clBtnText;
    TColor ButtonHilight = clBtnHighlight;
    TColor Buttonlight = clBtnHighlight;
    TColor ButtonShadow = clBtnShadow;
    TColor ButtonDkShadow = cl3DDkShadow;
    TColor MenuBarText = clMenuText;
    TColor TitleTextActive = clCaptionText;
    TColor TitleTextNoActive = clInactiveCaptionText;
};

class TSkinData : public TComponent {
public:
    TV_CLASS_NAME(TSkinData)
    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    // Published properties.
    bool Active() const { return FActive; }
    void SetActive(bool value);
    int DisableTag() const { return FDisableTag; }
    void SetDisableTag(int value) { FDisableTag = value; }
    TSkinControlTypes SkinControls() const { return FSkinControls; }
    void SetSkinControls(TSkinControlTypes value) { FSkinControls = value; }
    TSkinOptions Options() const { return FOptions; }
    void SetOptions(TSkinOptions value) { FOptions = value; }
    const QStringList& Skin3rd() const { return FSkin3rd; }
    void SetSkin3rd(const QStringList& lines) { FSkin3rd = lines; }
    const QString& SkinFile() const { return FSkinFile; }
    void SetSkinFile(const QString& value);
    // "(Good)" only while a skin is held at design time; this program never designs.
    QString SkinStore() const { return QStringLiteral("(none)"); }
    void SetSkinStore(const QString&) {}
    TSkinFormType SkinFormtype() const { return FSkinFormtype; }
    void SetSkinFormtype(TSkinFormType value) { FSkinFormtype = value; }
    QString Version() const { return QStringLiteral("4.13.08.38"); }
    void SetVersion(const QString&) {}
    bool MenuUpdate() const { return FMenuUpdate; }
    void SetMenuUpdate(bool value) { FMenuUpdate = value; }
    bool MenuMerge() const { return FMenuMerge; }
    void SetMenuMerge(bool value) { FMenuMerge = value; }

    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;
    TOnSkinForm OnBeforeSkinForm;
    TOnSkinForm OnAfterSkinForm;

    // After the owner's form has been read: registers with the skin manager.
    void Loaded();
    // The "SkinStream" property: 32-bit little-endian length, then the archive.
    void ReadSkinStream(QDataStream& stream);
    // Reads the built-in skin, as the stored skin stream carries it.
    void ReadDefaultSkin();
    void WriteSkinStream(QDataStream& stream) const;
    const QByteArray& SkinStream() const { return FSkinStream; }

    bool LoadSkin();
    void ReadSkin(const TQuickIni& ini, const TSkinReader& reader);
    void SkinChanged();
    void DoSkinChanged();
    // Whether a window class is skinned; window is remembered as the last asked.
    void DoFormSkin(QWidget* window, const QString& className, bool& DoSkin);
    QWidget* LastFormSkinWindow() const { return FLastFormSkinWindow; }
    void LoadAppIcon();
    void LoadCaptionFont();

    // Keeps a skin unread until one is first needed (asked for below, or the
    // component switched on): the file, or with an empty name the built-in
    // skin. A skin given meanwhile replaces it unread.
    void HoldSkin(const QString& file);
    bool HoldsUnreadSkin() const { return FHeld != THeld::None; }

    // Set while no complete skin is held: the manager skins nothing with it.
    bool SkinLoading() const { return !SkinRead(); }
    bool SkinRead() const
    {
        ReadHeldSkin();
        return !FLoading;
    }

    // Skin elements. The fixed ones always exist; an optional one is null when
    // its section has no image.
    QString SkinName;
    std::unique_ptr<TDataSkinButton> Buttons;
    std::unique_ptr<TDataSkinBorder> Left;
    std::unique_ptr<TDataSkinBorder> Right;
    std::unique_ptr<TDataSkinBorder> Top;
    std::unique_ptr<TDataSkinBorder> Bottom;
    std::unique_ptr<TDataSkinTitle> Title;
    std::unique_ptr<TDataSkinObject> Progress;
    std::unique_ptr<TDataSkinObject> ProgressChunk;
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinObject> TabPane;
    std::unique_ptr<TDataSkinObject> ToolBars;
    std::unique_ptr<TDataSkinBorder> ComboButton;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> Scrollbar;
    std::unique_ptr<TDataSkinObject> HorzScroll;
    std::unique_ptr<TDataSkinObject> VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb;
    std::unique_ptr<TDataSkinObject> VertScrollThumb;
    std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;
    std::unique_ptr<TDataSkinObject> TrackbarThumbVert;
    std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;
    std::unique_ptr<TDataSkinObject> TrackbarThumbRight;
    std::unique_ptr<TDataSkinObject> TrackbarThumbUp;
    std::unique_ptr<TDataSkinObject> TrackbarThumbDown;
    std::unique_ptr<TDataSkinBorder> UpDownHorz;
    std::unique_ptr<TDataSkinBorder> UpDownVert;
    std::unique_ptr<TDataSkinObject> Track;
    std::unique_ptr<TDataSkinObject> TrackVert;
    // Derived elements, created by the first load.
    std::unique_ptr<TDataSkinObject> ComboxArrow;
    std::unique_ptr<TDataSkinObject> Toolbar;
    // Caption buttons in INI order, then the three of a maximised MDI child.
    std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;

    TSkinColours Colours;
    std::vector<TColor> ColourTable;
    std::array<TColor, 10> CustomColours{};
    TColor BaseColour = clBtnFace;
    QBrush SkinBrush;
    TImageList* MenuImages;  // 16 x 16 menu glyphs, owned
    TFont CaptionFont;
    QImage AppIcon;  // small icon on magenta, magenta transparent
    QImage DefaultIcon;  // the window icon the caption buttons share, once a form has one
    int MaximizedWidth = 0;
    int MaximizedHeight = 0;
    // Off only while a form's menu change passes through its own procedure.
    bool FramePainting = true;

private:
    void ReadBorders(const TQuickIni& ini, const TSkinReader& reader);
    void ReadColours(const TQuickIni& ini, const QStringList& sections);
    void ReadCaptionButtons(const TQuickIni& ini, const TSkinReader& reader, const QStringList& sections);
    void ReadButtons(const TQuickIni& ini, const TSkinReader& reader);
    void ReadTitle(const TQuickIni& ini, const TSkinReader& reader);
    std::unique_ptr<TDataSkinObject> ReadObject(const TQuickIni& ini, const TSkinReader& reader,
                                                const QString& section);
    std::unique_ptr<TDataSkinBorder> ReadObjectWithGlyph(const TQuickIni& ini, const TSkinReader& reader,
                                                         const QString& section, const QString& glyphKey);
    std::unique_ptr<TDataSkinObject> ReadBitmapObject(const TQuickIni& ini, const TSkinReader& reader,
                                                      const QString& section);
    std::unique_ptr<TDataSkinBoxLabel> ReadBoxLabel(const TQuickIni& ini, const TSkinReader& reader,
                                                    const QString& section);
    std::unique_ptr<TDataSkinObject> ReadMenuBar(const TQuickIni& ini, const TSkinReader& reader);
    // LoadSkin without the message of a refusal, which goes to failure.
    // checkUsable: a skin that is cut short or cannot serve the windows is
    // refused before it replaces the one held.
    bool LoadSkinQuietly(QString& failure, bool checkUsable);
    void ReadObjectKeys(const TQuickIni& ini, const QString& section, TDataSkinObject& obj, bool withFrame);
    std::unique_ptr<TDataSkinObject> LoadDefaultTrack(const QString& name);
    void SetFrameCounts(const TQuickIni& ini);
    void MakeComboImage();
    void MakeComboArrow();
    void MakeToolbarImage();
    void ComputeBaseColour();

    enum class THeld { None, BuiltIn, File };
    void ReadHeldSkin() const;

    mutable THeld FHeld = THeld::None;
    bool FActive = false;
    int FDisableTag = 99;
    TSkinControlTypes FSkinControls;
    TSkinOptions FOptions{xoPreview, xoToolbarBK};
    QStringList FSkin3rd;
    QString FSkinFile;
    TSkinFormType FSkinFormtype = sfMainform;
    bool FMenuUpdate = true;
    bool FMenuMerge = false;
    QByteArray FSkinStream;
    bool FLoading = true;
    int FHeaderbarFrameRead = 0;
    QWidget* FLastFormSkinWindow = nullptr;
};

// The component library classes mapped to a skin type, as "Class=Type" lines.
QStringList DefaultSkin3rd();

// Colour text: three decimal numbers (red, green, blue) split by anything else.
TColor ColourFromText(const QString& text);
// A bitmap entry of the archive, as the description names it: only ".bmp"
// names are loaded; anything else, or a missing entry, gives an empty image.
QImage LoadSkinBitmap(const TSkinReader& reader, const QString& name);
// A bitmap entry's bytes as an image; empty, with the reason in problem (when
// given), for a missing entry, a size of zero or beyond any skin, a cut one
// or one that does not decode.
QImage DecodeSkinBitmap(const QByteArray& bytes, QString* problem);
// Why a skin cannot serve as the look of the program's windows: its frame,
// caption buttons or menu bar would be blank. Empty when it can. iniName is
// the archive's description entry, empty when it has none.
QString SkinUnusableReason(const TQuickIni& ini, const TSkinReader& reader, const QString& iniName);

// The default skin built into the program and the "SkinStream" property value
// of the main window's skin component that carries it.
QByteArray DefaultSkinArchive();
QByteArray DefaultSkinStreamProperty();
// Built-in pictures of the skin engine: "TRACK", "TRACKVERT", "PELLIMOMENU".
QImage SkinResourceBitmap(const QString& name);

// Text helpers of the form and control skinners.
QString AnsiToWide(const QByteArray& text);
// A string from a character buffer; length -1 reads to the terminating zero.
QString WideCopy(const char16_t* buffer, int length);
class TCanvas;
int SkinDrawText(TCanvas* canvas, const QString& text, TRect& r, unsigned format);
