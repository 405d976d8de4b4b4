#include "skin_controls_fixture.h"

#include "classlib/controls/com_controls.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/speed_button.h"
#include "classlib/controls/std_controls.h"
#include "classlib/graphics/types.h"
#include "skin/controls/skin_buttons.h"
#include "skin/controls/skin_chooser.h"
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
    EXPECT_EQ(SkinForm->Controls().size(), 8u);
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
