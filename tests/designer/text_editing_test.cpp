#include "designer_fixture.h"
#include "test_support.h"

#include "classlib/forms/dialogs.h"
#include "classlib/forms/menus.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "platform/messages.h"
#include "platform/non_client.h"
#include "skin/skin_data.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QPushButton>
#include <QStyleHints>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

namespace {
TLabel* AddText(TFrmMain* m, const QString& text, int left, int top)
{
    m->AddTextObject(text, 0);
    m->SelectedObject->SetLeft(left);
    m->SelectedObject->SetTop(top);
    return dynamic_cast<TLabel*>(m->SelectedObject);
}

void AddShape(TFrmMain* m, const TRect& r, TColor colour = clWhite)
{
    auto* s = new TShape(m);
    s->SetTag(1);
    s->SetParent(m->PNLCD);
    s->SetBoundsRect(r);
    s->Brush()->SetColor(colour);
    s->Pen()->SetStyle(psClear);
    m->RenumberObjects();
    m->RebuildLayerList();
}

// "Editační mód" from the text popup, with the text selected.
void OpenEditor(TFrmMain* m, TLabel* text)
{
    m->SelectedObject = text;
    m->txt2Click(m->txt2);
}

void TypeAtEnd(TFrmMain* m, const QString& keys)
{
    QPlainTextEdit* e = m->EditMemo->Editor();
    e->moveCursor(QTextCursor::End);
    for (QChar ch : keys)
        ch == QLatin1Char('\n') ? QTest::keyClick(e, Qt::Key_Return) : QTest::keyClicks(e, QString(ch));
}
} // namespace

TEST(TextEditing, TypingFollowsIntoCaptionLayerLineAndSize)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AddShape(m, Bounds(10, 10, 30, 30));
    AddShape(m, Bounds(50, 10, 30, 30));
    TLabel* text = AddText(m, QStringLiteral("Ab"), 60, 90);
    ASSERT_EQ(text->ComponentIndex(), 2);
    OpenEditor(m, text);
    EXPECT_TRUE(m->TextEditMode && m->btnTextMode->Down() && m->EditMemo->Visible());
    EXPECT_FALSE(text->Visible());
    EXPECT_EQ(text->Hint(), QStringLiteral("1"));
    EXPECT_EQ(TPoint(m->EditMemo->Left(), m->EditMemo->Top()), TPoint(60, 90));
    EXPECT_TRUE(m->EditMemo->Font()->Equals(*text->Font()));
    EXPECT_FALSE(m->HK->Visible()); // the frame without the centre lines
    EXPECT_TRUE(m->RT->Visible());
    const int oneLine = text->Height(), editorOneLine = m->EditMemo->Height();
    m->Modified = false;

    TypeAtEnd(m, QStringLiteral("c\nd"));
    EXPECT_EQ(text->Caption(), QStringLiteral("Abc\r\nd"));
    EXPECT_EQ(m->Vrstvy->Items()->Strings(0), QStringLiteral("3:") + QString(18, QLatin1Char(' ')) + "Abc d");
    // One more line of the platform's height for both; the first line stays in view.
    EXPECT_EQ(text->Height(), 2 * oneLine - 1);
    EXPECT_EQ(m->EditMemo->Height(), editorOneLine + oneLine - 1);
    EXPECT_EQ(m->EditMemo->Width(), text->Width() + 7);
    EXPECT_EQ(m->EditMemo->Editor()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(m->RR->Left(), text->Left() + text->Width()); // the frame follows
    EXPECT_TRUE(m->Modified);
    m->RebuildLayerList();
    EXPECT_EQ(m->Vrstvy->Items()->Strings(0), QString(20, QLatin1Char(' ')) + "Abc d");
}

TEST(TextEditing, DelEditsTheTextAndTheFontCommandResizesAtOnce)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    // The window's Delete command, as the main menu carries it.
    auto* del = dynamic_cast<TMenuItem*>(m->FindComponent(QStringLiteral("mnuSmazat")));
    if (!del) {
        m->SetMenu(new TMainMenu(m));
        del = new TMenuItem(m);
        del->SetName(QStringLiteral("mnuSmazat"));
        del->SetShortCut(ShortCut(VK_DELETE, 0));
        del->OnClick = [m](TComponent* s) { m->mnuSmazat1Click(s); };
        m->Menu()->Items()->Add(del);
    }
    TLabel* text = AddText(m, QStringLiteral("Xyz"), 100, 100);
    OpenEditor(m, text);
    EXPECT_EQ(del->ShortCut(), 0);
    // Del on the focused editor passes the window's shortcuts and deletes a letter.
    QApplication::setActiveWindow(m->Window());
    m->EditMemo->SetFocus();
    m->EditMemo->Editor()->moveCursor(QTextCursor::Start);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(m->EditMemo->Editor(), &key);
    EXPECT_EQ(text->Caption(), QStringLiteral("yz"));
    // Text mode with the editor closed: still no Del shortcut.
    m->HideSelectionFrame();
    EXPECT_FALSE(m->IsShortCut(VK_DELETE, 0));
    EXPECT_EQ(m->ObjectCount(), 1);

    TCommonDialog::ExecuteHook = [](TCommonDialog* d) {
        static_cast<TFontDialog*>(d)->Font()->SetSize(40);
        return true;
    };
    const int smallHeight = text->Height();
    m->txt3Click(m->txt3);
    TCommonDialog::ExecuteHook = nullptr;
    EXPECT_EQ(m->EditMemo->Font()->Size(), 40);
    m->SizeLabel->Font()->Assign(text->Font());
    m->SizeLabel->SetCaption(QStringLiteral("yz"));
    EXPECT_EQ(text->BoundsRect(), Bounds(100, 100, m->SizeLabel->Width() + 3, m->SizeLabel->Height() + 1));
    EXPECT_GT(text->Height(), smallHeight * 3 / 2);

    // Object mode gives Del back to the Delete command.
    m->txt1Click(m->txt1);
    EXPECT_TRUE(text->Visible());
    m->Vrstvy->SetItemIndex(0);
    EXPECT_TRUE(m->IsShortCut(VK_DELETE, 0));
    EXPECT_EQ(m->ObjectCount(), 0);
}

TEST(TextEditing, LeavingTheEditorShowsTheTextAgain)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* a = AddText(m, QStringLiteral("A"), 100, 100);
    TLabel* b = AddText(m, QStringLiteral("B"), 100, 200);
    auto left = [&](TLabel* l) { return !m->EditMemo->Visible() && l->Visible() && l->Hint().isEmpty(); };
    // A press on another text moves the editor there.
    OpenEditor(m, a);
    m->LabelMouseDown(b, mbLeft, 0, 1, 1);
    EXPECT_TRUE(a->Visible() && a->Hint().isEmpty());
    EXPECT_EQ(m->EditMemo->Top(), 200);
    // Choosing another layer line.
    m->Vrstvy->SetItemIndex(m->LayerIndexOf(a->ComponentIndex()));
    m->VrstvyClick(m->Vrstvy);
    EXPECT_TRUE(left(b));
    // A click on the empty surface ends text mode as well.
    OpenEditor(m, a);
    m->VK1TClick(m->IMGBck);
    EXPECT_TRUE(left(a));
    EXPECT_FALSE(m->TextEditMode);
    // Opening the editor over an unchanged text changes nothing in the document.
    m->Modified = false;
    OpenEditor(m, a);
    EXPECT_FALSE(m->Modified);
}

TEST(TextEditing, TheEditorShowsThePictureBeneathItsTextWhereTheLabelDrawsIt)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TBitmap stripes;
    stripes.SetSize(m->PNLCD->Width(), m->PNLCD->Height());
    for (int x = 0; x < stripes.Width(); x += 4) {
        stripes.Canvas()->Brush()->SetColor((x / 4) % 2 ? clRed : clTeal);
        stripes.Canvas()->FillRect(TRect(x, 0, x + 4, stripes.Height()));
    }
    m->IMGBck->Picture()->Assign(&stripes);
    AddShape(m, Bounds(200, 30, 30, 80), clYellow);
    TLabel* text = AddText(m, QStringLiteral("Text na\r\nobrázku"), 150, 40); // clear of the mask
    auto shot = [m] {
        for (TShape* s : {m->RT, m->RB, m->RL, m->RR, m->PL, m->PR, m->PLB, m->PRB, m->PT1, m->PB1, m->PL1, m->PR1,
                          m->HK, m->VK})
            s->SetVisible(false);
        const QImage img = m->Window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return img.copy(QRect(m->PNLCD->Handle()->mapTo(m->Window(), QPoint(0, 0)), QSize(461, 461)));
    };
    text->SetVisible(false);
    const QImage beneath = shot();
    text->SetVisible(true);
    const QImage label = shot();
    OpenEditor(m, text);
    const QImage edited = shot();

    const TRect r = m->EditMemo->BoundsRect();
    int same = 0, white = 0;
    QRect inkLabel, inkEditor; // the letters: dark where the design beneath is not
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            same += edited.pixel(x, y) == beneath.pixel(x, y);
            white += edited.pixel(x, y) == qRgb(255, 255, 255);
            if (qGray(beneath.pixel(x, y)) >= 40) {
                inkLabel |= qGray(label.pixel(x, y)) < 40 ? QRect(x, y, 1, 1) : QRect();
                inkEditor |= qGray(edited.pixel(x, y)) < 40 ? QRect(x, y, 1, 1) : QRect();
            }
        }
    EXPECT_GT(same, r.Width() * r.Height() / 2);
    EXPECT_EQ(white, 0);
    ASSERT_GT(inkLabel.height(), 30); // two lines of letters
    EXPECT_NEAR(inkEditor.left(), inkLabel.left(), 1);
    EXPECT_NEAR(inkEditor.top(), inkLabel.top(), 1);
    EXPECT_NEAR(inkEditor.bottom(), inkLabel.bottom(), 1);
    EXPECT_NEAR(inkEditor.right(), inkLabel.right(), 2);
}

TEST(TextEditing, CzechLettersTypeIntoTheEditor)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* text = AddText(m, QStringLiteral("Mo"), 100, 100);
    OpenEditor(m, text);
    QApplication::setActiveWindow(m->Window());
    m->EditMemo->SetFocus();
    m->EditMemo->Editor()->moveCursor(QTextCursor::End);
    // As a Czech keyboard sends them: Latin-1 letters carry their own key
    // code, the others the code of their capital.
    const struct {
        int Key;
        const char* Text;
    } keys[] = {{Qt::Key_Iacute, "í"}, {0x158, "ř"}, {Qt::Key_Eacute, "É"}, {0x17d, "ž"}};
    for (const auto& k : keys) {
        QKeyEvent press(QEvent::KeyPress, k.Key, Qt::NoModifier, QString::fromUtf8(k.Text));
        QCoreApplication::sendEvent(m->EditMemo->Editor(), &press);
    }
    EXPECT_EQ(text->Caption(), QString::fromUtf8("MoířÉž"));
}

// However text mode is entered, Del on the showing editor edits the text and
// never deletes an object, however often it is pressed.
TEST(TextEditing, DelEditsTheTextInEveryWayTextModeIsEntered)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    QApplication::setActiveWindow(m->Window());
    const std::pair<const char*, std::function<void(TLabel*)>> ways[] = {
        {"mode button, then a press on the text",
         [m](TLabel* t) {
             m->btnTextMode->SetDown(true);
             m->btnTextModeClick(m->btnTextMode);
             m->LabelMouseDown(t, mbLeft, 0, 1, 1);
         }},
        {"Editační mód", [m](TLabel* t) { OpenEditor(m, t); }},
        {"double click", [m](TLabel* t) {
             m->LabelMouseDown(t, mbLeft, 0, 1, 1);
             m->LabelDblClick(t);
             m->LabelMouseDown(t, mbLeft, 0, 1, 1); // the double click's second press
         }},
    };
    for (const auto& [name, enter] : ways) {
        SCOPED_TRACE(name);
        m->DeleteObjects(true);
        AddText(m, QStringLiteral("Other"), 10, 10);
        TLabel* text = AddText(m, QStringLiteral("Xyz"), 100, 100);
        enter(text);
        ASSERT_TRUE(m->EditMemo->Visible());
        m->EditMemo->SetFocus();
        m->EditMemo->Editor()->moveCursor(QTextCursor::Start);
        // Real key presses through the application, as the keyboard sends them.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        EXPECT_EQ(text->Caption(), QStringLiteral("z"));
        EXPECT_EQ(m->ObjectCount(), 2);
        m->txt1Click(m->txt1);
    }
}

// A user's double click: press, release, and a second press and release
// within the platform's double-click time, as the window system delivers them;
// on the middle of the text too, where the centre lines of the selection cross.
TEST(TextEditing, ADoubleClickOnATextOpensTheEditorAtAnyGapWithinTheDoubleClickTime)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    QApplication::setActiveWindow(m->Window());
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    for (bool middle : {false, true}) {
        for (int gap : {30, interval / 4, interval / 2, interval * 3 / 4, interval - 30}) {
            SCOPED_TRACE(testing::Message() << "gap " << gap << (middle ? " middle" : " left"));
            m->DeleteObjects(true);
            TLabel* text = AddText(m, QStringLiteral("Dvakrát"), 100, 100);
            m->txt1Click(m->txt1);
            ASSERT_FALSE(m->TextEditMode);
            const QPoint at = middle ? QPoint(text->Left() + text->Width() / 2, text->Top() + text->Height() / 2)
                                     : QPoint(text->Left() + text->Width() / 4, text->Top() + text->Height() / 3);
            TestSupport::TSystemMouse mouse;
            mouse.Click(m->PNLCD->Handle(), at, 1000);
            mouse.Click(m->PNLCD->Handle(), at, gap);
            EXPECT_TRUE(m->TextEditMode);
            ASSERT_TRUE(m->EditMemo->Visible());
            EXPECT_FALSE(text->Visible());
            EXPECT_EQ(m->EditMemo->Editor()->toPlainText(), QStringLiteral("Dvakrát"));
            m->txt1Click(m->txt1);
            EXPECT_TRUE(text->Visible());
        }
    }

    // A text in the corner under the mask, chosen in the layer list: the
    // double click reaches it through the mask's catcher.
    m->DeleteObjects(true);
    TLabel* text = AddText(m, QStringLiteral("Roh"), 4, 4);
    m->txt1Click(m->txt1);
    m->Vrstvy->SetItemIndex(0);
    m->VrstvyClick(m->Vrstvy);
    const QPoint corner(text->Left() + text->Width() / 2, text->Top() + text->Height() / 2);
    QWidget* mask = m->VK1->Handle();
    ASSERT_EQ(m->Window()->childAt(m->Window()->mapFromGlobal(mask->mapToGlobal(corner))), mask);
    TestSupport::TSystemMouse mouse;
    mouse.Click(mask, corner, 1000);
    mouse.Click(mask, corner, interval / 2);
    EXPECT_TRUE(m->TextEditMode);
    EXPECT_TRUE(m->EditMemo->Visible());
}

// A right click on a text or a shape opens its popup menu with the menu's
// corner at the pointer: plain (the window's menu bar above the client) and
// skinned (the skin's frame, caption and menu bar around it).
TEST(TextEditing, TheTextPopupOpensAtThePointerWithAndWithoutTheSkin)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* text = AddText(m, QStringLiteral("Menu"), 120, 90);
    AddShape(m, Bounds(60, 160, 50, 40));
    TControl* shape = nullptr;
    for (int i = 0; i < m->PNLCD->ControlCount(); ++i)
        if (m->PNLCD->Controls(i)->Tag() == 1 && m->PNLCD->Controls(i)->ClassName() == QLatin1String("TShape"))
            shape = m->PNLCD->Controls(i);
    ASSERT_TRUE(shape);
    m->SetObjectHandlers(shape); // its popup, as the shape tool gives it
    m->SkinData1->ReadDefaultSkin(); // no skin archive lies beside the tests
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "plain");
        m->SkinData1->SetActive(skinned);
        QApplication::setActiveWindow(m->Window());
        QTest::qWait(400); // the skin follows a switch after 250 ms
        ASSERT_EQ(NonClientInsets(m->Window()).top() > 0, skinned);
        for (TControl* object : {static_cast<TControl*>(text), shape}) {
            SCOPED_TRACE(object->ClassName().toStdString());
            const QPoint at(object->Left() + 7, object->Top() + 5);
            const QPoint pointer = m->PNLCD->Handle()->mapToGlobal(at);
            QPoint menuAt(-1, -1);
            QTimer poll;
            int polls = 0;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                ++polls;
                if (QWidget* popup = QApplication::activePopupWidget()) {
                    menuAt = popup->geometry().topLeft();
                    popup->close();
                } else if (polls > 100) {
                    poll.stop();
                }
            });
            poll.start(20);
            TestSupport::TSystemMouse mouse;
            mouse.Click(m->PNLCD->Handle(), at, 1000, Qt::RightButton);
            EXPECT_EQ(menuAt.x(), pointer.x());
            EXPECT_EQ(menuAt.y(), pointer.y());
        }
    }
    // Switched off again before the window goes, as the other tests have it.
    m->SkinData1->SetActive(false);
    QTest::qWait(400);
}

TEST(TextEditing, TheFontCommandOpensOnTheTextsFontAndOkKeepsIt)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* text = AddText(m, QStringLiteral("Xyz"), 100, 100);
    text->Font()->SetName(QStringLiteral("Arial"));
    text->Font()->SetSize(20);
    text->Font()->SetStyle(FontStyleBit(fsBold));
    TFont before;
    before.Assign(text->Font());
    m->SelectedObject = text;
    // The real dialog: it shows a bold 20-point face, and OK is clicked.
    bool bold = false;
    int points = 0;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        bold = dlg->currentFont().bold();
        points = dlg->currentFont().pointSize();
        auto* box = dlg->findChild<QDialogButtonBox*>();
        ASSERT_NE(box, nullptr);
        QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    m->txt3Click(m->txt3);
    EXPECT_TRUE(bold);
    EXPECT_EQ(points, 20);
    EXPECT_TRUE(text->Font()->Equals(before)) << text->Font()->Name().toStdString() << " " << text->Font()->Size();
    EXPECT_TRUE(m->EditMemo->Font()->Equals(before));
}
