// The layer list: one line per object, topmost first, with an eye and a lock
// icon; selecting, restacking by drag and drop, hiding and locking.

#include "designer/main/frm_main.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr TColor kSelectedLine = 15719879; // light blue
const QString kLinePrefix(20, QLatin1Char(' '));

// The layer icons, 16 x 16: an open eye, a padlock, a closed eye.
QImage LayerIcon(int index)
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor ink(40, 60, 90);
    switch (index) {
    case 0: { // visible: an open eye
        QPainterPath lid;
        lid.moveTo(1.5, 8);
        lid.quadTo(8, 1, 14.5, 8);
        lid.quadTo(8, 15, 1.5, 8);
        p.setPen(QPen(ink, 1.2));
        p.setBrush(Qt::white);
        p.drawPath(lid);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 120, 200));
        p.drawEllipse(QPointF(8, 8), 3, 3);
        p.setBrush(ink);
        p.drawEllipse(QPointF(8, 8), 1.3, 1.3);
        break;
    }
    case 1: { // locked: a padlock
        p.setPen(QPen(QColor(110, 110, 110), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4.5, 1.5, 7, 9), 0, 180 * 16);
        p.drawLine(QPointF(4.5, 6), QPointF(4.5, 8));
        p.drawLine(QPointF(11.5, 6), QPointF(11.5, 8));
        p.setPen(QPen(QColor(120, 80, 10), 1));
        p.setBrush(QColor(230, 180, 40));
        p.drawRoundedRect(QRectF(2.5, 7.5, 11, 7), 1.5, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 60, 10));
        p.drawEllipse(QPointF(8, 10.5), 1.2, 1.2);
        p.drawRect(QRectF(7.5, 10.5, 1, 2.5));
        break;
    }
    default: { // hidden: a closed eye with lashes
        p.setPen(QPen(QColor(130, 130, 130), 1.3));
        p.setBrush(Qt::NoBrush);
        QPainterPath lid;
        lid.moveTo(1.5, 7);
        lid.quadTo(8, 13, 14.5, 7);
        p.drawPath(lid);
        p.drawLine(QPointF(4, 10), QPointF(3, 12.5));
        p.drawLine(QPointF(8, 11), QPointF(8, 13.5));
        p.drawLine(QPointF(12, 10), QPointF(13, 12.5));
        break;
    }
    }
    return img;
}

} // namespace

// A text's caption, every other kind's hint; one line, its breaks as blanks.
QString TFrmMain::LayerName(const TControl* c)
{
    QString name = c->ClassName() == QLatin1String("TLabel") ? c->Caption() : c->Hint();
    name.replace(QLatin1String("\r\n"), QLatin1String(" "));
    name.replace(QLatin1Char('\r'), QLatin1Char(' '));
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return name;
}

void TFrmMain::CreateLayersControls()
{
    ImageListV = new TImageList(this, 16, 16);
    ImageListV->SetName(QStringLiteral("ImageListV"));
    for (int i = 0; i < 3; ++i)
        ImageListV->AddImage(LayerIcon(i));

    Vrstvy = new TListBox(this);
    Vrstvy->SetName(QStringLiteral("Vrstvy"));
    Vrstvy->SetParent(PNLR);
    Vrstvy->SetStyle(lbOwnerDrawFixed);
    Vrstvy->SetItemHeight(13);
    Vrstvy->SetBorderStyle(bsNoneBorder);
    Vrstvy->SetHeight(180);
    Vrstvy->SetAlign(alTop);
    Vrstvy->SetDragMode(dmAutomatic);
    Vrstvy->OnClick = [this](TComponent* s) { VrstvyClick(s); };
    Vrstvy->OnDragOver = [this](TComponent* s, TComponent* src, int x, int y, TDragState st, bool& a) {
        VrstvyDragOver(s, src, x, y, st, a);
    };
    Vrstvy->OnDragDrop = [this](TComponent* s, TComponent* src, int x, int y) { VrstvyDragDrop(s, src, x, y); };
    Vrstvy->OnDrawItem = [this](TComponent* c, int i, TRect r, TOwnerDrawState st) { VrstvyDrawItem(c, i, r, st); };
    Vrstvy->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { VrstvyMouseUp(s, b, sh, x, y); };

    btnZamkni = new TButton(this);
    btnZamkni->SetName(QStringLiteral("btnZamkni"));
    btnZamkni->SetParent(PanelStyl);
    btnZamkni->SetVisible(false);
    btnZamkni->OnClick = [this](TComponent* s) { btnZamkniClick(s); };
    btnZobrazeni = new TButton(this);
    btnZobrazeni->SetName(QStringLiteral("btnZobrazeni"));
    btnZobrazeni->SetParent(PanelStyl);
    btnZobrazeni->SetVisible(false);
    btnZobrazeni->OnClick = [this](TComponent* s) { btnZobrazeniClick(s); };

    ScrollBox->OnClick = [this](TComponent* s) { ScrollBoxClick(s); };
}

int TFrmMain::LayerIndexOf(int index) const
{
    const int n = Vrstvy->Items()->Count();
    if (index < 0 || index >= n)
        return 0;
    return n - 1 - index;
}

void TFrmMain::RebuildLayerList()
{
    Vrstvy->Items()->Clear();
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(Components(i));
        if (!c || !IsObject(c))
            continue;
        Vrstvy->Items()->Insert(0, kLinePrefix + LayerName(c));
        c->BringToFront();
    }
    // The marks of the selection stay above the objects they mark.
    for (TControl* c : std::initializer_list<TControl*>{RR, RL, RT, RB, PL, PR, PLB, PRB, PL1, PR1, PT1, PB1, HK, VK,
                                                        CT, CR, CB, CL, IR1, IR2, IR3, IR4})
        if (c && c->Parent() == ObjectParent)
            c->BringToFront();
    Vrstvy->SetItemIndex(-1);
    Vrstvy->Invalidate();
}

void TFrmMain::SelectObjectByIndex(int componentIndex)
{
    if (componentIndex < 0 || componentIndex >= ComponentCount())
        return;
    auto* o = dynamic_cast<TControl*>(Components(componentIndex));
    if (!o || !IsObject(o))
        return;
    SelectedObject = o;
    HideSelectionFrame();
    if (!o->Visible())
        return;
    if (o->ClassName() == QLatin1String("TCFImage")) {
        if (ShowCircleGuide)
            ShowCircleGuide(o);
    } else {
        ShowSelectionFrame(o->Left(), o->Top(), o->Width(), o->Height());
    }
}

void TFrmMain::VrstvyClick(TComponent*)
{
    if (HideTextEditor)
        HideTextEditor();
    if (Vrstvy->ItemIndex() >= 0) {
        SelectObjectByIndex(LayerIndexOf(Vrstvy->ItemIndex()));
        BuildPropertyLinks();
    }
}

void TFrmMain::VrstvyDragOver(TComponent*, TComponent* source, int, int, TDragState, bool& accept)
{
    accept = source == Vrstvy;
}

void TFrmMain::VrstvyDragDrop(TComponent*, TComponent* source, int x, int y)
{
    if (source != Vrstvy || Vrstvy->ItemIndex() < 0)
        return;
    const int t = Vrstvy->ItemAtPos(TPoint(x, y), true);
    TComponent* dragged = Components(LayerIndexOf(Vrstvy->ItemIndex()));
    dragged->SetComponentIndex(LayerIndexOf(t));
    SetModified();
    RebuildLayerList();
    Vrstvy->SetItemIndex(t);
}

void TFrmMain::VrstvyDrawItem(TComponent*, int index, TRect rect, TOwnerDrawState state)
{
    TCanvas* c = Vrstvy->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor((state & odSelected) ? kSelectedLine : clWhite);
    c->FillRect(rect);
    c->Font()->Assign(Vrstvy->Font());
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(rect.Left, rect.Top, Vrstvy->Items()->Strings(index));
    const int k = LayerIndexOf(index);
    auto* o = k < ComponentCount() ? dynamic_cast<TControl*>(Components(k)) : nullptr;
    if (!o)
        return;
    // A text hidden while it is open in the editor still counts as shown.
    const bool open = o->ClassName() == QLatin1String("TLabel") && o->Hint() == QLatin1String("1") && EditorShowing();
    const bool shown = o->Visible() || open;
    ImageListV->Draw(c, rect.Left + 8, rect.Top, shown ? 0 : 2);
    if (o->Tag() == 2)
        ImageListV->Draw(c, rect.Left + 34, rect.Top, 1);
}

void TFrmMain::VrstvyMouseUp(TComponent*, TMouseButton, TShiftState, int x, int)
{
    if (x >= 10 && x <= 20)
        btnZobrazeniClick(Vrstvy);
    else if (x >= 36 && x <= 46)
        btnZamkniClick(Vrstvy);
}

namespace {
enum TLayerToggle { ltVisible, ltLock };
}

static void ToggleLayer(TFrmMain* m, TLayerToggle what)
{
    if (m->Vrstvy->ItemIndex() < 0)
        return;
    auto* o = dynamic_cast<TControl*>(m->Components(m->LayerIndexOf(m->Vrstvy->ItemIndex())));
    if (!o || !TFrmMain::IsObject(o))
        return;
    m->SetModified();
    if (what == ltVisible)
        o->SetVisible(!o->Visible());
    else
        o->SetTag(o->Tag() != 2 ? 2 : 1);
    m->RenumberObjects();
    m->RebuildLayerList();
    m->Vrstvy->SetItemIndex(m->LayerIndexOf(o->ComponentIndex()));
    if (o->Visible() && o->Tag() == 1) {
        m->HideSelectionFrame();
        m->SelectObjectByIndex(m->LayerIndexOf(m->Vrstvy->ItemIndex()));
        m->ShowCentreLines(true);
    } else {
        m->HideSelectionFrame();
        m->ShowCentreLines(false);
    }
}

void TFrmMain::btnZobrazeniClick(TComponent*) { ToggleLayer(this, ltVisible); }

void TFrmMain::btnZamkniClick(TComponent*) { ToggleLayer(this, ltLock); }

void TFrmMain::txSkrytZobrazitClick(TComponent*) { btnZobrazeniClick(this); }

void TFrmMain::TxZamkniClick(TComponent*) { btnZamkniClick(this); }

void TFrmMain::ScrollBoxClick(TComponent* sender)
{
    // Beside the surface as on it: the selection goes with its frame, so the
    // side panel no longer offers the commands of an object shown unselected.
    VK1TClick(sender);
}

void TFrmMain::LinkMouseMove(TComponent* sender, TShiftState, int, int)
{
    auto* link = dynamic_cast<TLabel*>(sender);
    if (link && link->HelpContext() != 100)
        SetLinkLook(link, MouseFont);
}

void TFrmMain::LinkMouseLeave(TComponent* sender)
{
    auto* link = dynamic_cast<TLabel*>(sender);
    if (link && link->HelpContext() != 100)
        SetLinkLook(link, NormalFont);
}
