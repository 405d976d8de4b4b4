#include "designer_fixture.h"
#include "surface_input.h"

#include "classlib/forms/application.h"
#include "classlib/pictures/picture.h"
#include "platform/messages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
TShape* AddShape(TFrmMain* m, int l, int t, int w, int h, int tag = 1)
{
    auto* s = new TShape(m);
    s->SetTag(tag);
    s->SetParent(m->PNLCD);
    s->SetBounds(l, t, w, h);
    m->SetObjectHandlers(s);
    m->RenumberObjects();
    m->RebuildLayerList();
    return s;
}

void Select(TFrmMain* m, TControl* o)
{
    m->SelectedObject = o;
    m->ShowSelectionFrame(o->Left(), o->Top(), o->Width(), o->Height());
}

// Resizes the selection by one handle: a press at (1, 1) inside it, then a move to (x, y).
TRect Resize(TFrmMain* m, TFrmMain::THandleKind kind, int x, int y, TShiftState shift = 0)
{
    m->HandleMouseDown(kind, 1, 1);
    m->HandleMouseMove(kind, shift, x, y);
    m->HandleMouseUp();
    return m->SelectedObject->BoundsRect();
}
} // namespace

TEST(Selection, FramePlacesHandlesLinesCopiesAndCatcher)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* s = AddShape(m, 100, 50, 40, 20);
    Select(m, s);
    auto at = [](TShape* h) { return TPoint(h->Left(), h->Top()); };
    EXPECT_EQ(at(m->PL), TPoint(98, 48));
    EXPECT_EQ(at(m->PR), TPoint(138, 48));
    EXPECT_EQ(at(m->PLB), TPoint(98, 68));
    EXPECT_EQ(at(m->PRB), TPoint(138, 68));
    EXPECT_EQ(at(m->PL1), TPoint(98, 58));
    EXPECT_EQ(at(m->PR1), TPoint(138, 58));
    EXPECT_EQ(at(m->PB1), TPoint(118, 68));
    EXPECT_EQ(at(m->PT1), TPoint(118, 48));
    EXPECT_EQ(m->PL->Width(), 5);
    EXPECT_EQ(m->PL->Shape(), stCircle);
    EXPECT_EQ(m->RR->BoundsRect(), Bounds(140, 50, 1, 20));
    EXPECT_EQ(m->RL->BoundsRect(), Bounds(99, 50, 1, 21));
    EXPECT_EQ(m->RT->BoundsRect(), Bounds(99, 49, 41, 1));
    EXPECT_EQ(m->RB->BoundsRect(), Bounds(100, 70, 40, 1));
    // The copies inside the mask lie exactly over their marks.
    EXPECT_EQ(m->RT1->BoundsRect(), m->RT->BoundsRect());
    EXPECT_EQ(m->RR1->BoundsRect(), m->RR->BoundsRect());
    EXPECT_EQ(m->PLS->BoundsRect(), m->PL->BoundsRect());
    EXPECT_EQ(m->PRBS->BoundsRect(), m->PRB->BoundsRect());
    EXPECT_EQ(m->PT2->BoundsRect(), m->PT1->BoundsRect());
    EXPECT_EQ(m->PR2->BoundsRect(), m->PR1->BoundsRect());
    EXPECT_EQ(m->PLS->Parent(), m->VK1);
    EXPECT_EQ(m->TOPClk->BoundsRect(), Bounds(99, 49, 40, 20));
    EXPECT_TRUE(m->TOPClk->Visible() && m->PT2->Visible() && m->RB1->Visible());
    EXPECT_EQ(m->HK->BoundsRect(), Bounds(120, 53, 1, 14));
    EXPECT_EQ(m->VK->BoundsRect(), Bounds(103, 60, 34, 1));
    EXPECT_EQ(m->H2K->BoundsRect(), m->HK->BoundsRect());
    EXPECT_TRUE(m->HK->Visible());
    // The marks are painted above the objects.
    int shapeAt = -1, handleAt = -1;
    for (int i = 0; i < m->PNLCD->ControlCount(); ++i) {
        if (m->PNLCD->Controls(i) == s)
            shapeAt = i;
        if (m->PNLCD->Controls(i) == m->PRB)
            handleAt = i;
    }
    EXPECT_LT(shapeAt, handleAt);

    m->HideSelectionFrame();
    for (TControl* c : std::initializer_list<TControl*>{m->PL, m->PRBS, m->RT, m->RT1, m->TOPClk, m->PB2})
        EXPECT_FALSE(c->Visible()) << qPrintable(c->Name());
}

TEST(Selection, NothingSelectedShowsNoFrameAndFlatObjectsGetEmptyCentreLines)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    m->SelectedObject = m->SizeLabel;
    m->ShowSelectionFrame(10, 10, 50, 50);
    EXPECT_FALSE(m->PL->Visible());
    EXPECT_FALSE(m->TOPClk->Visible());

    TShape* s = AddShape(m, 10, 10, 50, 6);
    Select(m, s);
    EXPECT_EQ(m->HK->Height(), 0);

    // A text in text mode gets the frame but no centre lines.
    auto* l = new TLabel(m);
    l->SetTag(1);
    l->SetParent(m->PNLCD);
    m->ShowCentreLines(false);
    m->TextEditMode = true;
    Select(m, l);
    EXPECT_TRUE(m->RT->Visible());
    EXPECT_FALSE(m->HK->Visible());
}

TEST(Moving, DragKeepsTheGrabPointOnTheSurface)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* s = AddShape(m, 200, 40, 40, 20);
    ASSERT_FALSE(m->Modified);
    TSurfaceMouse mouse(m->PNLCD->Handle());
    // Grab 10 px from the left edge and 5 from the top, pull far to the left and up.
    mouse.Press(QPoint(210, 45));
    EXPECT_EQ(m->SelectedObject, s);
    EXPECT_TRUE(m->Dragging);
    mouse.Move(QPoint(170, 35));
    EXPECT_EQ(s->Left(), 160);
    EXPECT_EQ(s->Top(), 30);
    EXPECT_FALSE(m->RT->Visible()); // hidden while moving
    EXPECT_TRUE(m->HK->Visible());
    mouse.Move(QPoint(-500, -500));
    EXPECT_EQ(s->Left(), -10);
    EXPECT_EQ(s->Top(), -5);
    mouse.Move(QPoint(2000, 2000));
    EXPECT_EQ(s->Left(), 461 - 10);
    EXPECT_EQ(s->Top(), 461 - 5);
    mouse.Release(QPoint(2000, 2000));
    EXPECT_FALSE(m->Dragging);
    EXPECT_TRUE(m->Modified);
    EXPECT_TRUE(m->RT->Visible());
    EXPECT_EQ(m->RB->BoundsRect(), Bounds(451, 476, 40, 1));
    EXPECT_EQ(s->Width(), 40);
}

TEST(Moving, LockedObjectIsSelectedButNeverMoves)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* s = AddShape(m, 200, 40, 40, 20, 2);
    TSurfaceMouse mouse(m->PNLCD->Handle());
    mouse.Drag(QPoint(210, 45), QPoint(260, 90));
    EXPECT_EQ(m->SelectedObject, s);
    EXPECT_EQ(m->Vrstvy->ItemIndex(), 0);
    EXPECT_EQ(s->BoundsRect(), Bounds(200, 40, 40, 20));
    EXPECT_FALSE(m->RT->Visible());
    EXPECT_FALSE(m->Modified);
    // The arrow keys leave it alone too.
    bool handled = false;
    m->FormShortCut(VK_RIGHT, 0, handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(s->Left(), 200);
}

TEST(Moving, HandlesResizeByThePlainFormulas)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* s = AddShape(m, 100, 50, 40, 20);
    struct Row {
        TFrmMain::THandleKind kind;
        int x, y;
        TRect expected;
    };
    // Object (100, 50) 40 x 20; the edge opposite each handle stays.
    const Row rows[] = {
        {TFrmMain::hkPRB, 12, 7, Bounds(100, 50, 50, 25)},
        {TFrmMain::hkPLB, -8, 5, Bounds(90, 50, 50, 23)},
        {TFrmMain::hkPR, 4, -6, Bounds(100, 42, 42, 28)},
        {TFrmMain::hkPL, -3, -4, Bounds(95, 44, 45, 26)},
        {TFrmMain::hkPR1, 10, 3, Bounds(100, 50, 48, 20)},
        {TFrmMain::hkPB1, 3, 10, Bounds(100, 50, 40, 28)},
        {TFrmMain::hkPL1, 5, 3, Bounds(103, 50, 37, 20)},
        {TFrmMain::hkPT1, 3, 5, Bounds(100, 53, 40, 17)},
    };
    for (const Row& r : rows) {
        s->SetBounds(100, 50, 40, 20);
        Select(m, s);
        EXPECT_EQ(Resize(m, r.kind, r.x, r.y), r.expected) << r.kind;
        EXPECT_TRUE(m->RT->Visible());
        EXPECT_EQ(m->RR->Left(), s->Left() + s->Width());
    }
    EXPECT_TRUE(m->Modified);

    // Offsets that would turn the size negative are dropped.
    s->SetBounds(100, 50, 100, 50);
    Select(m, s);
    EXPECT_EQ(Resize(m, TFrmMain::hkPR1, -150, 0), Bounds(100, 50, 98, 50));
    s->SetBounds(100, 50, 100, 50);
    EXPECT_EQ(Resize(m, TFrmMain::hkPL, 300, 300), Bounds(98, 48, 102, 52));
    s->SetBounds(100, 50, 100, 50);
    EXPECT_EQ(Resize(m, TFrmMain::hkPRB, -500, 10), Bounds(100, 50, 98, 58));
}

TEST(Moving, ShiftKeepsTheAspectRatio)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* s = AddShape(m, 100, 50, 40, 20);
    Select(m, s);
    // Bottom-right: box (60, 118) -> the widest 2:1 inside it.
    EXPECT_EQ(Resize(m, TFrmMain::hkPRB, 22, 100, ssShift), Bounds(100, 50, 60, 30));
    // Top-left: box (52, 32), re-anchored on the bottom-right corner.
    s->SetBounds(100, 50, 40, 20);
    EXPECT_EQ(Resize(m, TFrmMain::hkPL, -10, -10, ssShift), Bounds(89, 44, 52, 26));
    // Right: a square box of side b + X: a wide object takes its width...
    s->SetBounds(100, 50, 40, 20);
    EXPECT_EQ(Resize(m, TFrmMain::hkPR1, 12, 0, ssShift), Bounds(100, 50, 50, 25));
    // ...a tall one its height.
    s->SetBounds(100, 50, 20, 40);
    EXPECT_EQ(Resize(m, TFrmMain::hkPR1, 12, 0, ssShift), Bounds(100, 50, 15, 30));
    // An object with no height has no aspect to keep: it resizes plainly.
    s->SetBounds(100, 50, 40, 0);
    EXPECT_EQ(Resize(m, TFrmMain::hkPRB, 12, 7, ssShift), Bounds(100, 50, 50, 5));
}

TEST(Moving, ArrowKeysNudgeAndShiftArrowsResize)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* s = AddShape(m, 100, 50, 40, 20);
    Select(m, s);
    // Keys go to the focus widget, or to the window when nothing has focus.
    auto key = [&](int qtKey, Qt::KeyboardModifiers mods) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : m->Window();
        QKeyEvent press(QEvent::KeyPress, qtKey, mods);
        QCoreApplication::sendEvent(target, &press);
    };
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(s->BoundsRect(), Bounds(100, 50, 41, 20));
    EXPECT_TRUE(m->Modified);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(s->BoundsRect(), Bounds(100, 50, 41, 19));
    key(Qt::Key_Left, Qt::NoModifier);
    key(Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(s->BoundsRect(), Bounds(99, 51, 41, 19));
    EXPECT_EQ(m->RR->BoundsRect(), Bounds(140, 51, 1, 19));
    // Other keys pass on.
    bool handled = false;
    m->FormShortCut(VK_DELETE, 0, handled);
    EXPECT_FALSE(handled);
    // Nothing selected: the keys do nothing.
    m->SelectedObject = m->SizeLabel;
    m->FormShortCut(VK_LEFT, 0, handled);
    EXPECT_FALSE(handled);
}

TEST(Moving, HandleCopiesOverTheMaskResizeTheObject)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    // An object whose bottom-right corner lies in the masked hole.
    TShape* s = AddShape(m, 150, 150, 80, 80);
    TSurfaceMouse mouse(m->PNLCD->Handle());
    mouse.Click(QPoint(160, 160)); // on the printable ring
    ASSERT_EQ(m->SelectedObject, s);
    const QPoint corner(150 - 2 + 80 + 2, 150 - 2 + 80 + 2); // centre of PRB
    ASSERT_EQ(mouse.WindowAt(corner), m->VK1->Handle());
    mouse.Press(corner);
    EXPECT_TRUE(m->Resizing);
    mouse.Move(corner + QPoint(10, 20));
    mouse.Release(corner + QPoint(10, 20));
    EXPECT_EQ(s->BoundsRect(), Bounds(150, 150, 90, 100));
    EXPECT_FALSE(m->Resizing);

    // The catcher over the masked part forwards a drag to the object.
    const QPoint inHole(225, 225);
    ASSERT_EQ(mouse.WindowAt(inHole), m->VK1->Handle());
    mouse.Drag(inHole, inHole + QPoint(5, 5));
    EXPECT_EQ(TPoint(s->Left(), s->Top()), TPoint(155, 155));
}

TEST(Moving, DeleteFreesTheSelectionAndSelectsTheTopmost)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* a = AddShape(m, 100, 50, 40, 20);
    TShape* b = AddShape(m, 150, 50, 40, 20);
    TShape* c = AddShape(m, 200, 50, 40, 20);
    m->SelectedObject = b;
    m->Vrstvy->SetItemIndex(1);
    m->mnuSmazat1Click(m);
    EXPECT_EQ(m->ObjectCount(), 2);
    EXPECT_EQ(m->Vrstvy->Items()->Count(), 2);
    EXPECT_EQ(m->SelectedObject, c);
    EXPECT_EQ(m->Vrstvy->ItemIndex(), 0);
    EXPECT_EQ(m->Components(0), a);
    EXPECT_EQ(c->Name(), QStringLiteral("C1"));
    // Nothing selected while objects remain: nothing is freed.
    m->SelectedObject = m->SizeLabel;
    m->mnuSmazat1Click(m);
    EXPECT_EQ(m->ObjectCount(), 2);
    EXPECT_NE(m->FindComponent(QStringLiteral("SizeLabel")), nullptr);
    // Deleting down to nothing leaves no selection.
    m->SelectedObject = a;
    m->mnuSmazat1Click(m);
    m->mnuSmazat1Click(m);
    EXPECT_EQ(m->ObjectCount(), 0);
    EXPECT_EQ(m->Vrstvy->Items()->Count(), 0);
    EXPECT_TRUE(m->NothingSelected());
    EXPECT_TRUE(m->Modified);
    // The text popup offers Delete only outside text mode.
    m->TextEditMode = true;
    m->PopupMenuTxtPopup(m);
    EXPECT_FALSE(m->mnuSmazat1->Enabled());
}

TEST(Moving, PressOnTheCentreLinesStaysWithTheSelection)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* below = AddShape(m, 100, 100, 200, 200);
    TShape* top = AddShape(m, 150, 250, 100, 80);
    Select(m, top);
    TSurfaceMouse mouse(m->PNLCD->Handle());
    mouse.Press(QPoint(200, 290)); // where both centre lines cross
    EXPECT_EQ(m->SelectedObject, top);
    mouse.Move(QPoint(210, 300));
    mouse.Release(QPoint(210, 300));
    EXPECT_EQ(below->BoundsRect(), Bounds(100, 100, 200, 200));
}

// A text field made with Alt+P drags by its body and opens its own popup,
// with or without a background picture behind it.
TEST(Moving, ATextFieldDragsByItsBodyAndOffersItsPopup)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    for (bool background : {false, true}) {
        SCOPED_TRACE(background);
        if (background) {
            m->LbtnR1Click(m); // the next background of the side panel
            ASSERT_FALSE(m->IMGBck->Picture()->Graphic() == nullptr);
        }
        m->AddTextObject(QStringLiteral("Text"), 0);
        auto* t = dynamic_cast<TLabel*>(m->SelectedObject);
        ASSERT_TRUE(t);
        m->VK1TClick(m); // nothing selected, as after a click beside it
        const QPoint body(t->Left() + t->Width() / 2, t->Top() + t->Height() / 2);
        const QPoint start(t->Left(), t->Top());
        TSurfaceMouse mouse(m->PNLCD->Handle());
        mouse.Drag(body, body + QPoint(30, 40));
        EXPECT_EQ(m->SelectedObject, t);
        EXPECT_EQ(QPoint(t->Left(), t->Top()), start + QPoint(30, 40));
        // The right button on the body offers the text's own commands.
        const QPoint moved = QPoint(t->Left() + t->Width() / 4, t->Top() + t->Height() / 4 + 1);
        EXPECT_EQ(m->PNLCD->ControlAtPos(moved.x(), moved.y()), t);
        EXPECT_EQ(t->PopupMenu(), m->PopupMenuTxt);
    }
}

// Without a window manager nobody hands the keyboard back when a dialog
// closes: the main window takes it back itself, and the arrow keys nudge the
// selection again without a click.
TEST(Nudging, ArrowKeysNudgeAgainRightAfterADialogCloses)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* s = AddShape(m, 100, 50, 40, 20);
    Select(m, s);
    QApplication::setActiveWindow(m->Window());
    TForm dialog(nullptr);
    auto* storno = new TButton(&dialog);
    storno->SetParent(&dialog);
    storno->SetCancel(true);
    storno->SetModalResult(mrCancel);
    for (int round = 0; round < 2; ++round) {
        QTimer escape;
        escape.setSingleShot(true);
        QObject::connect(&escape, &QTimer::timeout, [&] {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : dialog.Window();
            QTest::keyClick(target, Qt::Key_Escape);
        });
        escape.start(30);
        EXPECT_EQ(dialog.ShowModal(), mrCancel);
        QTest::qWait(20);
        ASSERT_EQ(QApplication::activeWindow(), m->Window());
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        QTest::keyClick(target, Qt::Key_Right);
        EXPECT_EQ(s->Left(), 101 + round);
    }
}
