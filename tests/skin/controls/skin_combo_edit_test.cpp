#include "skin_controls_fixture.h"

#include "classlib/controls/spin_edit.h"
#include "classlib/controls/std_controls.h"
#include "classlib/graphics/types.h"
#include "platform/system_metrics.h"
#include "platform/window_info.h"
#include "skin/controls/skin_bars.h"
#include "skin/controls/skin_combo_edit.h"
#include "skin/controls/skin_scroll.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QLineEdit>

using namespace SkinControlsTest;

namespace {
class SkinComboEdit : public SkinControlsFixture {
protected:
    TComboBox* Combo(const char* name, int top)
    {
        auto* c = Placed(new TComboBox(Form.get()), name, Form.get(), 10, top, 160, 22);
        c->SetStyle(csDropDownList);
        c->Items()->Add(QStringLiteral("Jedna"));
        c->Items()->Add(QStringLiteral("Dvě"));
        c->SetItemIndex(0);
        return c;
    }
    template <class S>
    S* Skin(TControl* c)
    {
        auto* s = new S(c);
        s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
        Pump();
        return s;
    }
    // Pixels of a nine-grid frame of image over r that are not the magenta key
    // and differ from what was painted.
    static int NineGridMismatches(const QImage& painted, const TRect& r, const TDataSkinObject& e, int frame)
    {
        const QImage want = NineGridBitmap(r, e.Image, TSkinMargins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight},
                                           false, e.Tile != 0, std::max(1, e.Frame), frame);
        int bad = 0;
        for (int y = 0; y < want.height(); ++y)
            for (int x = 0; x < want.width(); ++x) {
                const QRgb c = want.pixel(x, y) & 0xFFFFFF;
                if (c != 0xFF00FF)
                    bad += (painted.pixel(r.Left + x, r.Top + y) & 0xFFFFFF) != c;
            }
        return bad;
    }
    // The stretched frame of a strip at r, magenta left out.
    static int StretchedMismatches(const QImage& painted, const TRect& r, const QImage& strip, int frames, int frame)
    {
        QImage want(r.Width(), r.Height(), QImage::Format_RGB32);
        want.fill(QColor(255, 0, 255));
        {
            QPainter p(&want);
            DrawFrameStretched(p, TRect(0, 0, r.Width(), r.Height()), strip, false, frames, frame);
        }
        int bad = 0;
        for (int y = 0; y < want.height(); ++y)
            for (int x = 0; x < want.width(); ++x) {
                const QRgb c = want.pixel(x, y) & 0xFFFFFF;
                if (c != 0xFF00FF)
                    bad += (painted.pixel(r.Left + x, r.Top + y) & 0xFFFFFF) != c;
            }
        return bad;
    }
};
} // namespace

TEST_F(SkinComboEdit, ComboFramesByStateFromTheSkin)
{
    const TDataSkinBorder* e = Data->ComboButton.get();
    ASSERT_TRUE(HasSkinImage(e));
    TComboBox* c = Combo("ComboBox1", 10);
    TComboBox* other = Combo("ComboBox2", 50);
    ShowForm();
    auto* s = Skin<TSkinComBox>(c);
    HWND w = c->Handle();
    const TRect all(0, 0, w->width(), w->height());
    other->SetFocus();
    Pump();
    auto look = [&](const char* what, int frame) {
        Pump();
        EXPECT_EQ(s->ButtonFrame(), frame) << what;
        const QImage painted = Grab(w);
        if (e->Style == 2)
            EXPECT_EQ(NineGridMismatches(painted, all, *e, frame), 0) << what;
        else
            EXPECT_EQ(StretchedMismatches(painted, s->ButtonRect(), e->Image, e->Frame, frame), 0) << what;
    };
    look("normal", 1);
    const TRect b = s->ButtonRect();
    ASSERT_FALSE(b.IsEmpty());
    SendMessage(w, WM_MOUSEMOVE, 0, MakeLParam(b.Left + 2, b.Top + 2));
    look("hover on the button", 4);
    SendMessage(w, WM_MOUSEMOVE, 0, MakeLParam(3, 3));
    look("off the button", 1);
    c->SetFocus();
    look("focused", 4);
    // A press opens the list, which takes its release: closing the list ends the press.
    SendMessage(w, WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(b.Left + 2, b.Top + 2));
    look("pressed", 2);
    c->Combo()->showPopup();
    Pump();
    c->Combo()->hidePopup();
    Pump();
    EXPECT_FALSE(s->MouseState() & TSkinControl::msPressed);
    other->SetFocus();
    c->SetEnabled(false);
    look("disabled", 3);
    SendMessage(w, WM_MOUSEMOVE, 0, MakeLParam(b.Left + 2, b.Top + 2));
    EXPECT_EQ(s->ButtonFrame(), 3);
    // The flat style lets hover win over the disabled look.
    Data->ComboButton->Style = 1;
    c->SetEnabled(true);
    SendMessage(w, WM_MOUSEMOVE, 0, MakeLParam(3, 3));
    SendMessage(w, WM_MOUSEMOVE, 0, MakeLParam(b.Right - 3, b.Top + 2));
    c->SetEnabled(false);
    EXPECT_EQ(s->ButtonFrame(), 4);
    // The drop-down list got its scroll-bar skinner.
    ASSERT_NE(s->DropDownSkinner(), nullptr);
    EXPECT_EQ(s->DropDownSkinner()->Hwnd(), static_cast<QWidget*>(c->Combo()->view()));
    EXPECT_EQ(s->DropDownSkinner()->Bar(), static_cast<QWidget*>(c->Combo()->view()->verticalScrollBar()));
    s->Restore();
    EXPECT_EQ(s->DropDownSkinner(), nullptr);
}

TEST_F(SkinComboEdit, SunkenStyleAndTheMirroredButtonAtTheLeft)
{
    // A skin with its button in a sunken edge (no combined strip).
    Data->ComboButton->Style = 0;
    QImage strip(4 * 16, 20, QImage::Format_RGB32);
    for (int i = 0; i < 4; ++i) {
        QPainter p(&strip);
        p.fillRect(16 * i, 0, 16, 20, QColor(40 * i, 90, 200 - 30 * i));
        p.fillRect(16 * i, 0, 5, 20, QColor(10, 10 + 50 * i, 10)); // a left band tells the sides apart
    }
    Data->ComboButton->Image = strip;
    Data->ComboButton->Frame = 4;
    Data->ComboButton->Image2 = strip.mirrored(true, false);
    Data->ExtraImages.reset();
    TComboBox* c = Combo("ComboBox1", 10);
    ShowForm();
    auto* s = Skin<TSkinComBox>(c);
    HWND w = c->Handle();
    const int bw = GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(s->ButtonRect(), TRect(w->width() - bw - 2, 0, w->width() - 2, w->height()));
    EXPECT_EQ(StretchedMismatches(Grab(w), s->ButtonRect(), strip, 4, s->ButtonFrame()), 0);
    // Right to left: the mirrored button at the left, the band on its right.
    w->setProperty("tvExStyle", static_cast<uint>(WS_EX_LEFTSCROLLBAR));
    s->Repaint();
    Pump();
    EXPECT_EQ(s->ButtonRect(), TRect(2, 0, bw + 2, w->height()));
    const QImage mirroredFrame = strip.copy(16 * (s->ButtonFrame() - 1), 0, 16, 20).mirrored(true, false);
    EXPECT_EQ(StretchedMismatches(Grab(w), s->ButtonRect(), mirroredFrame, 1, 1), 0);
}

TEST_F(SkinComboEdit, EditBordersAndTheSpinBuddy)
{
    auto* edit = Placed(new TEdit(Form.get()), "Edit1", Form.get(), 10, 10, 120, 22);
    auto* flat = Placed(new TEdit(Form.get()), "Edit2", Form.get(), 10, 40, 120, 22);
    auto* twin = Placed(new TEdit(Form.get()), "Edit3", Form.get(), 10, 70, 120, 22);
    auto* spin = Placed(new TSpinEdit(Form.get()), "SpinEdit1", Form.get(), 10, 100, 80, 22);
    ShowForm();
    static_cast<QLineEdit*>(flat->Handle())->setFrame(false);
    static_cast<QLineEdit*>(twin->Handle())->setFrame(false);
    Skin<TSkinEdit>(edit);
    Skin<TSkinEdit>(flat);
    const QImage painted = Grab(edit->Handle());
    const QRgb shadow = ToQColor(Data->Colours.ButtonShadow).rgb() & 0xFFFFFF;
    const int W = painted.width(), H = painted.height();
    for (const QPoint p : {QPoint(0, 0), QPoint(W - 1, H / 2), QPoint(W / 2, H - 1)})
        EXPECT_EQ(painted.pixel(p) & 0xFFFFFF, shadow) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(1, 1), QPoint(2, H / 2), QPoint(W - 3, H - 3)})
        EXPECT_EQ(painted.pixel(p) & 0xFFFFFF, 0xFFFFFFu) << p.x() << "," << p.y();
    // No border: no lines.
    flat->SetColor(twin->Color());
    Pump();
    EXPECT_EQ(Differences(Grab(flat->Handle()), Grab(twin->Handle()), QRect(0, 0, 120, 22)), 0);
    // The spin edit's arrows get an up-down skinner at its first paint, once.
    auto* se = Skin<TSkinEdit>(spin);
    Pump();
    ASSERT_NE(se->UpDownSkinner(), nullptr);
    TSkinUpDown* first = se->UpDownSkinner();
    EXPECT_TRUE(first->Embedded);
    se->Repaint();
    spin->Handle()->repaint();
    Pump();
    EXPECT_EQ(se->UpDownSkinner(), first);
    int upDowns = 0;
    for (TComponent* c : SkinForm->Controls())
        upDowns += dynamic_cast<TSkinUpDown*>(c) != nullptr;
    EXPECT_EQ(upDowns, 1);
}
