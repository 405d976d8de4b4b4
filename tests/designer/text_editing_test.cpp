#include "designer_fixture.h"
#include "surface_input.h"

#include "classlib/forms/dialogs.h"
#include "classlib/forms/menus.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "platform/messages.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTest>
#include <gtest/gtest.h>

namespace {
TLabel* AddText(TFrmMain* m, const QString& text)
{
    m->AddTextObject(text, 0);
    return dynamic_cast<TLabel*>(m->SelectedObject);
}

TShape* AddShape(TFrmMain* m, const TRect& r)
{
    auto* s = new TShape(m);
    s->SetTag(1);
    s->SetParent(m->PNLCD);
    s->SetBoundsRect(r);
    m->SetObjectHandlers(s);
    m->RenumberObjects();
    m->RebuildLayerList();
    return s;
}

// Opens the editor over a text through the text popup's "Editační mód".
void OpenEditor(TFrmMain* m, TLabel* text)
{
    m->SelectedObject = text;
    m->txt2Click(m->txt2);
}

QPlainTextEdit* Editor(TFrmMain* m) { return m->EditMemo->Editor(); }

void Type(TFrmMain* m, const QString& keys) { QTest::keyClicks(Editor(m), keys); }

void PressKey(TFrmMain* m, Qt::Key key) { QTest::keyClick(Editor(m), key); }

// The caret to the end of the text.
void CaretToEnd(TFrmMain* m)
{
    QTextCursor c = Editor(m)->textCursor();
    c.movePosition(QTextCursor::End);
    Editor(m)->setTextCursor(c);
}

// The main window's Delete item with its Del shortcut, made here when the
// window has no main menu yet.
TMenuItem* DeleteItem(TFrmMain* m)
{
    if (auto* item = dynamic_cast<TMenuItem*>(m->FindComponent(QStringLiteral("mnuSmazat"))))
        return item;
    auto* menu = new TMainMenu(m);
    auto* edit = new TMenuItem(m);
    edit->SetCaption(QStringLiteral("Úpravy"));
    edit->OnClick = [m](TComponent* s) { m->mnEditClick(s); };
    menu->Items()->Add(edit);
    auto* item = new TMenuItem(m);
    item->SetName(QStringLiteral("mnuSmazat"));
    item->SetCaption(QStringLiteral("Smazat objekt"));
    item->SetShortCut(ShortCut(VK_DELETE, 0));
    item->OnClick = [m](TComponent* s) { m->mnuSmazat1Click(s); };
    edit->Add(item);
    m->SetMenu(menu);
    return item;
}

// The surface as it stands on the screen, in PNLCD client pixels.
QImage SurfaceShot(TFrmMain* m)
{
    const QImage shot = m->Window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint o = m->PNLCD->Handle()->mapTo(m->Window(), QPoint(0, 0));
    return shot.copy(QRect(o, QSize(m->PNLCD->Width(), m->PNLCD->Height())));
}
} // namespace

TEST(TextEditing, TheEditorTakesTheTextsPlaceFontAndCaption)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* text = AddText(m, QStringLiteral("Nápis"));
    ASSERT_NE(text, nullptr);
    text->Font()->SetColor(clBlue);
    text->SetBounds(60, 90, text->Width(), text->Height());
    EXPECT_FALSE(m->EditMemo->Visible());
    EXPECT_FALSE(m->btnTextMode->Visible());
    EXPECT_EQ(m->EditMemo->PopupMenu(), m->PopupMenuTxt);
    EXPECT_TRUE(m->EditMemo->Transparent());

    OpenEditor(m, text);
    EXPECT_TRUE(m->TextEditMode);
    EXPECT_TRUE(m->btnTextMode->Down());
    EXPECT_TRUE(m->EditMemo->Visible());
    EXPECT_TRUE(m->EditorShowing());
    EXPECT_FALSE(text->Visible());
    EXPECT_EQ(text->Hint(), QStringLiteral("1"));
    EXPECT_EQ(m->EditMemo->Caption(), QStringLiteral("Nápis"));
    EXPECT_EQ(m->EditMemo->Left(), 60);
    EXPECT_EQ(m->EditMemo->Top(), 90);
    EXPECT_TRUE(m->EditMemo->Font()->Equals(*text->Font()));
    // Sized to the text: the editor 10 px and the object 3 px wider than its extent.
    m->SizeLabel->Font()->Assign(text->Font());
    m->SizeLabel->SetCaption(text->Caption());
    EXPECT_EQ(m->EditMemo->Width(), m->SizeLabel->Width() + 10);
    EXPECT_EQ(m->EditMemo->Height(), m->SizeLabel->Height() + 1);
    EXPECT_EQ(text->Width(), m->SizeLabel->Width() + 3);
    EXPECT_EQ(text->Height(), m->SizeLabel->Height() + 1);
    // The text starts at the editor's corner, where the object drew it.
    EXPECT_EQ(Editor(m)->document()->documentMargin(), 0.0);
    // The frame, without the centre lines.
    EXPECT_TRUE(m->RT->Visible());
    EXPECT_FALSE(m->HK->Visible());
    EXPECT_FALSE(m->Dragging);
    EXPECT_EQ(m->SelectedObject, text);
}

TEST(TextEditing, TypingFollowsIntoCaptionAndSizeAndASecondLineGrowsByALine)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* text = AddText(m, QStringLiteral("Ab"));
    OpenEditor(m, text);
    m->Modified = false;
    const int oneLine = text->Height();
    const int editorOneLine = m->EditMemo->Height();
    const int width = text->Width();

    CaretToEnd(m);
    Type(m, QStringLiteral("cdef"));
    EXPECT_EQ(text->Caption(), QStringLiteral("Abcdef"));
    EXPECT_GT(text->Width(), width);
    EXPECT_EQ(m->EditMemo->Width(), text->Width() + 7);
    EXPECT_EQ(text->Height(), oneLine);
    EXPECT_TRUE(m->Modified);
    // The frame follows the object.
    EXPECT_EQ(m->RR->Left(), text->Left() + text->Width());

    PressKey(m, Qt::Key_Return);
    Type(m, QStringLiteral("g"));
    EXPECT_EQ(text->Caption(), QStringLiteral("Abcdef\r\ng"));
    const int lineHeight = oneLine - 1;
    EXPECT_EQ(text->Height(), oneLine + lineHeight);
    EXPECT_EQ(m->EditMemo->Height(), editorOneLine + lineHeight);
    // Both lines stay in view: the editor never scrolls its first line away.
    EXPECT_EQ(Editor(m)->verticalScrollBar()->value(), 0);
    EXPECT_EQ(Editor(m)->cursorRect(QTextCursor(Editor(m)->document()->firstBlock())).top(), 0);
    EXPECT_EQ(Editor(m)->document()->blockCount(), 2);

    // A line break at the very end is kept too.
    PressKey(m, Qt::Key_Return);
    EXPECT_EQ(text->Caption(), QStringLiteral("Abcdef\r\ng\r\n"));
    // Backspace takes it away again, and the object shrinks back.
    PressKey(m, Qt::Key_Backspace);
    EXPECT_EQ(text->Caption(), QStringLiteral("Abcdef\r\ng"));
    EXPECT_EQ(text->Height(), oneLine + lineHeight);
}

TEST(TextEditing, ReopeningAnUnchangedTextLeavesTheDocumentUnmodified)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* text = AddText(m, QStringLiteral("Text"));
    OpenEditor(m, text);
    m->txt1Click(m->txt1);
    m->Modified = false;
    OpenEditor(m, text);
    EXPECT_TRUE(m->EditorShowing());
    EXPECT_FALSE(m->Modified);
}

TEST(TextEditing, TheLayerLineWhileEditingAndAfterARebuild)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AddShape(m, Bounds(10, 10, 30, 30));
    AddShape(m, Bounds(50, 10, 30, 30));
    TLabel* text = AddText(m, QStringLiteral("Abc"));
    ASSERT_EQ(text->ComponentIndex(), 2);
    OpenEditor(m, text);
    CaretToEnd(m);
    Type(m, QStringLiteral("d"));
    // The topmost line stands for the text at component index 2.
    EXPECT_EQ(m->Vrstvy->Items()->Strings(0), QStringLiteral("3:") + QString(18, QLatin1Char(' ')) + "Abcd");
    m->RebuildLayerList();
    EXPECT_EQ(m->Vrstvy->Items()->Strings(0), QString(20, QLatin1Char(' ')) + "Abcd");
}

TEST(TextEditing, DelEditsTheTextInTextModeAndNeverDeletesTheObject)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TMenuItem* del = DeleteItem(m);
    TLabel* text = AddText(m, QStringLiteral("Xyz"));
    EXPECT_EQ(del->ShortCut(), ShortCut(VK_DELETE, 0));

    OpenEditor(m, text);
    EXPECT_EQ(del->ShortCut(), 0);
    // The key through the window's shortcut handling reaches the editor.
    QApplication::setActiveWindow(m->Window());
    m->EditMemo->SetFocus();
    QTextCursor c = Editor(m)->textCursor();
    c.movePosition(QTextCursor::Start);
    Editor(m)->setTextCursor(c);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(Editor(m), &press);
    EXPECT_EQ(text->Caption(), QStringLiteral("yz"));
    EXPECT_EQ(m->ObjectCount(), 1);

    // Still in text mode with the editor closed (a handle drag closes it): Del is no shortcut.
    m->HideSelectionFrame();
    ASSERT_TRUE(m->TextEditMode);
    ASSERT_FALSE(m->EditorShowing());
    EXPECT_FALSE(m->IsShortCut(VK_DELETE, 0));
    EXPECT_EQ(m->ObjectCount(), 1);
    // The text popup's Delete is off in text mode.
    m->PopupMenuTxtPopup(m->PopupMenuTxt);
    EXPECT_FALSE(m->mnuSmazat1->Enabled());

    // Object mode gives Del back, and it deletes again.
    m->txt1Click(m->txt1);
    EXPECT_EQ(del->ShortCut(), ShortCut(VK_DELETE, 0));
    m->SelectedObject = text;
    m->Vrstvy->SetItemIndex(0);
    EXPECT_TRUE(m->IsShortCut(VK_DELETE, 0));
    EXPECT_EQ(m->ObjectCount(), 0);
}

TEST(TextEditing, TheFontCommandResizesAtOnceAndCancelChangesNothing)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* text = AddText(m, QStringLiteral("Velký"));
    text->Font()->SetSize(10);
    text->Font()->SetColor(clRed);
    m->FitTextEditor();
    const TRect small = text->BoundsRect();
    m->Modified = false;

    // Cancelled: nothing changes.
    QString startFace;
    TCommonDialog::ExecuteHook = [&](TCommonDialog* d) {
        startFace = static_cast<TFontDialog*>(d)->Font()->Name();
        return false;
    };
    m->txt3Click(m->txt3);
    EXPECT_EQ(startFace, text->Font()->Name()); // the dialog starts from the object's font
    EXPECT_EQ(text->BoundsRect(), small);
    EXPECT_FALSE(m->Modified);

    TCommonDialog::ExecuteHook = [](TCommonDialog* d) {
        static_cast<TFontDialog*>(d)->Font()->SetSize(28);
        return true;
    };
    m->txt3Click(m->txt3);
    TCommonDialog::ExecuteHook = nullptr;
    EXPECT_TRUE(m->Modified);
    EXPECT_EQ(text->Font()->Size(), 28);
    EXPECT_EQ(text->Font()->Color(), clRed); // the colour comes along
    EXPECT_EQ(m->EditMemo->Font()->Size(), 28);
    m->SizeLabel->Font()->Assign(text->Font());
    m->SizeLabel->SetCaption(text->Caption());
    EXPECT_EQ(text->Width(), m->SizeLabel->Width() + 3);
    EXPECT_EQ(text->Height(), m->SizeLabel->Height() + 1);
    EXPECT_GT(text->Height(), small.Height() * 2);
    EXPECT_EQ(text->Left(), small.Left);

    // Nothing selected: the command does nothing.
    m->SelectedObject = m->SizeLabel;
    bool asked = false;
    TCommonDialog::ExecuteHook = [&](TCommonDialog*) { return asked = true; };
    m->txt3Click(m->txt3);
    TCommonDialog::ExecuteHook = nullptr;
    EXPECT_FALSE(asked);
}

TEST(TextEditing, EveryWayOfLeavingShowsTheTextAgain)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* shape = AddShape(m, Bounds(300, 300, 40, 40));
    TLabel* text = AddText(m, QStringLiteral("Text"));
    TLabel* other = AddText(m, QStringLiteral("Jiný"));
    other->SetTop(200);
    auto expectLeft = [&](TLabel* l, const char* how) {
        EXPECT_FALSE(m->EditMemo->Visible()) << how;
        EXPECT_TRUE(l->Visible()) << how;
        EXPECT_TRUE(l->Hint().isEmpty()) << how;
    };

    // Object mode.
    OpenEditor(m, text);
    m->txt1Click(m->txt1);
    expectLeft(text, "object mode");
    EXPECT_FALSE(m->TextEditMode);
    EXPECT_TRUE(m->HK->Visible()); // the centre lines come back

    // A press on another text in text mode moves the editor there.
    OpenEditor(m, text);
    m->LabelMouseDown(other, mbLeft, 0, 5, 5);
    EXPECT_TRUE(text->Visible());
    EXPECT_TRUE(text->Hint().isEmpty());
    EXPECT_FALSE(other->Visible());
    EXPECT_EQ(m->EditMemo->Top(), 200);
    EXPECT_TRUE(m->TextEditMode);

    // A press on a shape ends text mode as well.
    m->ShapeMouseDown(shape, mbLeft, 0, 5, 5);
    expectLeft(other, "press on a shape");
    EXPECT_FALSE(m->TextEditMode);

    // A click on the empty surface.
    OpenEditor(m, text);
    m->VK1TClick(m->IMGBck);
    expectLeft(text, "empty surface");
    EXPECT_FALSE(m->TextEditMode);
    EXPECT_TRUE(m->NothingSelected());

    // A new selection in the layer list, of another object.
    OpenEditor(m, text);
    m->Vrstvy->SetItemIndex(m->LayerIndexOf(shape->ComponentIndex()));
    m->VrstvyClick(m->Vrstvy);
    expectLeft(text, "layer list");
    EXPECT_EQ(m->SelectedObject, shape);

    // A hidden frame.
    OpenEditor(m, text);
    m->HideSelectionFrame();
    expectLeft(text, "hidden frame");
}

TEST(TextEditing, ADoubleClickOnATextOpensTheEditor)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* text = AddText(m, QStringLiteral("Dvojklik"));
    m->VK1TClick(m->IMGBck);
    ASSERT_FALSE(m->TextEditMode);
    const QPoint p(text->Left() + 5, text->Top() + 5);
    TSurfaceMouse mouse(m->PNLCD->Handle());
    QWidget* w = mouse.WindowAt(p);
    TestSupport::MouseDoubleClick(w, w->mapFrom(m->PNLCD->Handle(), p));
    EXPECT_TRUE(m->TextEditMode);
    EXPECT_TRUE(m->EditorShowing());
    EXPECT_FALSE(text->Visible());
    // The editor now lies where the text was: a click there stays in the editor.
    EXPECT_EQ(mouse.WindowAt(p)->parentWidget(), Editor(m));
}

TEST(TextEditing, TheEditorShowsThePictureBeneathItsTextWhereTheLabelDrawsIt)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    // A background of vertical stripes, and a yellow shape under part of the text.
    TBitmap bmp;
    bmp.SetSize(m->PNLCD->Width(), m->PNLCD->Height());
    for (int x = 0; x < bmp.Width(); x += 4) {
        bmp.Canvas()->Brush()->SetColor((x / 4) % 2 ? clRed : clTeal);
        bmp.Canvas()->FillRect(TRect(x, 0, x + 4, bmp.Height()));
    }
    m->IMGBck->Picture()->Assign(&bmp);
    // All of it on the label ring, clear of the mask.
    TShape* shape = AddShape(m, Bounds(200, 30, 30, 80));
    shape->Brush()->SetColor(clYellow);
    shape->Pen()->SetStyle(psClear);
    TLabel* text = AddText(m, QStringLiteral("Text na\r\nobrázku"));
    text->SetLeft(150);
    text->SetTop(40);
    auto hideMarks = [m] {
        for (TShape* s : {m->RT, m->RB, m->RL, m->RR, m->PL, m->PR, m->PLB, m->PRB, m->PT1, m->PB1, m->PL1, m->PR1,
                          m->HK, m->VK})
            s->SetVisible(false);
    };
    hideMarks();
    text->SetVisible(false);
    const QImage beneath = SurfaceShot(m);
    text->SetVisible(true);
    const QImage label = SurfaceShot(m);

    OpenEditor(m, text);
    hideMarks();
    ASSERT_TRUE(m->EditMemo->Visible());
    const QImage edited = SurfaceShot(m);

    // Inside the editor: the design beneath wherever no letter lies, never white.
    const TRect r = m->EditMemo->BoundsRect();
    int same = 0, white = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            same += edited.pixel(x, y) == beneath.pixel(x, y);
            white += edited.pixel(x, y) == qRgb(255, 255, 255);
        }
    EXPECT_GT(same, r.Width() * r.Height() / 2);
    EXPECT_EQ(white, 0);
    EXPECT_EQ(edited.pixel(r.Left + r.Width() - 3, r.Top + 2), beneath.pixel(r.Left + r.Width() - 3, r.Top + 2));

    // The letters stand where the label draws them: the same dark extent, both lines.
    auto inkBox = [&](const QImage& img) {
        QRect box;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (qGray(img.pixel(x, y)) < 40 && qGray(beneath.pixel(x, y)) >= 40)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect inLabel = inkBox(label), inEditor = inkBox(edited);
    ASSERT_FALSE(inLabel.isEmpty());
    ASSERT_FALSE(inEditor.isEmpty());
    EXPECT_GT(inLabel.height(), text->Font()->Size()); // two lines of letters
    EXPECT_NEAR(inEditor.left(), inLabel.left(), 1);
    EXPECT_NEAR(inEditor.right(), inLabel.right(), 2);
    EXPECT_NEAR(inEditor.top(), inLabel.top(), 1);
    EXPECT_NEAR(inEditor.bottom(), inLabel.bottom(), 1);
}
