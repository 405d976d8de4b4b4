#include "classlib/controls/com_controls.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/application.h"
#include "classlib/forms/dialogs.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"
#include "classlib/forms/message_box.h"
#include "classlib/sysutils.h"
#include "test_support.h"

#include <QFontDialog>
#include <QKeyEvent>
#include <QTest>
#include <algorithm>
#include <QTimer>
#include <gtest/gtest.h>
#include <new>

namespace {
struct Form : TForm {
    explicit Form(TComponent* owner) : TForm(owner) { SetBounds(50, 50, 400, 300); }
};

struct Recorder {
    std::vector<std::string> Events;
    TMouseEvent Down(const char* who)
    {
        return [this, who](TComponent*, TMouseButton, TShiftState, int x, int y) {
            Events.push_back(std::string(who) + " down " + std::to_string(x) + "," + std::to_string(y));
        };
    }
    TMouseMoveEvent Move(const char* who)
    {
        return [this, who](TComponent*, TShiftState, int x, int y) {
            Events.push_back(std::string(who) + " move " + std::to_string(x) + "," + std::to_string(y));
        };
    }
};

std::unique_ptr<Form> MakeShownForm()
{
    auto f = std::make_unique<Form>(nullptr);
    f->DoCreate();
    f->Show();
    QTest::qWait(1);
    return f;
}
} // namespace

TEST(Controls, MouseReachesTheTopmostGraphicChildInItsOwnCoordinates)
{
    auto form = MakeShownForm();
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 10, 300, 200);
    auto* a = new TShape(form.get());
    a->SetParent(panel);
    a->SetBounds(20, 20, 100, 50);
    auto* b = new TShape(form.get());
    b->SetParent(panel);
    b->SetBounds(60, 40, 100, 50);
    Recorder rec;
    a->OnMouseDown = rec.Down("a");
    b->OnMouseDown = rec.Down("b");
    panel->OnMouseDown = rec.Down("panel");

    QTest::mousePress(panel->Handle(), Qt::LeftButton, {}, QPoint(70, 45)); // both overlap here
    QTest::mouseRelease(panel->Handle(), Qt::LeftButton, {}, QPoint(70, 45));
    QTest::mousePress(panel->Handle(), Qt::LeftButton, {}, QPoint(25, 25)); // only a
    QTest::mouseRelease(panel->Handle(), Qt::LeftButton, {}, QPoint(25, 25));
    QTest::mousePress(panel->Handle(), Qt::LeftButton, {}, QPoint(250, 150)); // nothing: the panel
    QTest::mouseRelease(panel->Handle(), Qt::LeftButton, {}, QPoint(250, 150));
    a->BringToFront();
    QTest::mousePress(panel->Handle(), Qt::LeftButton, {}, QPoint(70, 45));
    QTest::mouseRelease(panel->Handle(), Qt::LeftButton, {}, QPoint(70, 45));
    EXPECT_EQ(rec.Events, (std::vector<std::string>{"b down 10,5", "a down 5,5", "panel down 250,150", "a down 50,25"}));
}

TEST(Controls, PressedGraphicControlKeepsTheMouseUntilRelease)
{
    auto form = MakeShownForm();
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 300, 200);
    auto* a = new TShape(form.get());
    a->SetParent(panel);
    a->SetBounds(20, 20, 50, 50);
    Recorder rec;
    a->OnMouseMove = rec.Move("a");
    panel->OnMouseMove = rec.Move("panel");
    int clicks = 0;
    a->OnClick = [&](TComponent*) { ++clicks; };
    QWidget* w = panel->Handle();
    using namespace TestSupport;
    MousePress(w, QPoint(30, 30));
    MouseMove(w, QPoint(200, 150), Qt::LeftButton); // outside the shape, still its move
    MouseRelease(w, QPoint(200, 150));
    EXPECT_EQ(clicks, 0); // released outside: no click
    MouseMove(w, QPoint(210, 150)); // capture gone: the panel's move
    ASSERT_GE(rec.Events.size(), 2u);
    EXPECT_EQ(rec.Events.front(), "a move 180,130");
    EXPECT_EQ(rec.Events.back(), "panel move 210,150");
    MouseClick(w, QPoint(30, 30));
    EXPECT_EQ(clicks, 1);
}

TEST(Controls, WindowRegionShapesTheWindowAndItsMouse)
{
    auto form = MakeShownForm();
    auto* back = new TPanel(form.get());
    back->SetParent(form.get());
    back->SetBounds(0, 0, 200, 200);
    auto* mask = new TPanel(form.get());
    mask->SetParent(back);
    mask->SetBounds(0, 0, 200, 200);
    TRegion rgn = CreateRectRgn(0, 0, 200, 200);
    CombineRgn(rgn, rgn, CreateEllipticRgn(50, 50, 150, 150), RGN_XOR);
    mask->SetWindowRgn(rgn);
    ASSERT_TRUE(mask->WindowRgn().has_value());
    EXPECT_EQ(*mask->WindowRgn(), rgn);
    EXPECT_EQ(mask->Handle()->mask(), rgn.ToQRegion());
    // Qt routes a click inside the hole to the window below.
    EXPECT_EQ(back->Handle()->childAt(100, 100), nullptr);
    EXPECT_EQ(back->Handle()->childAt(5, 5), mask->Handle());
}

TEST(Controls, AlignedChildrenShareTheClientArea)
{
    auto form = MakeShownForm();
    form->SetClientSize(400, 300);
    auto* top = new TPanel(form.get());
    top->SetParent(form.get());
    top->SetHeight(30);
    top->SetAlign(alTop);
    auto* bottom = new TPanel(form.get());
    bottom->SetParent(form.get());
    bottom->SetHeight(20);
    bottom->SetAlign(alBottom);
    auto* right = new TPanel(form.get());
    right->SetParent(form.get());
    right->SetWidth(100);
    right->SetAlign(alRight);
    auto* client = new TPanel(form.get());
    client->SetParent(form.get());
    client->SetAlign(alClient);
    EXPECT_EQ(top->BoundsRect(), TRect(0, 0, 400, 30));
    EXPECT_EQ(bottom->BoundsRect(), TRect(0, 280, 400, 300));
    EXPECT_EQ(right->BoundsRect(), TRect(300, 30, 400, 280));
    EXPECT_EQ(client->BoundsRect(), TRect(0, 30, 300, 280));
    form->SetClientSize(500, 300);
    EXPECT_EQ(client->BoundsRect(), TRect(0, 30, 400, 280));
}

TEST(Controls, MessagesGoThroughAReplaceableWindowProc)
{
    auto form = MakeShownForm();
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 100, 100);
    std::vector<unsigned> seen;
    TWndMethod old = panel->WindowProc;
    panel->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_USER + 5) {
            seen.push_back(m.Msg);
            m.Result = 42;
            return;
        }
        if (m.Msg == WM_LBUTTONDOWN)
            return; // swallowed: the panel never hears of it
        old(m);
    };
    int downs = 0;
    panel->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { ++downs; };
    EXPECT_EQ(SendMessage(panel->Handle(), WM_USER + 5, 0, 0), 42);
    PostMessage(panel->Handle(), WM_USER + 5, 0, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(seen.size(), 2u);
    QTest::mousePress(panel->Handle(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(panel->Handle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(downs, 0);
    panel->WindowProc = old;
    QTest::mousePress(panel->Handle(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(panel->Handle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(downs, 1);
}

TEST(Controls, ShortcutsRunParentsFirstAndSkipDisabledItems)
{
    auto form = MakeShownForm();
    auto* menu = new TMainMenu(form.get());
    auto* edit = new TMenuItem(form.get());
    edit->SetCaption("Úpravy");
    auto* del = new TMenuItem(form.get());
    del->SetCaption("Smazat objekt");
    del->SetShortCut(ShortCut(VK_DELETE, 0));
    menu->Items()->Add(edit);
    edit->Add(del);
    form->SetMenu(menu);
    std::vector<std::string> calls;
    bool allowDelete = false;
    edit->OnClick = [&](TComponent*) {
        calls.push_back("edit");
        del->SetEnabled(allowDelete);
    };
    del->OnClick = [&](TComponent*) { calls.push_back("delete"); };
    auto* focus = new TEdit(form.get());
    focus->SetParent(form.get());
    focus->SetFocus();
    QTest::keyClick(focus->Handle(), Qt::Key_Delete);
    EXPECT_EQ(calls, (std::vector<std::string>{"edit"}));
    allowDelete = true;
    QTest::keyClick(focus->Handle(), Qt::Key_Delete);
    EXPECT_EQ(calls, (std::vector<std::string>{"edit", "edit", "delete"}));
    // The form's own shortcut handler comes first and may take the key.
    form->OnShortCut = [&](int key, TShiftState, bool& handled) {
        if (key == VK_DELETE) {
            calls.push_back("form");
            handled = true;
        }
    };
    QTest::keyClick(focus->Handle(), Qt::Key_Delete);
    EXPECT_EQ(calls.back(), "form");
    EXPECT_EQ(calls.size(), 4u);
}

TEST(Controls, AShortcutWhoseCommandRaisesRunsOnce)
{
    // A command that asks a question and is cancelled ends with an abort; the
    // question took the focus away meanwhile. The key must not reach the form's
    // shortcuts a second time on its way up through the parents.
    auto form = MakeShownForm();
    auto* menu = new TMainMenu(form.get());
    auto* file = new TMenuItem(form.get());
    file->SetCaption("Soubor");
    auto* item = new TMenuItem(form.get());
    item->SetCaption("Nový");
    item->SetShortCut(ShortCut('N', ssCtrl));
    menu->Items()->Add(file);
    file->Add(item);
    form->SetMenu(menu);
    auto* focus = new TEdit(form.get());
    focus->SetParent(form.get());
    focus->SetFocus();
    int runs = 0;
    item->OnClick = [&](TComponent*) {
        ++runs;
        if (QWidget* w = QApplication::focusWidget())
            w->clearFocus();
        throw EAbort();
    };
    QTest::keyClick(focus->Handle(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(runs, 1);
}

TEST(Controls, EditsTakePunctuationAndAccentedLetters)
{
    // Keys without a virtual-key code reach the control's handlers as 0, and must
    // still be typed; a handler that zeroes a real key still takes it away.
    auto form = MakeShownForm();
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetFocus();
    std::vector<int> seen;
    edit->OnKeyDown = [&](TComponent*, int& key, TShiftState) {
        seen.push_back(key);
        if (key == 'X')
            key = 0;
    };
    // As the window system sends them: the key is the upper-case character.
    for (const QChar c : QString::fromUtf8("Píseň (živě), č. 1/2 x")) {
        const int qtKey = c.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit->Handle(), &press);
        QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit->Handle(), &release);
    }
    EXPECT_EQ(edit->Caption(), QString::fromUtf8("Píseň (živě), č. 1/2 "));
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 'X'), 1);
}

TEST(Controls, DisabledControlsShowGreyedText)
{
    auto form = MakeShownForm();
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 10, 75, 25);
    button->SetCaption("OK");
    auto* check = new TCheckBox(form.get());
    check->SetParent(form.get());
    check->SetBounds(10, 50, 120, 17);
    check->SetCaption("Zobrazovat okraj");
    // The darkest pixel of a control is its text.
    auto darkest = [](TWinControl* c) {
        const QImage image = c->Handle()->grab().toImage();
        int result = 255;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                result = std::min(result, qGray(image.pixel(x, y)));
        return result;
    };
    for (TWinControl* c : std::initializer_list<TWinControl*>{button, check}) {
        const int enabled = darkest(c);
        c->SetEnabled(false);
        EXPECT_GT(darkest(c), enabled + 40) << c->ClassName().toStdString();
        c->SetEnabled(true);
        EXPECT_EQ(darkest(c), enabled);
    }
}

TEST(Controls, KeysWithoutAVirtualKeyCodeReachTheControl)
{
    // Letters of a national keyboard have no virtual-key code; a form with
    // key preview and a key handler must not swallow them.
    auto form = MakeShownForm();
    form->SetKeyPreview(true);
    int seen = 0;
    form->OnKeyDown = [&](TComponent*, int& key, TShiftState) { seen = key; };
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->OnKeyDown = [&](TComponent*, int& key, TShiftState) { seen = key; };
    edit->SetFocus();
    QKeyEvent iacute(QEvent::KeyPress, Qt::Key_Iacute, Qt::NoModifier, QString::fromUtf8("í"));
    QCoreApplication::sendEvent(edit->Handle(), &iacute);
    QKeyEvent rcaron(QEvent::KeyPress, 0x158, Qt::NoModifier, QString::fromUtf8("ř"));
    QCoreApplication::sendEvent(edit->Handle(), &rcaron);
    EXPECT_EQ(edit->Caption(), QString::fromUtf8("íř"));
    EXPECT_EQ(seen, 0);
    QTest::keyClick(edit->Handle(), Qt::Key_A);
    EXPECT_EQ(seen, 'A');
    EXPECT_EQ(edit->Caption(), QString::fromUtf8("ířa"));
}

TEST(Controls, ModalFormEndsWithTheButtonsResult)
{
    auto* dlg = new Form(Application);
    auto* ok = new TButton(dlg);
    ok->SetParent(dlg);
    ok->SetModalResult(mrOk);
    int shows = 0;
    dlg->OnShow = [&](TComponent*) { ++shows; };
    QTimer::singleShot(10, [&] { QTest::mouseClick(ok->Handle(), Qt::LeftButton); });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(dlg->Visible());
    EXPECT_EQ(shows, 1);
    QTimer::singleShot(10, [&] { dlg->Close(); });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    delete dlg;
}

TEST(Controls, CloseQueryCanKeepTheFormOpen)
{
    auto form = MakeShownForm();
    bool allow = false;
    int closes = 0;
    form->OnCloseQuery = [&](TComponent*, bool& canClose) { canClose = allow; };
    form->OnClose = [&](TComponent*, TCloseAction&) { ++closes; };
    form->Close();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(closes, 0);
    allow = true;
    form->Close();
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(closes, 1);
}

TEST(Controls, AnErrorInAHandlerEndsTheCommandWithAMessage)
{
    auto form = MakeShownForm();
    auto* b = new TButton(form.get());
    b->SetParent(form.get());
    b->OnClick = [](TComponent*) { throw EConvertError("'x' is not a valid integer value"); };
    QString shown;
    SetMessageBoxHook([&](const QString& text, const QString&, unsigned flags) {
        shown = text;
        EXPECT_EQ(flags & 0xF0, unsigned(MB_ICONERROR));
        return IDOK;
    });
    QTest::mouseClick(b->Handle(), Qt::LeftButton);
    SetMessageBoxHook(nullptr);
    EXPECT_EQ(shown, "'x' is not a valid integer value.");
    // Memory running out is told in the program's language, not the library's.
    b->OnClick = [](TComponent*) { throw std::bad_alloc(); };
    SetMessageBoxHook([&](const QString& text, const QString&, unsigned) {
        shown = text;
        return IDOK;
    });
    QTest::mouseClick(b->Handle(), Qt::LeftButton);
    SetMessageBoxHook(nullptr);
    EXPECT_EQ(shown, QStringLiteral("Na tuto operaci nemá program dost paměti."));
    // An abort ends the command silently.
    b->OnClick = [](TComponent*) { Abort(); };
    bool asked = false;
    SetMessageBoxHook([&](const QString&, const QString&, unsigned) {
        asked = true;
        return IDOK;
    });
    QTest::mouseClick(b->Handle(), Qt::LeftButton);
    SetMessageBoxHook(nullptr);
    EXPECT_FALSE(asked);
}

TEST(Controls, LabelSizesItselfToItsText)
{
    TLabel l(nullptr);
    l.Font()->SetName("Arial");
    l.Font()->SetSize(20);
    l.SetCaption("Text");
    const int oneLine = l.Height();
    EXPECT_GT(l.Width(), 30);
    l.SetCaption("Text\r\nDruhý řádek");
    EXPECT_EQ(l.Height(), 2 * oneLine);
    l.SetAutoSize(false);
    l.SetCaption("x");
    EXPECT_EQ(l.Height(), 2 * oneLine);

    // "&&" is one ampersand in a caption, two in a plain text.
    TLabel a(nullptr);
    a.SetCaption("A&&B");
    const int accel = a.Width();
    a.SetPlainText(true);
    EXPECT_GT(a.Width(), accel);
    EXPECT_TRUE(a.ShowAccelChar());
    a.SetCaption("A&B");
    const int plain = a.Width();
    a.SetPlainText(false);
    EXPECT_LT(a.Width(), plain);
}

TEST(Controls, ListBoxLinesAndPositions)
{
    auto form = MakeShownForm();
    auto* lb = new TListBox(form.get());
    lb->SetParent(form.get());
    lb->SetBorderStyle(bsNoneBorder);
    lb->SetBounds(0, 0, 100, 60);
    lb->SetItemHeight(13);
    lb->Items()->SetText("a\nb\nc");
    EXPECT_EQ(lb->ItemAtPos(TPoint(5, 14), true), 1);
    EXPECT_EQ(lb->ItemAtPos(TPoint(5, 50), true), -1);
    EXPECT_EQ(lb->ItemAtPos(TPoint(5, 50), false), 3);
    int clicks = 0;
    lb->OnClick = [&](TComponent*) { ++clicks; };
    TestSupport::MouseClick(lb->Handle(), QPoint(5, 28));
    EXPECT_EQ(lb->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(lb->Handle(), &up);
    EXPECT_EQ(lb->ItemIndex(), 1);
}

TEST(Controls, EnterPressesTheDefaultButtonAndEscapeTheCancelButton)
{
    auto* dlg = new Form(Application);
    auto* edit = new TEdit(dlg);
    edit->SetParent(dlg);
    auto* ok = new TButton(dlg);
    ok->SetParent(dlg);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = new TButton(dlg);
    cancel->SetParent(dlg);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    auto press = [&](Qt::Key key) {
        QTimer::singleShot(10, [&, key] {
            edit->SetFocus();
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : edit->Handle();
            QCoreApplication::sendEvent(target, &e);
        });
        return dlg->ShowModal();
    };
    EXPECT_EQ(press(Qt::Key_Return), mrOk);
    EXPECT_EQ(press(Qt::Key_Escape), mrCancel);
    // Enter on a focused button presses that one, not the default.
    auto* other = new TButton(dlg);
    other->SetParent(dlg);
    other->SetModalResult(mrRetry);
    QTimer::singleShot(10, [&] {
        QApplication::setActiveWindow(other->Handle()->window());
        other->SetFocus();
        QKeyEvent e(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : other->Handle();
        QCoreApplication::sendEvent(target, &e);
        if (dlg->ModalResult() == mrNone)
            dlg->SetModalResult(mrNo);
    });
    EXPECT_EQ(dlg->ShowModal(), mrRetry);
    delete dlg;

    // Buttons on the pages of a page control: the shown page's answer.
    auto* paged = new Form(Application);
    auto* pc = new TPageControl(paged);
    pc->SetParent(paged);
    pc->SetBounds(0, 0, 200, 150);
    TButton* pageCancel[2] = {};
    for (int i = 0; i < 2; ++i) {
        auto* sheet = new TTabSheet(paged);
        sheet->SetPageControl(pc);
        pageCancel[i] = new TButton(paged);
        pageCancel[i]->SetParent(sheet);
        pageCancel[i]->SetCancel(true);
        pageCancel[i]->SetModalResult(i == 0 ? mrCancel : mrAbort);
    }
    pc->SetActivePageIndex(1);
    QTimer::singleShot(10, [&] {
        pageCancel[1]->SetFocus();
        QKeyEvent e(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : pageCancel[1]->Handle();
        QCoreApplication::sendEvent(target, &e);
        if (paged->ModalResult() == mrNone)
            paged->SetModalResult(mrNo);
    });
    EXPECT_EQ(paged->ShowModal(), mrAbort);
    delete paged;
}

TEST(Controls, EscapeInQtsDialogOverAFormClosesOnlyThatDialog)
{
    // The form's Cancel button must not take the key of a dialog opened over it.
    auto* dlg = new Form(Application);
    auto* cancel = new TButton(dlg);
    cancel->SetParent(dlg);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    bool chosen = true;
    bool stayedOpen = false;
    int underneath = mrNo;
    QTimer::singleShot(10, [&] {
        QApplication::setActiveWindow(dlg->Window());
        QTimer::singleShot(0, [&] {
            auto* font = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            if (!font)
                return;
            QApplication::setActiveWindow(font);
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && focus->window() == font ? focus : font, Qt::Key_Escape);
            stayedOpen = font->isVisible();
            if (stayedOpen)
                font->reject();
        });
        TFontDialog fd(dlg);
        chosen = fd.Execute();
        underneath = dlg->ModalResult();
        dlg->SetModalResult(mrOk);
    });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(chosen);
    EXPECT_FALSE(stayedOpen);
    EXPECT_EQ(underneath, mrNone);
    delete dlg;
}

// A form with a menu bar: its client starts below the bar, and the controls'
// screen mapping, drops and popups follow the pointer there.
TEST(Controls, DropsAndPopupsLandWhereThePointerIsBelowAMenuBar)
{
    auto form = MakeShownForm();
    auto* menu = new TMainMenu(form.get());
    auto* item = new TMenuItem(menu);
    item->SetCaption("Soubor");
    menu->Items()->Add(item);
    form->SetMenu(menu);
    ASSERT_GT(form->MenuBar()->height(), 0);
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 20, 300, 200);
    auto* shape = new TShape(form.get());
    shape->SetParent(panel);
    shape->SetBounds(150, 30, 100, 60);
    auto* list = new TListBox(form.get());
    list->SetParent(panel);
    list->SetBounds(10, 100, 120, 90);
    auto* source = new TPanel(form.get());
    source->SetParent(panel);
    source->SetBounds(10, 10, 60, 40);
    source->SetDragMode(dmAutomatic);
    QCoreApplication::processEvents();

    const QPoint panelOnScreen = panel->Handle()->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(panel->ClientOrigin().ToQPoint(), panelOnScreen);
    EXPECT_EQ(shape->ClientToScreen(TPoint(5, 6)).ToQPoint(), panelOnScreen + QPoint(155, 36));
    EXPECT_EQ(list->ScreenToClient(TPoint::From(panelOnScreen + QPoint(17, 108))).ToQPoint(), QPoint(7, 8));

    std::vector<std::string> drops;
    for (TControl* target : std::initializer_list<TControl*>{shape, list}) {
        target->OnDragOver = [](TComponent*, TComponent*, int, int, TDragState, bool& accept) { accept = true; };
        target->OnDragDrop = [&drops](TComponent* t, TComponent*, int x, int y) {
            drops.push_back(t->Name().toStdString() + " " + std::to_string(x) + "," + std::to_string(y));
        };
    }
    shape->SetName("shape");
    list->SetName("list");
    auto drag = [&](QPoint to) { // to: in panel coordinates
        TestSupport::TSystemMouse mouse;
        QWidget* p = panel->Handle();
        mouse.Press(p, QPoint(20, 20), 600);
        mouse.Move(p, QPoint(30, 30));
        mouse.Move(p, to);
        mouse.Release(p, to);
    };
    drag(QPoint(170, 70));
    drag(QPoint(40, 150));
    EXPECT_EQ(drops, (std::vector<std::string>{"shape 20,40", "list 30,50"}));

    // A right click opens the control's popup menu at the pointer.
    auto* popup = new TPopupMenu(form.get());
    shape->SetPopupMenu(popup);
    QPoint shownAt;
    TPopupMenu::PopupHook = [&](TPopupMenu*, int x, int y) { shownAt = QPoint(x, y); };
    TestSupport::TSystemMouse mouse;
    mouse.Click(panel->Handle(), QPoint(200, 50), 600, Qt::RightButton);
    TPopupMenu::PopupHook = nullptr;
    EXPECT_EQ(shownAt, panelOnScreen + QPoint(200, 50));
}
