// Tool bars of a skinned form: each button's face from the skin's "ToolBars"
// strip by its draw state (unlit again once a dialog it opened has gone), and
// the tool bar's own drawing back when skinning goes.
#include "../form/skin_form_fixture.h"
#include "test_support.h"

#include "classlib/controls/com_controls.h"
#include "classlib/forms/message_box.h"
#include "skin/controls/skin_toolbar.h"
#include "skin/form/skin_primitives.h"

#include <QPainter>
#include <QPushButton>
#include <QTimer>

using namespace SkinFormTest;

namespace {
// How many pixels of a tool button's edges differ from the skin's lit frame
// (frame 4 of the strip over the button less one pixel each side), and how
// many were compared: where the glyph or caption goes the button draws over
// the frame, so only the edges count.
std::pair<int, int> EdgesAgainstLitFrame(TToolBar* bar, TToolButton* button, const TDataSkinObject* e)
{
    const QImage img = bar->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const TRect r(button->Left() + 1, button->Top() + 1, button->Left() + button->Width() - 1,
                  button->Top() + button->Height() - 1);
    QImage expected = img.copy();
    {
        QPainter p(&expected);
        NineGridDraw(p, r, e->Image, false, e->Tile != 0, e->Trans == 1, 5, 4,
                     TSkinMargins{e->LeftWidth, e->TopHeight, e->RightWidth, e->BottomHeight});
    }
    int bad = 0, compared = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            if (x >= r.Left + e->LeftWidth && x < r.Right - e->RightWidth && y >= r.Top + e->TopHeight &&
                y < r.Bottom - e->BottomHeight)
                continue;
            bad += (img.pixel(x, y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF);
            ++compared;
        }
    return {bad, compared};
}
} // namespace

TEST_F(SkinFormFixture, ToolButtonsTakeTheToolBarsFrameWhileSkinned)
{
    const QString file = TestSupport::BinDir() + QStringLiteral("/skiny/grafit.skn");
    if (!HasSkinImage(Data->ToolBars.get()))
        Data->SetSkinFile(file);
    Pump(400);
    const TDataSkinObject* e = Data->ToolBars.get();
    ASSERT_TRUE(HasSkinImage(e));
    TForm* f = MakeForm(bsSizeable, false, 300, 200);
    auto* bar = Placed(new TToolBar(f), "ToolBar1", f, 0, 0, 300, 30);
    auto* button = new TToolButton(f);
    button->SetName(QStringLiteral("ToolButton1"));
    button->SetParent(bar);
    int ownHandler = 0;
    bar->OnCustomDrawButton = [&](TToolBar*, TToolButton*, TCanvas*, TCustomDrawState, bool&) { ++ownHandler; };
    f->Show();
    Pump(400);
    TWinSkinForm* sf = Manager->FindForm(f->Window());
    ASSERT_TRUE(sf);
    ASSERT_EQ(sf->State(), TWinSkinForm::stSkinned);
    ASSERT_TRUE(bar->Flat());
    ownHandler = 0; // painted before the skin came

    button->Perform(CM_MOUSEENTER);
    ASSERT_TRUE(button->Hot());
    // The button's edges as the skin's lit frame (frame 4) draws them.
    const auto [bad, keyed] = EdgesAgainstLitFrame(bar, button, e);
    ASSERT_GT(keyed, 0);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(ownHandler, 0);

    // Skinning off: the tool bar's own handler is back.
    Data->SetActive(false);
    Pump(400);
    bar->Handle()->grab();
    EXPECT_GT(ownHandler, 0);
}

TEST_F(SkinFormFixture, AToolButtonLetGoOutsideItselfGivesNoClick)
{
    if (!HasSkinImage(Data->ToolBars.get()))
        Data->SetSkinFile(TestSupport::BinDir() + QStringLiteral("/skiny/grafit.skn"));
    Pump(400);
    TForm* f = MakeForm(bsSizeable, false, 300, 200);
    auto* bar = Placed(new TToolBar(f), "ToolBar1", f, 0, 0, 300, 30);
    auto* button = new TToolButton(f);
    button->SetName(QStringLiteral("ToolButton1"));
    button->SetParent(bar);
    int clicks = 0;
    button->OnClick = [&](TComponent*) { ++clicks; };
    f->Show();
    Pump(400);
    TWinSkinForm* sf = Manager->FindForm(f->Window());
    ASSERT_TRUE(sf);
    ASSERT_EQ(sf->State(), TWinSkinForm::stSkinned);
    QWidget* w = bar->Handle();
    const QPoint inside(button->Left() + button->Width() / 2, button->Top() + button->Height() / 2);
    const QPoint outside(inside.x(), 150);
    QTest::mousePress(w, Qt::LeftButton, {}, inside);
    QTest::mouseMove(w, outside);
    QTest::mouseRelease(w, Qt::LeftButton, {}, outside);
    Pump();
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(w, Qt::LeftButton, {}, inside);
    Pump();
    EXPECT_EQ(clicks, 1);
}

// A tool button that opens a dialog: the dialog takes the mouse, so once it
// has gone the button is drawn unlit, whether it was answered by key with the
// pointer still over the button, or with the mouse on the dialog.
TEST_F(SkinFormFixture, AToolButtonIsDrawnUnlitOnceTheDialogItOpenedHasGone)
{
    if (!HasSkinImage(Data->ToolBars.get()))
        Data->SetSkinFile(TestSupport::BinDir() + QStringLiteral("/skiny/grafit.skn"));
    Pump(400);
    const TDataSkinObject* e = Data->ToolBars.get();
    ASSERT_TRUE(HasSkinImage(e));
    TForm* f = MakeForm(bsSizeable, false, 300, 200);
    auto* bar = Placed(new TToolBar(f), "ToolBar1", f, 0, 0, 300, 30);
    auto* button = new TToolButton(f);
    button->SetName(QStringLiteral("ToolButton1"));
    button->SetParent(bar);
    bool byKey = true;
    button->OnClick = [&](TComponent*) {
        QTimer::singleShot(50, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box)
                return;
            if (byKey) {
                QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box, Qt::Key_Escape);
                return;
            }
            auto* ok = box->findChild<QPushButton*>();
            TestSupport::TSystemMouse onBox;
            onBox.Move(box, box->rect().center());
            if (ok)
                onBox.Click(ok, ok->rect().center());
        });
        ShowMessageBox(f->Window(), QStringLiteral("Hotovo."), QStringLiteral("Tessavik"), MB_OK);
    };
    f->Show();
    Pump(400);
    ASSERT_EQ(Manager->FindForm(f->Window())->State(), TWinSkinForm::stSkinned);
    // The button's edges as the skin's lit frame draws them.
    auto drawnLit = [&] {
        bar->Repaint();
        const auto [bad, edges] = EdgesAgainstLitFrame(bar, button, e);
        return edges > 0 && bad == 0;
    };
    const QPoint inside(button->Left() + button->Width() / 2, button->Top() + button->Height() / 2);
    for (const bool key : {true, false}) {
        SCOPED_TRACE(key ? "answered by key" : "answered with the mouse");
        byKey = key;
        TestSupport::TSystemMouse mouse;
        mouse.Move(bar->Handle(), inside, 300);
        Pump();
        ASSERT_TRUE(button->Hot());
        ASSERT_TRUE(drawnLit());
        mouse.Click(bar->Handle(), inside);
        Pump();
        EXPECT_FALSE(button->Hot());
        EXPECT_FALSE(drawnLit());
        // The next move over it lights it again.
        mouse.Move(bar->Handle(), inside + QPoint(1, 0));
        Pump();
        EXPECT_TRUE(button->Hot());
    }
}
