// The side panel: four collapsible panels (layer commands, properties of the
// selection, background, styles), the background and style lists, the
// property links that mirror the selection's popup menu, the window's resize
// handling and the status bar's hints.

#include "designer/main/frm_main.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <initializer_list>

namespace {
constexpr int kHeaderHeight = 32;
constexpr int kPanelWidth = 200;

// Header of a side panel: a soft blue strip with a rounded top.
QImage HeaderArt()
{
    QImage img(kPanelWidth, kHeaderHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient g(0, 10, 0, kHeaderHeight);
    g.setColorAt(0, QColor(214, 228, 246));
    g.setColorAt(1, QColor(176, 200, 234));
    QPainterPath path;
    path.addRoundedRect(QRectF(4, 10.5, kPanelWidth - 8, kHeaderHeight - 10), 5, 5);
    p.fillPath(path, g);
    p.setPen(QPen(QColor(140, 166, 204), 1));
    p.drawPath(path);
    return img;
}

// A round arrow button, pointing up (roll the panel up) or down.
QImage ArrowArt(bool up)
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(110, 140, 190), 1));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(QColor(40, 70, 130), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (up) {
        p.drawPolyline(QPolygonF({QPointF(5, 9.5), QPointF(8, 6.5), QPointF(11, 9.5)}));
    } else {
        p.drawPolyline(QPolygonF({QPointF(5, 6.5), QPointF(8, 9.5), QPointF(11, 6.5)}));
    }
    return img;
}

void SetPictureImage(TImage* image, const QImage& art)
{
    image->Picture()->Bitmap()->SetImage(art);
    image->SetBounds(image->Left(), image->Top(), art.width(), art.height());
}

// Files of a folder matching a mask, as the platform lists them: letter case
// aside, sorted by name. False when the folder cannot be listed.
bool ListFiles(const QString& folder, const QString& mask, QStringList& names)
{
    const QString dir = ResolvePathCase(folder);
    QDir d(dir);
    if (!d.exists() || !d.isReadable())
        return false;
    d.setNameFilters({mask});
    d.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    d.setSorting(QDir::Name | QDir::IgnoreCase);
    names = d.entryList();
    return true;
}
} // namespace

void TFrmMain::CreateSidePanelControls()
{
    auto named = [](auto* c, const char* name, TWinControl* parent) {
        Named(c, name)->SetParent(parent);
        return c;
    };

    // Holders of the link fonts.
    auto fontHolder = [&](const char* name, TColor color, bool underline) {
        auto* l = named(new TLabel(this), name, PanelStyl);
        l->SetVisible(false);
        l->SetParentFont(false);
        l->Font()->Assign(Font());
        l->Font()->SetColor(color);
        if (underline)
            l->Font()->SetStyle(FontStyleBit(fsUnderline));
        return l;
    };
    NormalFont = fontHolder("NormalFont", clBlack, false);
    MouseFont = fontHolder("MouseFont", TColor(5197647), true);
    DisableFont = fontHolder("DisableFont", clSilver, false);

    lComboPozadi = named(new TComboBox(this), "lComboPozadi", PanelStyl);
    lComboPozadi->SetStyle(csDropDownList);
    lComboPozadi->OnChange = [this](TComponent* s) { lComboPozadiChange(s); };
    lComboStyly = named(new TComboBox(this), "lComboStyly", PanelStyl);
    lComboStyly->SetStyle(csDropDownList);
    LbtnPozadi = named(new TButton(this), "LbtnPozadi", PanelStyl);
    LbtnPozadi->SetVisible(false);
    LbtnPozadi->OnClick = [this](TComponent* s) { LbtnPozadiClick(s); };
    LbtnStyly = named(new TButton(this), "LbtnStyly", PanelStyl);
    LbtnStyly->SetVisible(false);

    // The panels' column below the layer list.
    auto* column = named(new TPanel(this), "PnlBocni", PNLR);
    column->SetBevelOuter(bvNone);
    column->SetCaption(QString());
    column->SetColor(clWhite);
    column->SetAlign(alClient);

    const QImage header = HeaderArt(), upArt = ArrowArt(true), downArt = ArrowArt(false);
    auto headerPicture = [&](const char* name) {
        auto* img = named(new TImage(this), name, column);
        SetPictureImage(img, header);
        return img;
    };
    auto title = [&](const char* name, const QString& caption) {
        auto* l = named(new TLabel(this), name, column);
        l->SetParentFont(false);
        l->Font()->Assign(Font());
        l->Font()->SetStyle(FontStyleBit(fsBold));
        l->Font()->SetColor(TColor(0x5A3C1E));
        l->SetTransparent(true);
        l->SetCaption(caption);
        l->SetLeft(12);
        return l;
    };
    auto arrow = [&](const char* name, bool up) {
        auto* img = named(new TImage(this), name, column);
        SetPictureImage(img, up ? upArt : downArt);
        img->SetTransparent(false);
        img->SetLeft(kPanelWidth - 26);
        img->SetCursor(crHandPoint);
        img->SetVisible(up);
        return img;
    };
    auto panel = [&](const char* name, int height) {
        auto* p = named(new TPanel(this), name, column);
        p->SetBevelOuter(bvNone);
        p->SetCaption(QString());
        p->SetColor(clWhite);
        p->SetBounds(4, 0, kPanelWidth - 8, height);
        return p;
    };

    TPnlVrstvy = headerPicture("TPnlVrstvy");
    TPnlVrstvy->SetTop(14);
    PP1 = title("PP1", QStringLiteral("Vrstvy"));
    PP1->SetTop(30);
    i1up = arrow("i1up", true);
    i1down = arrow("i1down", false);
    i1up->SetTop(29);
    i1down->SetTop(29);
    pnlVrstvy = panel("pnlVrstvy", 64);
    pnlVrstvy->SetTop(50);

    TPnlVlastnosti = headerPicture("TPnlVlastnosti");
    PP2 = title("PP2", QStringLiteral("Vlastnosti"));
    i2up = arrow("i2up", true);
    i2down = arrow("i2down", false);
    pnlVlastnosti = panel("pnlVlastnosti", 100);

    TPnlPozadi = headerPicture("TPnlPozadi");
    PP3 = title("PP3", QStringLiteral("Pozadí"));
    i3up = arrow("i3up", true);
    i3down = arrow("i3down", false);
    PnlPozadi = panel("PnlPozadi", 76);

    TPnlSablony = headerPicture("TPnlSablony");
    PP4 = title("PP4", QStringLiteral("Šablony"));
    i4up = arrow("i4up", true);
    i4down = arrow("i4down", false);
    PnlSablony = panel("PnlSablony", 76);

    i1up->OnClick = [this](TComponent* s) { i1upClick(s); };
    i1down->OnClick = [this](TComponent* s) { i1downClick(s); };
    i2up->OnClick = [this](TComponent* s) { i2upClick(s); };
    i2down->OnClick = [this](TComponent* s) { i2downClick(s); };
    i3up->OnClick = [this](TComponent* s) { i3upClick(s); };
    i3down->OnClick = [this](TComponent* s) { i3downClick(s); };
    i4up->OnClick = [this](TComponent* s) { i4upClick(s); };
    i4down->OnClick = [this](TComponent* s) { i4downClick(s); };

    auto link = [&](const char* name, TWinControl* parent, const QString& caption, int left, int top) {
        auto* l = named(new TLabel(this), name, parent);
        l->SetParentFont(false);
        l->SetTransparent(true);
        l->SetCaption(caption);
        l->SetHint(caption);
        l->SetBounds(left, top, l->Width(), l->Height());
        l->SetCursor(crHandPoint);
        SetLinkLook(l, NormalFont);
        l->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { LinkMouseMove(s, sh, x, y); };
        l->OnMouseLeave = [this](TComponent* s) { LinkMouseLeave(s); };
        return l;
    };
    auto icon = [&](const char* name, int index, int top, const QString& hint) {
        auto* img = named(new TImage(this), name, pnlVrstvy);
        img->SetBounds(12, top, 16, 16);
        img->Picture()->Bitmap()->SetImage(ImageListV->Image(index).convertToFormat(QImage::Format_RGB32));
        img->SetHint(hint);
        return img;
    };
    // The icons are drawn on white: render them onto it first.
    imgBryle = icon("imgBryle", 0, 8, QStringLiteral("Zobrazit/skrýt objekt"));
    imgKlic = icon("imgKlic", 1, 34, QStringLiteral("Zamkni/odemkni objekt"));
    for (TImage* img : {imgBryle, imgKlic}) {
        QImage white(16, 16, QImage::Format_RGB32);
        white.fill(Qt::white);
        QPainter p(&white);
        p.drawImage(0, 0, ImageListV->Image(img == imgBryle ? 0 : 1));
        p.end();
        img->Picture()->Bitmap()->SetImage(white);
    }
    txSkrytZobrazit = link("txSkrytZobrazit", pnlVrstvy, QStringLiteral("Zobrazit/skrýt objekt"), 34, 9);
    txSkrytZobrazit->OnClick = [this](TComponent* s) { txSkrytZobrazitClick(s); };
    TxZamkni = link("TxZamkni", pnlVrstvy, QStringLiteral("Zamkni/odemkni objekt"), 34, 35);
    TxZamkni->OnClick = [this](TComponent* s) { TxZamkniClick(s); };

    P3L1 = link("P3L1", PnlPozadi, QStringLiteral("Žádné pozadí"), 16, 4);
    P3L1->OnClick = [this](TComponent* s) { P3L1Click(s); };
    P3L2 = link("P3L2", PnlPozadi, QStringLiteral("Vložit pozadí"), 16, 21);
    P3L2->OnClick = [this](TComponent* s) { BtnPozadi2Click(s); };
    P3L3 = named(new TLabel(this), "P3L3", PnlPozadi);
    P3L3->SetTransparent(true);
    P3L3->SetCaption(QStringLiteral("Aktuální:"));
    P3L3->SetHint(P3L3->Caption());
    P3L3->SetBounds(16, 38, P3L3->Width(), P3L3->Height());
    NazevPozadi = named(new TLabel(this), "NazevPozadi", PnlPozadi);
    NazevPozadi->SetTransparent(true);
    NazevPozadi->SetParentFont(false);
    NazevPozadi->Font()->Assign(Font());
    NazevPozadi->Font()->SetStyle(FontStyleBit(fsBold));
    NazevPozadi->SetLeft(70);
    NazevPozadi->SetTop(38);
    SLblBack = link("SLblBack", PnlPozadi, QStringLiteral("Předchozí"), 16, 56);
    SLblBack->OnClick = [this](TComponent* s) { LbtnL1Click(s); };
    SLblNext = link("SLblNext", PnlPozadi, QStringLiteral("Další"), 110, 56);
    SLblNext->OnClick = [this](TComponent* s) { LbtnR1Click(s); };

    P4L1 = link("P4L1", PnlSablony, QStringLiteral("Žádná šablona"), 16, 4);
    P4L1->OnClick = [this](TComponent* s) { P4L1Click(s); };
    P4L2 = named(new TLabel(this), "P4L2", PnlSablony);
    P4L2->SetTransparent(true);
    P4L2->SetCaption(QStringLiteral("Aktuální:"));
    P4L2->SetHint(P4L2->Caption());
    P4L2->SetBounds(16, 26, P4L2->Width(), P4L2->Height());
    NazevSablony = named(new TLabel(this), "NazevSablony", PnlSablony);
    NazevSablony->SetTransparent(true);
    NazevSablony->SetParentFont(false);
    NazevSablony->Font()->Assign(Font());
    NazevSablony->Font()->SetStyle(FontStyleBit(fsBold));
    NazevSablony->SetLeft(70);
    NazevSablony->SetTop(26);
    SbLblBack = link("SbLblBack", PnlSablony, QStringLiteral("Předchozí"), 16, 52);
    SbLblNext = link("SbLblNext", PnlSablony, QStringLiteral("Další"), 110, 52);

    PanelOffset1 = PanelOffset2 = PanelOffset3 = 0;
    // Lays out the parts below the first panel from the offsets.
    auto place = [this] {
        const int o1 = PanelOffset1, o12 = o1 + PanelOffset2, o123 = o12 + PanelOffset3;
        TPnlVlastnosti->SetTop(114 + o1);
        PP2->SetTop(130 + o1);
        i2up->SetTop(129 + o1);
        i2down->SetTop(129 + o1);
        pnlVlastnosti->SetTop(150 + o1);
        TPnlPozadi->SetTop(257 + o12);
        PP3->SetTop(273 + o12);
        i3up->SetTop(272 + o12);
        i3down->SetTop(272 + o12);
        PnlPozadi->SetTop(293 + o12);
        TPnlSablony->SetTop(375 + o123);
        PP4->SetTop(391 + o123);
        i4up->SetTop(390 + o123);
        i4down->SetTop(390 + o123);
        PnlSablony->SetTop(411 + o123);
    };
    FPlaceSidePanels = place;
    place();
    // Titles and arrows above their header pictures.
    for (TControl* c : std::initializer_list<TControl*>{PP1, PP2, PP3, PP4, i1up, i1down, i2up, i2down, i3up, i3down,
                                                        i4up, i4down})
        c->BringToFront();

    OnResize = [this](TComponent* s) { FormResize(s); };
}

void TFrmMain::SetLinkLook(TLabel* link, const TLabel* look)
{
    if (link && look)
        link->Font()->Assign(look->Font());
}

// ---------------------------------------------------------------- background and style lists

void TFrmMain::MarkListEnds(TComboBox* list, TLabel* back, TLabel* next)
{
    const int i = list->ItemIndex();
    const bool first = i == 0, last = i == list->Items()->Count() - 1;
    SetLinkLook(back, first ? DisableFont : NormalFont);
    back->SetHelpContext(first ? 100 : 0);
    SetLinkLook(next, last ? DisableFont : NormalFont);
    next->SetHelpContext(last ? 100 : 0);
}

void TFrmMain::FillBackgroundList()
{
    QStringList names;
    const bool listed = ListFiles(AppDir + QStringLiteral("/Background"), QStringLiteral("*.jpg"), names);
    lComboPozadi->Items()->SetFromQStringList(names);
    lComboPozadi->Items()->Insert(0, sZadnePozadi);
    LbtnPozadi->SetCaption(sZadnePozadi);
    NazevPozadi->SetCaption(sZadnePozadi);
    lComboPozadi->SetItemIndex(0);
    if (!listed)
        Application->MessageBox(sChybaCteniPozadi, Application->Title(), MB_OK);
    // Both links take the look of the new list: the next link must not keep
    // the dead look of the last entry of the list it had before.
    MarkListEnds(lComboPozadi, SLblBack, SLblNext);
    SLblNext->SetEnabled(lComboPozadi->ItemIndex() != lComboPozadi->Items()->Count() - 1);
}

void TFrmMain::FillStyleList()
{
    QString mask;
    switch (StrToInt(GetTemplateParam(QStringLiteral("Typ")))) {
    case 1: mask = QStringLiteral("*.bck"); break;
    case 2: mask = QStringLiteral("*.bok"); break;
    case 3: mask = QStringLiteral("*.dvd"); break;
    default: mask = QStringLiteral("*.cd"); break;
    }
    QStringList names;
    const bool listed = ListFiles(AppDir + QStringLiteral("/Style"), mask, names);
    lComboStyly->Items()->SetFromQStringList(names);
    lComboStyly->Items()->Insert(0, sZadnyStyl);
    LbtnStyly->SetCaption(sZadnyStyl);
    NazevSablony->SetCaption(sZadnyStyl);
    lComboStyly->SetItemIndex(0);
    if (!listed)
        Application->MessageBox(sChybaCteniSablony, Application->Title(), MB_OK);
    MarkListEnds(lComboStyly, SbLblBack, SbLblNext);
    SbLblNext->SetEnabled(lComboStyly->ItemIndex() != lComboStyly->Items()->Count() - 1);
}

void TFrmMain::lComboPozadiChange(TComponent*)
{
    SetModified();
    const int i = lComboPozadi->ItemIndex();
    if (i < 0)
        return;
    MarkListEnds(lComboPozadi, SLblBack, SLblNext);
    const QString entry = lComboPozadi->Items()->Strings(i);
    LbtnPozadi->SetCaption(entry);
    NazevPozadi->SetCaption(entry);
    if (i == 0)
        IMGBck->Picture()->Assign(BilyImg->Picture());
    else
        IMGBck->Picture()->LoadFromFile(ResolvePathCase(AppDir + QStringLiteral("/Background/") + entry));
}

void TFrmMain::LbtnR1Click(TComponent*)
{
    const int i = lComboPozadi->ItemIndex();
    if (i >= 0 && i < lComboPozadi->Items()->Count() - 1)
        lComboPozadi->SetItemIndex(i + 1);
    lComboPozadiChange(lComboPozadi);
}

void TFrmMain::LbtnL1Click(TComponent*)
{
    const int i = lComboPozadi->ItemIndex();
    if (i > 0)
        lComboPozadi->SetItemIndex(i - 1);
    lComboPozadiChange(lComboPozadi);
}

void TFrmMain::P3L1Click(TComponent*)
{
    lComboPozadi->SetItemIndex(0);
    lComboPozadiChange(lComboPozadi);
}

void TFrmMain::LbtnPozadiClick(TComponent*) { lComboPozadi->SetDroppedDown(true); }

void TFrmMain::P4L1Click(TComponent*)
{
    lComboStyly->SetItemIndex(0);
    // Applying a style belongs to the style files; their handler sits on the list.
    if (lComboStyly->OnChange)
        lComboStyly->OnChange(lComboStyly);
}

// ---------------------------------------------------------------- collapsible panels

int* TFrmMain::PanelOffset(TPanel* panel)
{
    if (panel == pnlVrstvy)
        return &PanelOffset1;
    if (panel == pnlVlastnosti)
        return &PanelOffset2;
    if (panel == PnlPozadi)
        return &PanelOffset3;
    return nullptr; // the last panel moves nothing below it
}

void TFrmMain::CollapsePanel(TPanel* panel)
{
    int* offset = PanelOffset(panel);
    while (panel->Height() >= 1) {
        if (offset)
            *offset -= 6;
        FPlaceSidePanels();
        for (TControl* c : std::initializer_list<TControl*>{TPnlVlastnosti, pnlVlastnosti, TPnlPozadi, PnlPozadi,
                                                            TPnlSablony, PnlSablony})
            c->Repaint();
        panel->SetHeight(panel->Height() - 6);
    }
}

void TFrmMain::ExpandPanel(TPanel* panel, int height)
{
    int* offset = PanelOffset(panel);
    for (int step = 0; panel->Height() < height && step < height / 6 + 1; ++step) {
        if (offset)
            *offset += 6;
        FPlaceSidePanels();
        panel->SetHeight(panel->Height() + 6);
    }
}

void TFrmMain::SwapArrowImages(TImage* up, TImage* down)
{
    const bool upShown = up->Visible();
    up->SetVisible(!upShown);
    down->SetVisible(upShown);
}

void TFrmMain::i1upClick(TComponent*) { CollapsePanel(pnlVrstvy); SwapArrowImages(i1up, i1down); }
void TFrmMain::i1downClick(TComponent*) { ExpandPanel(pnlVrstvy, 64); SwapArrowImages(i1up, i1down); }
void TFrmMain::i2upClick(TComponent*) { CollapsePanel(pnlVlastnosti); SwapArrowImages(i2up, i2down); }
void TFrmMain::i2downClick(TComponent*) { ExpandPanel(pnlVlastnosti, 100); SwapArrowImages(i2up, i2down); }
void TFrmMain::i3upClick(TComponent*) { CollapsePanel(PnlPozadi); SwapArrowImages(i3up, i3down); }
void TFrmMain::i3downClick(TComponent*) { ExpandPanel(PnlPozadi, 76); SwapArrowImages(i3up, i3down); }
void TFrmMain::i4upClick(TComponent*) { CollapsePanel(PnlSablony); SwapArrowImages(i4up, i4down); }
void TFrmMain::i4downClick(TComponent*) { ExpandPanel(PnlSablony, 76); SwapArrowImages(i4up, i4down); }

// ---------------------------------------------------------------- property links

void TFrmMain::BuildPropertyLinks()
{
    // A link may be running its own click right now: the old ones go out of
    // sight at once and are freed once the command is over.
    for (int i = pnlVlastnosti->ControlCount() - 1; i >= 0; --i)
        if (auto* l = dynamic_cast<TLabel*>(pnlVlastnosti->Controls(i))) {
            l->SetVisible(false);
            l->SetParent(nullptr);
            FOldLinks.push_back(l);
        }
    if (!FOldLinks.empty() && !FFreeLinksQueued) {
        FFreeLinksQueued = true;
        QTimer::singleShot(0, PNLR->Handle(), [this] { FreeOldLinks(); });
    }

    const TControl* selected = SelectedObject ? SelectedObject : SizeLabel;
    TPopupMenu* menu = selected->ClassName() == QLatin1String("TShape") ? PopupMenuSHP : selected->PopupMenu();
    if (!menu)
        return;
    int j = 0;
    for (int i = 0; i < menu->Items()->Count(); ++i) {
        TMenuItem* item = menu->Items()->Items(i);
        if (item->Caption() == QLatin1String("-"))
            continue;
        auto* l = new TLabel(this);
        l->SetParent(pnlVlastnosti);
        l->SetParentFont(false);
        l->SetTransparent(true);
        l->SetCaption(item->Caption());
        // A popup's check may have left the item disabled; the link is its
        // own way to the command and does not inherit that state.
        SetLinkLook(l, NormalFont);
        l->SetHelpContext(0);
        l->SetCursor(crHandPoint);
        l->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { LinkMouseMove(s, sh, x, y); };
        l->OnMouseLeave = [this](TComponent* s) { LinkMouseLeave(s); };
        // The item's handler as it is when clicked (its area may bind it later).
        l->OnClick = [item](TComponent*) {
            if (item->OnClick)
                item->OnClick(item);
        };
        l->SetLeft(16);
        l->SetTop(11 + 21 * j);
        ++j;
    }
}

void TFrmMain::FreeOldLinks()
{
    FFreeLinksQueued = false;
    std::vector<TLabel*> old;
    old.swap(FOldLinks);
    for (TLabel* l : old)
        delete l;
}

// ---------------------------------------------------------------- window

void TFrmMain::FormResize(TComponent*)
{
    ScrollBox->SetHorzPosition(0);
    ScrollBox->SetVertPosition(0);
    const int left = std::max(ScrollBox->Width() / 2 - PNLCD->Width() / 2, 1);
    const int top = std::max(ScrollBox->Height() / 2 - PNLCD->Height() / 2, 1);
    PNLCD->SetLeft(left);
    PNLCD->SetTop(top);
    BckImg->SetLeft(left);
    BckImg->SetTop(top);
    StatusBar->SetPanelWidth(0, Width() - 250);
}

void TFrmMain::ApplicationHint(TComponent*)
{
    StatusBar->SetPanelText(0, Application ? Application->Hint() : QString());
    StatusBar->SetPanelText(1, GetTemplateParam(QStringLiteral("sNazevSablony")));
}
