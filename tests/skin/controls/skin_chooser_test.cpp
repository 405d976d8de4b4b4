#include "skin_controls_fixture.h"

#include "classlib/controls/com_controls.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/speed_button.h"
#include "classlib/controls/std_controls.h"
#include "classlib/graphics/types.h"
#include "skin/controls/skin_bars.h"
#include "skin/controls/skin_boxes.h"
#include "skin/controls/skin_buttons.h"
#include "skin/controls/skin_combo_edit.h"
#include "skin/controls/skin_chooser.h"
#include "skin/controls/skin_tabs.h"
#include "skin/form/skin_messages.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace SkinControlsTest;

namespace {
class SkinChooserTest : public SkinControlsFixture {};

class TRtlButton : public TButton {
public:
    explicit TRtlButton(TComponent* owner) : TButton(owner) { FBiDiMode = bdRightToLeft; }
};
} // namespace

TEST_F(SkinChooserTest, FormControlsGetTheirSkinnersOnce)
{
    TForm* f = Form.get();
    auto* b = Placed(new TButton(f), "Button1", f, 10, 10, 80, 25);
    auto* plain = Placed(new TButton(f), "Button2", f, 10, 40, 80, 25);
    plain->SetTag(Data->DisableTag());
    auto* panel = Placed(new TPanel(f), "Panel1", f, 100, 10, 150, 80);
    auto* inPanel = Placed(new TButton(f), "Button3", panel, 5, 5, 60, 25);
    auto* speed = Placed(new TSpeedButton(f), "SpeedButton1", f, 10, 70, 25, 25);
    auto* status = Placed(new TStatusBar(f), "StatusBar1", f, 0, 270, 420, 20);
    auto* pc = Placed(new TPageControl(f), "PageControl1", f, 10, 100, 200, 150);
    auto* sheet = new TTabSheet(f);
    sheet->SetPageControl(pc);
    auto* gb = Placed(new TGroupBox(f), "GroupBox1", f, 220, 100, 150, 100);
    ShowForm();
    TSkinChooser chooser(SkinForm.get(), Data.get());
    chooser.SkinChildControls(f);
    EXPECT_EQ(chooser.Attached(), 8);
    // The page control's skinner adds its tab bar's two scroll arrows.
    EXPECT_EQ(SkinForm->Controls().size(), 10u);
    for (TWinControl* w : std::initializer_list<TWinControl*>{b, inPanel, status, pc, sheet, gb})
        EXPECT_EQ(SendMessage(w->Handle(), WM_SKINQUERY), 1) << w->Name().toStdString();
    EXPECT_EQ(SendMessage(plain->Handle(), WM_SKINQUERY), 0);
    EXPECT_EQ(SendMessage(panel->Handle(), WM_SKINQUERY), 0); // a panel keeps its procedure
    EXPECT_EQ(panel->Color(), Data->Colours.ButtonFace);
    EXPECT_EQ(speed->Perform(WM_SKINQUERY), 1);
    // Asked again, nothing is attached twice.
    TSkinChooser again(SkinForm.get(), Data.get());
    again.SkinChildControls(f);
    EXPECT_EQ(again.Attached(), 0);
    // Skinning off for one control gives its own look back.
    SendMessage(b->Handle(), WM_SKINENABLE, 0);
    EXPECT_NE(CornerMismatches(Grab(b->Handle()), 0, 0, *Data->Buttons, 1, Face()), 0);
}

TEST_F(SkinChooserTest, DialogButtonsAndBackground)
{
    QDialog dialog;
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(box);
    dialog.show();
    Pump();
    TSkinChooser chooser(SkinForm.get(), Data.get());
    chooser.SkinChildWindows(&dialog);
    EXPECT_EQ(chooser.Attached(), 2);
    for (QAbstractButton* b : box->buttons()) {
        EXPECT_EQ(SendMessage(b, WM_SKINQUERY), 1);
        const QImage img = Grab(b);
        EXPECT_EQ(CornerMismatches(img, 0, 0, *Data->Buttons, b == box->button(QDialogButtonBox::Ok) && b->hasFocus() ? 5 : 1,
                                   Face()),
                  0);
    }
    // The form owns bare-window skinners; they go with it.
    SkinForm.reset();
    for (QAbstractButton* b : box->buttons())
        EXPECT_EQ(SendMessage(b, WM_SKINQUERY), 0);
}

TEST_F(SkinChooserTest, ParentImageRightToLeftAndRecolour)
{
    TForm* f = Form.get();
    Form->SetColor(clLime);
    auto* b = Placed(new TButton(f), "Button1", f, 10, 10, 80, 25);
    b->SetTag(kSkinParentImageTag);
    auto* c = Placed(new TButton(f), "Button2", f, 10, 50, 80, 25);
    ShowForm();
    auto* s = new TSkinButton(b);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    auto* t = new TSkinButton(c);
    t->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    EXPECT_TRUE(s->Transparent());
    EXPECT_FALSE(t->Transparent());
    const QImage img = Grab(b->Handle());
    const QImage plain = Grab(c->Handle());
    // Where the skin's button image is keyed, the form shows through (Tag 5555), else the face colour.
    const TDataSkinButton& e = *Data->Buttons;
    if (e.Trans == 1) {
        const QImage frame = StripFrame(e, s->ButtonFrame());
        bool keyed = false;
        for (int x = 0; x < e.LeftWidth && !keyed; ++x)
            if ((frame.pixel(x, 0) & 0xFFFFFF) == 0xFF00FF) {
                keyed = true;
                EXPECT_EQ(img.pixel(x, 0) & 0xFFFFFF, ToQColor(clLime).rgb() & 0xFFFFFF);
                EXPECT_EQ(plain.pixel(x, 0) & 0xFFFFFF, Face() & 0xFFFFFF);
            }
    }
    EXPECT_EQ(CornerMismatches(img, 0, 0, e, s->ButtonFrame(), ToQColor(clLime).rgb()), 0);

    // Right-to-left reading order reaches the text call.
    EXPECT_EQ(s->RtlFlag(), 0u);
    auto* rtl = Placed(new TRtlButton(f), "Button3", f, 10, 90, 80, 25);
    auto* r = new TSkinButton(rtl);
    r->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    EXPECT_EQ(r->RtlFlag(), DT_RTLREADING);

    // A new face colour reaches the control through ApplyColor.
    Data->Colours.ButtonFace = clYellow;
    t->ApplyColor();
    EXPECT_EQ(c->Color(), clYellow);
    EXPECT_EQ(Grab(c->Handle()).pixel(c->Width() / 2, 1) & 0xFFFFFF,
              ExpectedPart(e, t->ButtonFrame(), c->Width(), c->Height(), clYellow).pixel(c->Width() / 2, 1) & 0xFFFFFF);
}

namespace {
// Controls of classes this program does not have: our classes under their names.
template <class Base>
class TNamedAs : public Base {
public:
    TNamedAs(TComponent* owner, const char* name) : Base(owner), FName(QString::fromLatin1(name)) {}
    QString ClassName() const override { return FName; }

private:
    QString FName;
};

template <class S>
S* SkinnerOf(const TWinSkinForm* form, const TControl* c)
{
    for (TComponent* k : form->Controls())
        if (auto* s = dynamic_cast<S*>(k); s && (s->Control() == c || s->GraphicControl() == c))
            return s;
    return nullptr;
}

int IndexOf(const TWinSkinForm* form, const TControl* c)
{
    const auto& list = form->Controls();
    for (size_t i = 0; i < list.size(); ++i)
        if (auto* s = dynamic_cast<TSkinControl*>(list[i]); s && s->Control() == c)
            return static_cast<int>(i);
    return -1;
}
} // namespace

TEST_F(SkinChooserTest, Skin3rdTypesDecideBeforeTheClassTests)
{
    TForm* f = Form.get();
    auto* nil = Placed(new TNamedAs<TButton>(f, "TNilButton"), "Nil1", f, 10, 10, 80, 25);
    auto* odd = Placed(new TNamedAs<TButton>(f, "TOddButton"), "Odd1", f, 10, 40, 80, 25);
    auto* asTab = Placed(new TNamedAs<TPanel>(f, "TMyTabs"), "Tabs1", f, 100, 10, 150, 80);
    auto* plainButton = Placed(new TButton(f), "Button1", f, 10, 70, 80, 25);
    auto* cont = Placed(new TNamedAs<TPanel>(f, "TBox"), "Box1", f, 100, 100, 150, 80);
    auto* inCont = Placed(new TButton(f), "Button2", cont, 5, 5, 60, 25);
    Data->SetSkin3rd({QStringLiteral("TNilButton=nil"), QStringLiteral("toddbutton=Button"),
                      QStringLiteral("TMyTabs=panel"), QStringLiteral("TBox=container")});
    TSkinControlTypes kinds = Data->SkinControls();
    kinds.Exclude(xcButton);
    Data->SetSkinControls(kinds);
    ShowForm();
    TSkinChooser chooser(SkinForm.get(), Data.get());
    chooser.SkinControl(nil);
    chooser.SkinControl(odd);
    chooser.SkinControl(plainButton);
    chooser.SkinControl(asTab);
    chooser.SkinControl(cont);
    // xcButton off: "button" falls through to the class tests, whose push-button test is gated too.
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), odd));
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), plainButton));
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), inCont));
    // A panel by type is a skinned box whatever its class.
    EXPECT_TRUE(SkinnerOf<TSkinBox>(SkinForm.get(), asTab));
    // A container has no skinner of its own.
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), cont));

    kinds.Include(xcButton);
    Data->SetSkinControls(kinds);
    chooser.SkinControl(nil);
    chooser.SkinControl(odd);
    chooser.SkinControl(cont);
    // "nil" keeps a button descendant plain; the others take a push-button skinner.
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), nil));
    EXPECT_EQ(SendMessage(nil->Handle(), WM_SKINQUERY), 0);
    EXPECT_TRUE(SkinnerOf<TSkinButton>(SkinForm.get(), odd));
    EXPECT_TRUE(SkinnerOf<TSkinButton>(SkinForm.get(), inCont));
    // Type lines match the class name and "=" only, letter case aside.
    EXPECT_EQ(SkinTypeOf(Data.get(), QStringLiteral("TODDBUTTON")), QStringLiteral("button"));
    EXPECT_EQ(SkinTypeOf(Data.get(), QStringLiteral("TOdd")), QString());
}

TEST_F(SkinChooserTest, DisabledGroupsKeepTheirButtonsPlain)
{
    TForm* f = Form.get();
    auto* radios = Placed(new TNamedAs<TGroupBox>(f, "TRadioGroup"), "RadioGroup1", f, 10, 10, 150, 100);
    radios->SetTag(Data->DisableTag());
    auto* r1 = Placed(new TButton(f), "InRadios", radios, 10, 20, 80, 25);
    auto* group = Placed(new TGroupBox(f), "GroupBox1", f, 170, 10, 150, 100);
    auto* g1 = Placed(new TButton(f), "InGroup", group, 10, 20, 80, 25);
    ShowForm();
    TSkinChooser chooser(SkinForm.get(), Data.get());
    chooser.SkinChildControls(f);
    EXPECT_EQ(r1->Tag(), Data->DisableTag());
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), radios));
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), r1));
    // A group box's children are skinned before the box itself.
    ASSERT_GE(IndexOf(SkinForm.get(), g1), 0);
    EXPECT_LT(IndexOf(SkinForm.get(), g1), IndexOf(SkinForm.get(), group));
    EXPECT_TRUE(SkinnerOf<TSkinGroupBox>(SkinForm.get(), group));
}

TEST_F(SkinChooserTest, ClassTestsRunInOrderWithTheirGates)
{
    TForm* f = Form.get();
    // Named tests come before the ones by inheritance: a panel of these names is no panel.
    auto* mvc = Placed(new TNamedAs<TPanel>(f, "TMvcPanel"), "Mvc", f, 10, 10, 60, 40);
    auto* nav = Placed(new TNamedAs<TPanel>(f, "TDBNavigator"), "Nav", f, 80, 10, 100, 40);
    auto* inNav = Placed(new TButton(f), "InNav", nav, 2, 2, 40, 20);
    auto* upDown = Placed(new TNamedAs<TWinControl>(f, "TUpDown"), "UpDown1", f, 190, 10, 17, 30);
    auto* tabSet = Placed(new TNamedAs<TWinControl>(f, "TTabSet"), "TabSet1", f, 10, 60, 150, 60);
    auto* frameLike = Placed(new TNamedAs<TPanel>(f, "TDBComboBoxEh"), "Eh", f, 220, 10, 60, 40);
    auto* pc = Placed(new TPageControl(f), "PageControl1", f, 10, 130, 150, 80);
    auto* speed = Placed(new TSpeedButton(f), "Speed1", f, 170, 130, 25, 25);
    auto* inner = new TForm(f);
    inner->SetParent(f);
    inner->SetBounds(200, 160, 120, 80);
    auto* inInner = Placed(new TButton(f), "InInner", inner, 5, 5, 60, 25);
    auto* memo = Placed(new TMemo(f), "Memo1", f, 300, 10, 100, 60);
    ShowForm();

    TSkinControlTypes kinds = Data->SkinControls();
    kinds.Exclude(xcTab);
    kinds.Exclude(xcSpeedButton);
    kinds.Exclude(xcScrollbar);
    Data->SetSkinControls(kinds);
    TSkinChooser chooser(SkinForm.get(), Data.get());
    for (TControl* c : std::initializer_list<TControl*>{mvc, nav, upDown, tabSet, frameLike, pc, speed, inner, memo})
        chooser.SkinControl(c);
    // A memo is an edit too: without scroll-bar skinning it gets the edit's border.
    EXPECT_TRUE(SkinnerOf<TSkinEdit>(SkinForm.get(), memo));
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), mvc));
    EXPECT_TRUE(SkinnerOf<TSkinBox>(SkinForm.get(), nav));
    EXPECT_TRUE(SkinnerOf<TSkinButton>(SkinForm.get(), inNav));
    EXPECT_TRUE(SkinnerOf<TSkinUpDown>(SkinForm.get(), upDown));
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), frameLike));
    // Gates off: no tab skinner, no speed-button skinner, and no later test takes them.
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), tabSet));
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), pc));
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), speed));
    // A form placed inside another is a box whose controls are skinned.
    EXPECT_TRUE(SkinnerOf<TSkinBox>(SkinForm.get(), inner));
    EXPECT_TRUE(SkinnerOf<TSkinButton>(SkinForm.get(), inInner));

    kinds.Include(xcTab);
    kinds.Include(xcSpeedButton);
    kinds.Include(xcScrollbar);
    Data->SetSkinControls(kinds);
    for (TControl* c : std::initializer_list<TControl*>{tabSet, pc, speed})
        chooser.SkinControl(c);
    // With it, the memo test comes before the edit test.
    auto* memo2 = Placed(new TMemo(f), "Memo2", f, 300, 80, 100, 60);
    chooser.SkinControl(memo2);
    EXPECT_FALSE(SkinnerOf<TSkinEdit>(SkinForm.get(), memo2));
    EXPECT_TRUE(SkinnerOf<TSkinTab31>(SkinForm.get(), tabSet));
    auto* tab = SkinnerOf<TSkinTab>(SkinForm.get(), pc);
    ASSERT_TRUE(tab);
    EXPECT_FALSE(dynamic_cast<TSkinTab31*>(tab));
    EXPECT_TRUE(SkinnerOf<TSkinSpeedButton>(SkinForm.get(), speed));
}

TEST_F(SkinChooserTest, HandedBackSkinnerEndsTheChoiceAndIsAttachedOnce)
{
    TForm* f = Form.get();
    auto* b = Placed(new TButton(f), "Button1", f, 10, 10, 80, 25);
    auto* other = Placed(new TButton(f), "Button2", f, 10, 40, 80, 25);
    ShowForm();
    TSkinBitButton* mine = nullptr;
    QStringList classes;
    Data->OnSkinControl = [&](TObject*, TSkinData*, TComponent*, TComponent* control, const QString& cls,
                              TComponent*& skinned) {
        classes << cls;
        if (control == b) {
            if (!mine)
                mine = new TSkinBitButton(b);
            skinned = mine;
        }
    };
    TSkinChooser chooser(SkinForm.get(), Data.get());
    chooser.SkinChildControls(f);
    chooser.SkinControl(b);
    EXPECT_TRUE(classes.contains(QStringLiteral("TBUTTON")));
    EXPECT_EQ(chooser.Attached(), 1);
    EXPECT_EQ(SkinnerOf<TSkinControl>(SkinForm.get(), b), mine);
    EXPECT_TRUE(mine->Attached());
    EXPECT_EQ(std::count(SkinForm->Controls().begin(), SkinForm->Controls().end(), mine), 1);
    // Handing back nothing leaves the control plain: the handler decides.
    EXPECT_FALSE(SkinnerOf<TSkinControl>(SkinForm.get(), other));
}
