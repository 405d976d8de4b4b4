// Caption buttons: which show, where they sit, the frame each mouse state
// paints, and what a click or double click does.

#include "skin_frame_fixture.h"

#include "classlib/controls/ext_controls.h"
#include "test_support.h"

#include <QCursor>

using namespace SkinFormTest;
using namespace SkinFrameTest;

namespace {
constexpr int kButton = 12;
const QRgb kNormal = qRgb(10, 200, 10);
const QRgb kPressed = qRgb(200, 10, 10);
const QRgb kHover = qRgb(10, 10, 200);
const QRgb kInactive = qRgb(200, 200, 10);

QByteArray ButtonIni()
{
    return BorderIni() +
           "[BUTTON0]\nAction=0\nAlign=1\nXcoord=30\nYcoord=4\nButtonImage=close.bmp\nframe=3\n"
           "[BUTTON1]\nAction=40\nAlign=1\nXcoord=50\nYcoord=4\nButtonImage=four.bmp\nframe=4\n"
           "[BUTTON2]\nAction=63\nAlign=0\nXcoord=10\nYcoord=4\nVisibility=0\nVisibility1=250\nButtonImage=close.bmp\nframe=3\n"
           "[BUTTON3]\nAction=3\nAlign=2\nXcoord=2\nYcoord=4\nButtonImage=icon.bmp\nframe=1\n"
           "[BUTTON4]\nAction=41\nAlign=3\nVisibility=100\nButtonImage=close.bmp\nframe=3\n"
           "[BUTTON5]\nAction=42\nAlign=3\nXcoord=4\nYcoord=4\nVisibility=1500\nButtonImage=close.bmp\nframe=3\n"
           "[BUTTON6]\nAction=43\nAlign=0\nVisibility=0\n";
}

QList<QPair<QString, QImage>> ButtonPictures()
{
    return BorderPictures() + QList<QPair<QString, QImage>>{
                                  {QStringLiteral("close.bmp"), SolidFrames(kButton, kButton, {kNormal, kPressed, kHover})},
                                  {QStringLiteral("four.bmp"),
                                   SolidFrames(kButton, kButton, {kNormal, kPressed, kHover, kInactive})},
                                  {QStringLiteral("icon.bmp"), SolidFrames(kButton, kButton, {qRgb(90, 90, 90)})}};
}

TWinSysButton* ByAction(TWinSkinForm* sf, int action)
{
    for (const auto& b : sf->SysButtons())
        if (b->Data->Action == action)
            return b.get();
    return nullptr;
}

QPoint Centre(const TWinSysButton* b) { return QPoint((b->Rect.Left + b->Rect.Right) / 2, (b->Rect.Top + b->Rect.Bottom) / 2); }

// The window's own procedure answering WM_SKINBUTTONVISIBLE; shared so that it
// outlives the test's locals.
struct TVisibleAnswer {
    LRESULT Answer = 0;
    int Asked = 0;
    WPARAM LastVisibility = 0;
    LPARAM LastAction = 0;
    TWndProc Old;
};
} // namespace

class CaptionButtonFixture : public SkinFrameFixture {
protected:
    void SetUp() override
    {
        SkinFrameFixture::SetUp();
        UseSkin(ButtonIni(), ButtonPictures());
    }
    static QRgb PixelAt(TForm* f, QPoint p) { return Grab(f).pixel(p); }
    void Send(TForm* f, unsigned msg, const TWinSysButton* b, WPARAM hit = HTCAPTION)
    {
        const QPoint c = Centre(b);
        SendMessage(f->Window(), msg, hit, ScreenAt(f, c.x(), c.y()));
    }
};

TEST_F(CaptionButtonFixture, VisibilityCodesAndPlacementByAlign)
{
    TForm* f = MakeForm(bsSizeable, false, 300, 120);
    auto answer = std::make_shared<TVisibleAnswer>();
    answer->Old = SetWindowLong(f->Window(), GWL_WNDPROC, [answer](TMessage& m) {
        if (m.Msg == WM_SKINBUTTONVISIBLE) {
            ++answer->Asked;
            answer->LastVisibility = m.WParam;
            answer->LastAction = m.LParam;
            m.Result = answer->Answer;
            return;
        }
        CallWindowProc(answer->Old, m);
    });
    f->Show();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf);

    const int w = f->Window()->width();
    const TRect title = sf->TitleRect();
    EXPECT_EQ(ByAction(sf, 0)->Rect, Bounds(w - 30, 4, kButton, kButton));
    EXPECT_EQ(ByAction(sf, 40)->Rect, Bounds(w - 50, 4, kButton, kButton));
    // Visibility1 250 with Visibility 0 shows.
    EXPECT_TRUE(ByAction(sf, 63)->Visible);
    EXPECT_EQ(ByAction(sf, 63)->Rect, Bounds(10, 4, kButton, kButton));
    // Align 2 sits left of the title box.
    EXPECT_TRUE(ByAction(sf, 3)->Visible);
    EXPECT_EQ(ByAction(sf, 3)->Rect, Bounds(title.Left - kButton - 2, 4, kButton, kButton));
    // Visibility 100 needs an MDI parent.
    EXPECT_FALSE(ByAction(sf, 41)->Visible);

    // Visibility 1500 asks the window on every evaluation; 0 hides.
    EXPECT_GE(answer->Asked, 1);
    EXPECT_EQ(answer->LastVisibility, 1500u);
    EXPECT_EQ(answer->LastAction, 42);
    EXPECT_FALSE(ByAction(sf, 42)->Visible);
    const int asked = answer->Asked;
    answer->Answer = 1;
    SendMessage(f->Window(), WM_NCACTIVATE, 1);
    EXPECT_GT(answer->Asked, asked);
    ASSERT_TRUE(ByAction(sf, 42)->Visible);
    // Align 3 sits right of the title box.
    EXPECT_EQ(ByAction(sf, 42)->Rect.Left, sf->TitleRect().Right + 4);
    const QImage img = Grab(f);
    EXPECT_EQ(img.pixel(Centre(ByAction(sf, 42))), kNormal);
    answer->Answer = 0;
    SendMessage(f->Window(), WM_NCACTIVATE, 1);
    EXPECT_FALSE(ByAction(sf, 42)->Visible);

    // A button without an image is never placed, so it cannot be hit anywhere.
    TWinSysButton* empty = ByAction(sf, 43);
    EXPECT_TRUE(empty->Visible);
    EXPECT_TRUE(empty->Rect.IsEmpty());
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 1), QPoint(5, 5)})
        EXPECT_NE(sf->SysButtonAt(TPoint(p.x(), p.y())), empty);

    // A skin read anew: the buttons show what they showed until the form is reskinned.
    QByteArray next = SkinTest::Property(SkinTest::Archive(BorderIni(), BorderPictures()));
    QDataStream in(next);
    Data->ReadSkinStream(in);
    SendMessage(f->Window(), WM_NCACTIVATE, 1);
    ASSERT_TRUE(ByAction(sf, 0));
    EXPECT_EQ(ByAction(sf, 0)->Data->Xcoord, 30);
    EXPECT_EQ(Grab(f).pixel(Centre(ByAction(sf, 0))), kNormal);
    UseSkin(ButtonIni(), ButtonPictures());

    // A dialog has no icon button; a window without a system menu no close button.
    TForm* d = MakeForm(bsDialog, true, 300, 120);
    TWinSkinForm* ds = Skinned(d);
    ASSERT_TRUE(ds);
    EXPECT_FALSE(ByAction(ds, 3)->Visible);
    EXPECT_TRUE(ByAction(ds, 0)->Visible);
    TForm* bare = MakeForm(bsSizeable, false, 300, 120);
    bare->SetBorderIcons(biMinimize);
    bare->Show();
    ASSERT_TRUE(Skinned(bare));
    EXPECT_FALSE(ByAction(Skinned(bare), 0)->Visible);
    Forms.clear();
}

TEST_F(CaptionButtonFixture, MouseStatesPaintTheirFramesAndTheInactiveCaptionUsesFrameFour)
{
    TForm* f = MakeForm(bsSizeable, true, 300, 120);
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf);
    TWinSysButton* close = ByAction(sf, 0);
    TWinSysButton* four = ByAction(sf, 40);
    auto at = [&](const TWinSysButton* b) { return Grab(f).pixel(Centre(b)); };
    EXPECT_EQ(at(close), kNormal);
    EXPECT_EQ(at(four), kNormal);

    Send(f, WM_NCMOUSEMOVE, close);
    EXPECT_EQ(sf->HotObject(), close);
    EXPECT_EQ(close->State, TNCObject::stHover);
    EXPECT_EQ(at(close), kHover);
    Send(f, WM_NCLBUTTONDOWN, close);
    EXPECT_EQ(close->State, TNCObject::stPressed);
    EXPECT_EQ(at(close), kPressed);
    // Held down over the next button: the first shows normal, the next stays
    // dark; the release there clicks nothing.
    Send(f, WM_NCMOUSEMOVE, four);
    EXPECT_EQ(close->State, TNCObject::stNormal);
    EXPECT_EQ(at(close), kNormal);
    EXPECT_EQ(at(four), kNormal);
    Send(f, WM_NCLBUTTONUP, four);
    // On to the next button: the first one leaves.
    Send(f, WM_NCMOUSEMOVE, four);
    EXPECT_EQ(sf->HotObject(), four);
    EXPECT_EQ(close->State, TNCObject::stNormal);
    EXPECT_EQ(at(close), kNormal);
    EXPECT_EQ(at(four), kHover);

    // The hover timer lets go of a button the cursor has left.
    QCursor::setPos(f->Window()->mapToGlobal(QPoint(150, 80)));
    sf->HoverTimer();
    EXPECT_FALSE(sf->HotObject());
    EXPECT_EQ(four->State, TNCObject::stNormal);
    EXPECT_EQ(at(four), kNormal);

    // Inactive: frame 4 where the strip has four frames, else frame 1; the
    // mouse is ignored.
    SendMessage(f->Window(), WM_NCACTIVATE, 0);
    EXPECT_EQ(at(four), kInactive);
    EXPECT_EQ(at(close), kNormal);
    Send(f, WM_NCMOUSEMOVE, close);
    EXPECT_FALSE(sf->HotObject());
    EXPECT_EQ(at(close), kNormal);
}

TEST_F(CaptionButtonFixture, ClicksAndDoubleClicksRunTheActions)
{
    TForm* f = MakeForm(bsSizeable, false, 300, 120);
    TRecorder rec(f->Window());
    rec.Swallow = {WM_SYSCOMMAND, WM_CLOSE};
    f->Show();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf);
    auto click = [&](const TWinSysButton* b) {
        Send(f, WM_NCLBUTTONDOWN, b);
        Send(f, WM_NCLBUTTONUP, b);
        Pump();
    };
    // Actions without a meaning of their own are posted to the window.
    click(ByAction(sf, 40));
    click(ByAction(sf, 63));
    EXPECT_EQ(rec.Count(WM_SKINBUTTONACTION, 40), 1);
    EXPECT_EQ(rec.Count(WM_SKINBUTTONACTION, 63), 1);
    EXPECT_EQ(rec.Count(WM_SYSCOMMAND), 0);
    // A release over a button that was not pressed does nothing.
    Send(f, WM_NCMOUSEMOVE, ByAction(sf, 63));
    Send(f, WM_NCLBUTTONUP, ByAction(sf, 40));
    Pump();
    EXPECT_EQ(rec.Count(WM_SKINBUTTONACTION, 40), 1);

    // A double click on the close button closes once, by its first click.
    TWinSysButton* close = ByAction(sf, 0);
    Send(f, WM_NCLBUTTONDOWN, close);
    Send(f, WM_NCLBUTTONUP, close);
    Send(f, WM_NCLBUTTONDBLCLK, close);
    Send(f, WM_NCLBUTTONUP, close);
    Pump();
    EXPECT_EQ(rec.Count(WM_SYSCOMMAND, SC_CLOSE), 1);
    EXPECT_FALSE(sf->Timer()->Enabled());
    // A double click on the window-icon button closes.
    Send(f, WM_NCLBUTTONDBLCLK, ByAction(sf, 3));
    Pump();
    EXPECT_EQ(rec.Count(WM_SYSCOMMAND, SC_CLOSE), 2);

    // A double click on the bare caption maximizes a window with a maximize box.
    SendMessage(f->Window(), WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenAt(f, 150, 10));
    Pump();
    EXPECT_EQ(rec.Count(WM_SYSCOMMAND, SC_MAXIMIZE), 1);
    Forms.clear();
}

TEST_F(CaptionButtonFixture, APressThatLeavesTheButtonClicksNothingWhereverItIsReleased)
{
    // Qt keeps the mouse on the window while the button is down: the release
    // decides, wherever it happens.
    TForm* f = MakeForm(bsSizeable, false, 300, 120);
    TRecorder rec(f->Window());
    rec.Swallow = {WM_SYSCOMMAND, WM_CLOSE};
    f->Show();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf);
    QWidget* w = f->Window();
    TWinSysButton* four = ByAction(sf, 40);
    const QPoint on = Centre(four);
    TRect cr;
    GetClientRect(w, cr);
    const TPoint c = ClientToScreen(w, TPoint(cr.Width() / 2, cr.Height() / 2));
    const QPoint client = w->mapFromGlobal(QPoint(c.X, c.Y));
    const QPoint outside(w->width() + 40, w->height() + 40);
    for (const QPoint away : {client, outside, Centre(ByAction(sf, 0)), QPoint(150, 10)}) {
        TestSupport::MousePress(w, on);
        EXPECT_EQ(PixelAt(f, on), kPressed);
        TestSupport::MouseMove(w, away, Qt::LeftButton);
        EXPECT_EQ(PixelAt(f, on), kNormal);
        TestSupport::MouseRelease(w, away);
        Pump();
        EXPECT_EQ(rec.Count(WM_SKINBUTTONACTION, 40), 0) << away.x() << "," << away.y();
        EXPECT_EQ(rec.Count(WM_SYSCOMMAND), 0);
        EXPECT_EQ(PixelAt(f, on), kNormal);
    }
    // Taken away and brought back before the release: one click.
    TestSupport::MousePress(w, on);
    TestSupport::MouseMove(w, client, Qt::LeftButton);
    TestSupport::MouseMove(w, on, Qt::LeftButton);
    EXPECT_EQ(PixelAt(f, on), kPressed);
    TestSupport::MouseRelease(w, on);
    Pump();
    EXPECT_EQ(rec.Count(WM_SKINBUTTONACTION, 40), 1);
    Forms.clear();
}
