#include "skin_controls_fixture.h"

#include "classlib/controls/std_controls.h"
#include "classlib/graphics/types.h"
#include "skin/controls/skin_buttons.h"
#include "skin/controls/skin_props.h"
#include "skin/form/skin_messages.h"

#include <QPushButton>

using namespace SkinControlsTest;

namespace {
class SkinControlBase : public SkinControlsFixture {};

TButton* MakeButton(TForm* form, const QString& caption = QString())
{
    auto* b = Placed(new TButton(form), "Button1", form, 20, 20, 90, 28);
    b->SetCaption(caption);
    return b;
}
} // namespace

TEST_F(SkinControlBase, SecondAttachChangesNothing)
{
    TButton* b = MakeButton(Form.get());
    b->SetColor(clRed);
    auto* s = new TSkinButton(b);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    EXPECT_EQ(b->Color(), Data->Colours.ButtonFace);
    EXPECT_EQ(s->LifeState(), TSkinControl::lsAttached);
    ASSERT_EQ(SkinForm->Controls().size(), 1u);
    TControlRecorder below(b); // sits above the skinner now
    // A second attach must not save the skin's colour as the control's own,
    // nor wrap its procedure again.
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    EXPECT_EQ(SkinForm->Controls().size(), 1u);
    below.Forget();
    delete s;
    EXPECT_EQ(SkinForm->Controls().size(), 0u);
    EXPECT_EQ(b->Perform(WM_SKINQUERY), 0);
}

TEST_F(SkinControlBase, EnableSwitchAndQueryNeverReachTheControl)
{
    TButton* b = MakeButton(Form.get());
    ShowForm();
    TControlRecorder rec(b);
    auto* s = new TSkinButton(b);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);

    EXPECT_EQ(SendMessage(b->Handle(), WM_SKINQUERY), 1);
    EXPECT_EQ(rec.Count(WM_SKINQUERY), 0);

    // Skinned, a press stays with the skinner; switched off it goes straight through.
    SendMessage(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    EXPECT_EQ(rec.Count(WM_LBUTTONDOWN), 0);
    EXPECT_TRUE(s->MouseState() & TSkinControl::msPressed);
    SendMessage(b->Handle(), WM_LBUTTONUP, 0, MakeLParam(5, 5));

    SendMessage(b->Handle(), WM_SKINENABLE, 0);
    EXPECT_FALSE(s->SkinningOn());
    EXPECT_EQ(rec.Count(WM_SKINENABLE), 0);
    const QImage plain = Grab(b->Handle());
    SendMessage(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    SendMessage(b->Handle(), WM_LBUTTONUP, 0, MakeLParam(5, 5));
    EXPECT_EQ(rec.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(SendMessage(b->Handle(), WM_SKINQUERY), 0);
    EXPECT_NE(CornerMismatches(plain, 0, 0, *Data->Buttons, 1, Face()), 0);

    SendMessage(b->Handle(), WM_SKINENABLE, 1);
    EXPECT_TRUE(s->SkinningOn());
    const QImage skinned = Grab(b->Handle());
    EXPECT_EQ(CornerMismatches(skinned, 0, 0, *Data->Buttons, s->ButtonFrame(), Face()), 0);
}

TEST_F(SkinControlBase, NcDestroyGivesColourAndParentBackgroundBack)
{
    TButton* b = MakeButton(Form.get());
    b->SetColor(clRed);
    b->SetParentBackground(true);
    TButton* off = Placed(new TButton(Form.get()), "Button2", Form.get(), 20, 60, 90, 28);
    off->SetParentBackground(false);
    ShowForm();
    auto* s = new TSkinButton(b);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    auto* s2 = new TSkinButton(off);
    s2->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    EXPECT_FALSE(b->ParentBackground());
    EXPECT_EQ(s->CustomFlag(), 0); // the button's own flag: not a foreign button

    SendMessage(b->Handle(), WM_NCDESTROY);
    SendMessage(off->Handle(), WM_NCDESTROY);
    EXPECT_EQ(b->Color(), clRed);
    EXPECT_TRUE(b->ParentBackground());
    EXPECT_FALSE(off->ParentBackground());
    EXPECT_EQ(s->LifeState(), TSkinControl::lsDestroying);
    EXPECT_FALSE(s->SkinningOn());
    const QImage after = Grab(b->Handle());
    EXPECT_NE(CornerMismatches(after, 0, 0, *Data->Buttons, 1, Face()), 0);
}

TEST_F(SkinControlBase, ParentBackgroundOptionLeavesItAlone)
{
    TButton* b = MakeButton(Form.get());
    b->SetParentBackground(true);
    TSkinOptions o = Data->Options();
    o.Include(xoParentBackGround);
    Data->SetOptions(o);
    auto* s = new TSkinControl(b);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    EXPECT_TRUE(b->ParentBackground());
    EXPECT_EQ(s->CustomFlag(), 0);
}

TEST_F(SkinControlBase, ControlFreedFirstAndBareWindowGone)
{
    {
        TButton* b = MakeButton(Form.get());
        auto* s = new TSkinButton(b);
        s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
        delete b; // frees the skinner with it
        EXPECT_EQ(SkinForm->Controls().size(), 0u);
    }
    QWidget host;
    auto* w = new QPushButton(QStringLiteral("Ano"), &host);
    auto* bare = new TSkinButton(SkinForm.get());
    bare->InitHwnd(w, Data.get(), nullptr, SkinForm.get());
    EXPECT_EQ(bare->CaptionText(), QStringLiteral("Ano"));
    EXPECT_EQ(SendMessage(w, WM_SKINQUERY), 1);
    delete w;
    EXPECT_EQ(bare->LifeState(), TSkinControl::lsDestroying);
    delete bare;
}

TEST_F(SkinControlBase, LongTextCutWithoutUnicodeWindows)
{
    QWidget host;
    auto* w = new QPushButton(QString(1500, QChar('x')), &host);
    TSkinButton wide(nullptr);
    wide.InitHwnd(w, Data.get(), nullptr, nullptr);
    EXPECT_EQ(wide.CaptionText().size(), 1500);
    SetSkinUnicodeMode(false);
    TSkinButton narrow(nullptr);
    narrow.InitHwnd(w, Data.get(), nullptr, nullptr);
    SetSkinUnicodeMode(true);
    EXPECT_EQ(narrow.CaptionText().size(), 999);
    delete w;
}

TEST_F(SkinControlBase, PropertiesByName)
{
    TButton* b = MakeButton(Form.get(), QStringLiteral("Tisk"));
    EXPECT_EQ(GetWideStrProp(b, QStringLiteral("caption")), QStringLiteral("Tisk"));
    EXPECT_EQ(GetPropValue(b, QStringLiteral("Enabled")), QStringLiteral("True"));
    SetPropValue(b, QStringLiteral("Enabled"), QStringLiteral("false"));
    EXPECT_FALSE(b->Enabled());
    SetPropValue(b, QStringLiteral("Color"), QStringLiteral("255"));
    EXPECT_EQ(GetOrdProp(b, QStringLiteral("Color")), 255);
    SetPropValue(b, QStringLiteral("Color"), QStringLiteral("abc")); // not a number: ignored
    EXPECT_EQ(b->Color(), 255);
    EXPECT_EQ(GetOrdProp(b, QStringLiteral("NoSuch")), -1);
    EXPECT_EQ(GetOrdProp(nullptr, QStringLiteral("Color")), -1);
    EXPECT_EQ(GetOrdProp(b, QStringLiteral("Caption")), -1); // not ordinal
    EXPECT_EQ(GetObjectProp(b, QStringLiteral("Font")), b->Font());
    EXPECT_TRUE(GetPropValue(nullptr, QStringLiteral("Caption")).isEmpty());
}

TEST_F(SkinControlBase, FocusRectangleAroundCentredText)
{
    // The focus box of a centred caption sits at the horizontal centre and one
    // pixel above the vertical centre, grown by 2 and 1, clipped to the bounds.
    TButton* b = MakeButton(Form.get(), QStringLiteral("Ok"));
    TSkinButton s(b);
    s.InitControl(SkinForm.get(), Data.get(), nullptr, false);
    QImage img(100, 40, QImage::Format_RGB32);
    img.fill(Qt::black);
    QImage before = img;
    // The caption is read at paint: paint once so it is known.
    {
        QPainter p(&img);
        s.DrawControl(p, TRect(0, 0, 1, 1));
    }
    img = before;
    {
        QPainter p(&img);
        s.DrawFocusAroundText(p, *b->Font(), DT_CENTER, TRect(0, 0, 100, 40));
    }
    QRect changed;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            if (img.pixel(x, y) != before.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    ASSERT_FALSE(changed.isEmpty());
    const int cx = changed.left() + changed.width() / 2;
    EXPECT_NEAR(cx, 50, 1);
    EXPECT_LE(changed.top(), 20);
    EXPECT_LT(changed.height(), 40);
}
