#include "skin/controls/skin_chooser.h"

#include "classlib/controls/com_controls.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/file_ctrls.h"
#include "classlib/controls/list_view.h"
#include "classlib/controls/speed_button.h"
#include "classlib/controls/spin_edit.h"
#include "classlib/controls/std_controls.h"
#include "classlib/controls/string_grid.h"
#include "classlib/forms/form.h"
#include "classlib/pictures/picture.h"
#include "platform/window_info.h"
#include "skin/controls/skin_bars.h"
#include "skin/controls/skin_boxes.h"
#include "skin/controls/skin_buttons.h"
#include "skin/controls/skin_checks.h"
#include "skin/controls/skin_combo_edit.h"
#include "skin/controls/skin_datetime.h"
#include "skin/controls/skin_obj_image.h"
#include "skin/controls/skin_props.h"
#include "skin/controls/skin_scroll.h"
#include "skin/controls/skin_tabs.h"
#include "skin/controls/skin_toolbar.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_messages.h"
#include "skin/skin_data.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

namespace {
bool Is(const QString& upper, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return upper == QLatin1String(n); });
}

template <class T>
bool IsA(const TControl* c)
{
    return dynamic_cast<const T*>(c) != nullptr;
}

TSkinControl* NewCheckBox(TComponent* owner) { return new TSkinCheckBox(owner); }
TSkinControl* NewRadioButton(TComponent* owner) { return new TSkinRadioButton(owner); }
TSkinControl* NewComBox(TComponent* owner) { return new TSkinComBox(owner); }
TSkinControl* NewEdit(TComponent* owner) { return new TSkinEdit(owner); }
TSkinControl* NewScrollbar(TComponent* owner) { return new TSkinScrollbar(owner); }
TSkinControl* NewListView(TComponent* owner) { return new TSkinListView(owner); }
TSkinControl* NewScControl(TComponent* owner)
{
    auto* s = new TSkinScControl(owner);
    s->Embedded = true;
    return s;
}
// Skinners for control families this program does not have.
TSkinControl* NewObjImage(TComponent* owner) { return new TSkinObjImage(owner); }
TSkinControl* NewDateTime(TComponent* owner) { return new TSkinDateTime(owner); }
TSkinControl* NewMediaPlayer(TComponent*) { return nullptr; }

// Windowed controls in tab order, each parent's children after it.
void CollectTabOrder(TWinControl* parent, std::vector<TWinControl*>& out)
{
    std::vector<TWinControl*> children;
    for (int i = 0; i < parent->ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(parent->Controls(i)))
            children.push_back(w);
    std::stable_sort(children.begin(), children.end(),
                     [](TWinControl* a, TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (TWinControl* w : children) {
        out.push_back(w);
        CollectTabOrder(w, out);
    }
}

bool AnswersSkinQuery(TControl* c)
{
    if (auto* w = dynamic_cast<TWinControl*>(c))
        return w->HandleAllocated() && SendMessage(w->Handle(), WM_SKINQUERY) == 1;
    return c->Perform(WM_SKINQUERY) == 1;
}

// A scrolling control of the class tests: scroll-bar styles or one of the list kinds.
bool Scrolling(TControl* c)
{
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w)
        return false;
    if (IsA<TListBox>(c) || IsA<TMemo>(c) || IsA<TShellTreeView>(c) || IsA<TScrollBox>(c))
        return true;
    const auto style = static_cast<uint32_t>(GetWindowLong(w->Handle(), GWL_STYLE));
    return (style & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

// Window rectangle and client rectangle differ in size: the control has a border.
bool HasBorder(TControl* c)
{
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w)
        return false;
    TRect wr, cr;
    GetWindowRect(w->Handle(), wr);
    GetClientRect(w->Handle(), cr);
    return wr.Width() != cr.Width() || wr.Height() != cr.Height();
}

// Widgets whose children belong to them (a scroll area's viewport and bars,
// a combo box's edit): the chooser does not look inside.
bool OpaqueWindow(HWND w)
{
    return qobject_cast<QAbstractScrollArea*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w);
}
} // namespace

QString SkinTypeOf(const TSkinData* data, const QString& className)
{
    const QString key = className.toLower() + QLatin1Char('=');
    for (const QString& line : data->Skin3rd())
        if (line.toLower().startsWith(key))
            return line.mid(key.size()).left(50).trimmed().toLower();
    return {};
}

TSkinChooser::TSkinChooser(TWinSkinForm* form, TSkinData* skinData) : FForm(form), FData(skinData) {}

bool TSkinChooser::Served(const TControl* control) const
{
    for (TComponent* c : FForm->Controls())
        if (auto* s = dynamic_cast<TSkinControl*>(c); s && (s->Control() == control || s->GraphicControl() == control))
            return true;
    return false;
}

bool TSkinChooser::ServedWindow(HWND window) const
{
    for (TComponent* c : FForm->Controls())
        if (auto* s = dynamic_cast<TSkinControl*>(c); s && s->Hwnd() == window)
            return true;
    return false;
}

bool TSkinChooser::AttachToControl(TSkinControl* s, bool setColor)
{
    if (!s)
        return false;
    if (auto* sb = dynamic_cast<TSkinSpeedButton*>(s))
        sb->InitSpeedButton(FForm, FData, nullptr);
    else if (auto* sc = dynamic_cast<TSkinScrollbar*>(s))
        sc->InitScroll(dynamic_cast<TControl*>(s->Owner()), FData, FForm, nullptr);
    else
        s->InitControl(FForm, FData, nullptr, setColor);
    if (!s->Attached()) {
        delete s;
        return false;
    }
    ++FAttached;
    return true;
}

bool TSkinChooser::Choose(TSkinControl* s)
{
    AttachToControl(s);
    return true;
}

bool TSkinChooser::AttachToWindow(TSkinControl* s, HWND window)
{
    if (!s)
        return false;
    s->InitHwnd(window, FData, nullptr, FForm);
    if (!s->Attached()) {
        delete s;
        return false;
    }
    ++FAttached;
    return true;
}

void TSkinChooser::SkinChildControls(TCustomForm* form)
{
    if (!form || !FData)
        return;
    // Skinners already on their way out leave the list.
    const std::vector<TComponent*> skinners = FForm->Controls();
    for (TComponent* c : skinners)
        if (auto* s = dynamic_cast<TSkinControl*>(c); s && s->LifeState() == TSkinControl::lsDestroying)
            FForm->RemoveControl(s);
    // A control skinned here may create components; the list is taken first.
    std::vector<TControl*> controls;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* c = dynamic_cast<TControl*>(form->Components(i)))
            controls.push_back(c);
    for (TControl* c : controls)
        SkinControl(c);
    // Popup menus made since the form was skinned are drawn in the skin too.
    if (FData->SkinControls().Contains(xcPopupMenu))
        FForm->MakeMenusOwnerDraw(true);
    std::vector<TWinControl*> ordered;
    CollectTabOrder(form, ordered);
    for (TWinControl* w : ordered) {
        if (!w->HandleAllocated() || w->Tag() == FData->DisableTag() || AnswersSkinQuery(w))
            continue;
        SkinControl(w);
    }
}

void TSkinChooser::SkinChildren(TControl* control)
{
    auto* parent = dynamic_cast<TWinControl*>(control);
    if (!parent)
        return;
    std::vector<TControl*> children;
    for (int i = 0; i < parent->ControlCount(); ++i)
        children.push_back(parent->Controls(i));
    for (TControl* c : children)
        SkinControl(c);
}

void TSkinChooser::SkinControl(TControl* control)
{
    if (!control || !FData)
        return;
    const QString className = control->ClassName();
    const QString lower = className.toLower();
    if (control->Tag() == FData->DisableTag()) {
        // The buttons of a group kept plain stay plain too.
        if (lower.contains(QLatin1String("radiogroup")) || lower.contains(QLatin1String("checkgroup")))
            if (auto* group = dynamic_cast<TWinControl*>(control))
                for (int i = 0; i < group->ControlCount(); ++i)
                    group->Controls(i)->SetTag(FData->DisableTag());
        return;
    }
    if (!control->Parent() || Served(control) || AnswersSkinQuery(control))
        return;
    if (auto* w = dynamic_cast<TWinControl*>(control))
        w->Handle();
    const QString upper = className.toUpper();
    if (FData->OnSkinControl) {
        TComponent* handed = nullptr;
        FData->OnSkinControl(FData, FData, FForm->Form(), control, upper, handed);
        auto* s = dynamic_cast<TSkinControl*>(handed);
        const std::vector<TComponent*>& list = FForm->Controls();
        if (s && std::find(list.begin(), list.end(), s) == list.end()) {
            FForm->AddControl(s);
            if (auto* sb = dynamic_cast<TSkinSpeedButton*>(s))
                sb->InitSpeedButton(FForm, FData, nullptr);
            else if (auto* sc = dynamic_cast<TSkinScrollbar*>(s))
                sc->InitScroll(control, FData, FForm, nullptr);
            else
                s->InitControl(FForm, FData, nullptr, s->ColorSet());
            if (s->Attached())
                ++FAttached;
            if (IsA<TPanel>(control))
                SkinChildren(control);
        }
        return;
    }
    if (SkinControlByType(className, control))
        return;
    if (Is(upper, {"TDBCOMBOBOXEH", "TFRDESIGNERPAGE", "TFRPBOX"}))
        return;
    ClassTests(control, upper);
}

bool TSkinChooser::ClassTests(TControl* c, const QString& upper)
{
    const TSkinControlTypes kinds = FData->SkinControls();
    const bool tabs = kinds.Contains(xcTab) && HasSkinImage(FData->Tabs.get());
    // 1: tab and page controls; a page control in button style gets button tabs.
    if (auto* pc = dynamic_cast<TPageControl*>(c); pc && tabs) {
        const QString style = GetPropValue(pc, QStringLiteral("Style"));
        if (!style.isEmpty() && style.compare(QLatin1String("tsTabs"), Qt::CaseInsensitive) != 0)
            return Choose(new TSkinTabBtn(c));
        return Choose(new TSkinTab(c));
    }
    // 2: tool buttons have no skinner; their drop-down menus come with the menu skinning.
    if (IsA<TToolButton>(c) && FForm->FrameSkinned())
        return true;
    // 3: cool bars: their bands take the face colour.
    if (upper == QLatin1String("TCOOLBAR") && kinds.Contains(xcToolbar)) {
        SkinChildren(c);
        return true;
    }
    if (upper == QLatin1String("TTABSET") && tabs)
        return Choose(new TSkinTab31(c));
    if (IsA<TTabSheet>(c) && tabs)
        return Choose(new TSkinTabSheet(c));
    if (upper == QLatin1String("TTABBEDNOTEBOOK") && tabs)
        return Choose(new TSkinTab(c));
    if (upper == QLatin1String("TMVCPANEL"))
        return true;
    if (IsA<TCheckBox>(c) && kinds.Contains(xcCheckBox))
        return Choose(NewCheckBox(c));
    if (Is(upper, {"TUPDOWN", "TSPINBUTTON"}) && kinds.Contains(xcSpin))
        return Choose(new TSkinUpDown(c));
    if (upper == QLatin1String("TMEDIAPLAYER") && kinds.Contains(xcButton))
        return Choose(NewMediaPlayer(c));
    if (upper == QLatin1String("TDBNAVIGATOR") && kinds.Contains(xcPanel)) {
        AttachToControl(new TSkinBox(c));
        SkinChildren(c);
        return true;
    }
    if (Is(upper, {"TRZDBCHECKBOX", "TRZCHECKBOX"}) && kinds.Contains(xcCheckBox))
        return Choose(NewObjImage(c));
    if (Is(upper, {"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}) && kinds.Contains(xcRadioButton))
        return Choose(NewObjImage(c));
    if (Is(upper, {"TCXDBCHECKBOX", "TCXCHECKBOX"}) && kinds.Contains(xcCheckBox))
        return Choose(NewObjImage(c));
    if (IsA<TGroupBox>(c) && kinds.Contains(xcPanel)) {
        SkinChildren(c);
        return Choose(new TSkinGroupBox(c));
    }
    if (IsA<TRadioButton>(c) && kinds.Contains(xcRadioButton))
        return Choose(NewRadioButton(c));
    if (auto* tb = dynamic_cast<TToolBar*>(c); tb && kinds.Contains(xcToolbar)) {
        SetPropValue(tb, QStringLiteral("Flat"), QStringLiteral("True"));
        return Choose(new TSkinToolBar(c));
    }
    if (IsA<TStatusBar>(c) && kinds.Contains(xcStatusBar))
        return Choose(new TSkinStatusBar(c));
    if ((upper == QLatin1String("TTNTCOMBOBOX") || IsA<TComboBox>(c)) && kinds.Contains(xcCombo))
        return Choose(NewComBox(c));
    if (Is(upper, {"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"}) && kinds.Contains(xcScrollbar))
        return Choose(NewScrollbar(c));
    if (IsA<TSpeedButton>(c) && kinds.Contains(xcSpeedButton))
        return Choose(new TSkinSpeedButton(c));
    if (IsA<TPanel>(c) && kinds.Contains(xcPanel)) {
        SkinChildren(c);
        return Choose(new TSkinBox(c));
    }
    if (Is(upper, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}) && kinds.Contains(xcScrollbar))
        return Choose(NewScrollbar(c));
    if (IsA<TCustomListView>(c) && kinds.Contains(xcScrollbar))
        return Choose(NewListView(c));
    if ((IsA<TMemo>(c) || IsA<TCustomGrid>(c) || Scrolling(c)) && kinds.Contains(xcScrollbar))
        return Choose(NewScrollbar(c));
    if (IsA<TButton>(c) && kinds.Contains(xcButton))
        return Choose(new TSkinButton(c));
    // Memos and spin edits are edits too.
    if ((IsA<TEdit>(c) || IsA<TMemo>(c) || IsA<TSpinEdit>(c)) && kinds.Contains(xcEdit))
        return Choose(NewEdit(c));
    if (Is(upper, {"TDCEDIT", "TDCDBEDIT"})) {
        const int64_t buttons = GetOrdProp(c, QStringLiteral("NumButtons"));
        if (buttons == 1 && kinds.Contains(xcCombo))
            return Choose(NewComBox(c));
        if (buttons == 0 && kinds.Contains(xcEdit))
            return Choose(NewEdit(c));
    }
    if (auto* inner = dynamic_cast<TCustomForm*>(c); inner && inner->Parent()) {
        AttachToControl(new TSkinBox(c));
        SkinChildren(c);
        return true;
    }
    return false;
}

bool TSkinChooser::SkinControlByType(const QString& className, TControl* c)
{
    const QString type = SkinTypeOf(FData, className);
    if (type.isEmpty())
        return false;
    const TSkinControlTypes kinds = FData->SkinControls();
    const bool windowed = !c->IsGraphic();
    if (type == QLatin1String("nil"))
        return true;
    if (type == QLatin1String("combobox") && kinds.Contains(xcCombo))
        return Choose(NewComBox(c));
    if (type == QLatin1String("edit") && kinds.Contains(xcEdit)) {
        if (HasBorder(c))
            AttachToControl(NewEdit(c));
        return true;
    }
    if (type == QLatin1String("radiobutton") && kinds.Contains(xcRadioButton))
        return Choose(NewRadioButton(c));
    if (type == QLatin1String("panel") && kinds.Contains(xcPanel)) {
        SetPropValue(c, QStringLiteral("Transparent"), QStringLiteral("True"));
        return Choose(new TSkinBox(c));
    }
    if (type == QLatin1String("trackbar") && kinds.Contains(xcButton)) {
        SetPropValue(c, QStringLiteral("Transparent"), QStringLiteral("True"));
        return Choose(new TSkinTrackBar(c));
    }
    if (type == QLatin1String("button") && kinds.Contains(xcButton) && windowed)
        return Choose(new TSkinButton(c));
    if (type == QLatin1String("datetimepicker") && kinds.Contains(xcCombo))
        return Choose(NewDateTime(c));
    if (type == QLatin1String("mediaplayer") && kinds.Contains(xcButton))
        return Choose(NewMediaPlayer(c));
    if (type == QLatin1String("bitbtn") && kinds.Contains(xcButton) && windowed) {
        const bool dropDown = className.toLower() == QLatin1String("tcxbutton") &&
                              GetPropValue(c, QStringLiteral("Kind")) == QLatin1String("cxbkDropDownButton");
        if (dropDown)
            return Choose(new TSkinMenuButton(c));
        return Choose(new TSkinBitButton(c));
    }
    if (type == QLatin1String("pngbitbtn") && kinds.Contains(xcButton) && windowed) {
        auto* s = new TSkinBitButton(c);
        s->PropertyName = QStringLiteral("PngImage");
        return Choose(s);
    }
    if (type == QLatin1String("menubtn") && kinds.Contains(xcButton) && windowed)
        return Choose(new TSkinMenuButton(c));
    if (type == QLatin1String("speedbutton") && kinds.Contains(xcSpeedButton) && !windowed)
        return Choose(new TSkinSpeedButton(c));
    if (type == QLatin1String("tab") && kinds.Contains(xcTab))
        return Choose(new TSkinTab(c));
    if (type == QLatin1String("progress") && kinds.Contains(xcProgress))
        return Choose(new TSkinProgress(c));
    if (type == QLatin1String("scrollbar") && kinds.Contains(xcScrollbar)) {
        AttachToControl(NewScrollbar(c));
        SkinChildren(c);
        return true;
    }
    if (type == QLatin1String("singlescrollbar") && kinds.Contains(xcScrollbar))
        return Choose(NewScrollbar(c));
    if (type == QLatin1String("embedscrollbar") && kinds.Contains(xcScrollbar)) {
        AttachToControl(NewScControl(c));
        if (Scrolling(c))
            AttachToControl(NewScrollbar(c));
        return true;
    }
    if (type == QLatin1String("container")) {
        SkinChildren(c);
        return true;
    }
    if (type == QLatin1String("groupbox") && kinds.Contains(xcGroupBox))
        return Choose(new TSkinGroupBox(c));
    if (type == QLatin1String("advpagecontrol") && kinds.Contains(xcTab))
        return Choose(new TSkinAdvPage(c));
    if ((type == QLatin1String("radiogroup") && kinds.Contains(xcGroupBox)) ||
        (type == QLatin1String("checkgroup") && kinds.Contains(xcPanel))) {
        const bool radio = type == QLatin1String("radiogroup");
        if (kinds.Contains(xcRadioButton))
            if (auto* group = dynamic_cast<TWinControl*>(c))
                for (int i = 0; i < group->ControlCount(); ++i) {
                    TControl* child = group->Controls(i);
                    if (Served(child))
                        continue;
                    if (child->ClassName().startsWith(QLatin1String("TRZ"), Qt::CaseInsensitive))
                        AttachToControl(NewObjImage(child));
                    else
                        AttachToControl(radio ? NewRadioButton(child) : NewCheckBox(child));
                }
        if (radio || kinds.Contains(xcGroupBox))
            AttachToControl(new TSkinGroupBox(c));
        return true;
    }
    if (type == QLatin1String("checkbox") && kinds.Contains(xcCheckBox))
        return Choose(NewCheckBox(c));
    return false;
}

void TSkinChooser::SkinChildWindows(HWND window)
{
    if (!window || !FData)
        return;
    for (HWND child = GetTopWindow(window); child; child = GetWindow(child, GW_HWNDNEXT))
        if (static_cast<uint32_t>(GetWindowLong(child, GWL_STYLE)) & WS_CHILD)
            SkinChildWindowByClass(child);
}

void TSkinChooser::SkinChildWindowByClass(HWND w)
{
    if (!w || ServedWindow(w))
        return;
    const QString cls = GetClassName(w).toLower();
    const auto style = static_cast<uint32_t>(GetWindowLong(w, GWL_STYLE));
    TComponent* owner = FForm;
    auto face = [&] {
        if (TWinControl* control = FindControl(w); control && control->Handle() == w)
            control->SetColor(FData->Colours.ButtonFace);
    };
    if (cls == QLatin1String("button")) {
        if ((style & 0xB) == 0xB || (style & 7) == 7 || (style & 0x80)) {
            // A group box holds its buttons as children here, where the
            // platform has them beside it.
            SkinChildWindows(w);
            return;
        }
        if ((style & 3) == 3 || (style & 2) == 2 || (style & 5) == 5)
            AttachToWindow(NewCheckBox(owner), w);
        else if ((style & 9) == 9 || (style & 4) == 4)
            AttachToWindow(NewRadioButton(owner), w);
        else
            AttachToWindow(new TSkinButton(owner), w);
    } else if (cls == QLatin1String("combobox")) {
        if ((style & 3) != CBS_SIMPLE)
            AttachToWindow(NewComBox(owner), w);
    } else if (cls == QLatin1String("comboboxex32")) {
        if (GetTopWindow(w))
            AttachToWindow(NewComBox(owner), w);
    } else if (cls == QLatin1String("scrollbar")) {
        if (!(style & 0x10000))
            AttachToWindow(new TSkinSizer(owner), w);
    } else if (cls == QLatin1String("systreeview32") || cls == QLatin1String("toolbarwindow32")) {
        // Kept as they are.
    } else if (cls == QLatin1String("#32770")) {
        if (!(style & 0x10000)) {
            SkinChildWindows(w);
            AttachToWindow(new TSkinBoxH(owner), w);
        }
    } else if (cls == QLatin1String("tpanel") || cls == QLatin1String("ttntpanel.unicodeclass") ||
               cls == QLatin1String("ttntsilentpaintpanel.unicodeclass")) {
        SkinChildWindows(w);
        face();
    } else if (cls == QLatin1String("tcheckbox")) {
        AttachToWindow(NewCheckBox(owner), w);
    } else if (cls == QLatin1String("tcombobox")) {
        AttachToWindow(NewComBox(owner), w);
    } else if (cls == QLatin1String("tbutton")) {
        AttachToWindow(new TSkinButton(owner), w);
    } else if (cls == QLatin1String("tprogressbar")) {
        AttachToWindow(new TSkinProgress(owner), w);
    } else if (cls == QLatin1String("tsilentpaintpanel")) {
        face();
    } else if (cls == QLatin1String("systabcontrol32")) {
        if (!(style & 0x2000))
            AttachToWindow(new TSkinTab(owner), w);
        // A tab widget holds its pages, which the platform has beside it; its
        // tab bar is part of it.
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (HWND child : ChildWindows(w))
                if (child != tabs->tabBar())
                    SkinChildWindowByClass(child);
    } else if (cls == QLatin1String("edit")) {
        AttachToWindow(NewEdit(owner), w);
    } else if (!OpaqueWindow(w)) {
        // The layout containers of a Qt dialog (frames, splitters, button
        // boxes) hold what the platform lays out as the dialog's own children.
        SkinChildWindows(w);
    }
}
