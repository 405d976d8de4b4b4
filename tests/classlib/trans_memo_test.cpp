#include "classlib/controls/trans_memo.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>
#include <memory>

namespace {
struct TMemoOnForm {
    std::unique_ptr<TForm> Form;
    TTransMemo* Memo = nullptr;
    int Changes = 0;
    QString LastText;

    TMemoOnForm()
    {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(40, 40, 300, 200);
        Form->DoCreate();
        Memo = new TTransMemo(Form.get());
        Memo->SetBorderStyle(bsNoneBorder);
        Memo->Font()->SetName(QStringLiteral("Arial"));
        Memo->Font()->SetHeight(-20);
        Memo->OnChange = [this](TComponent*) {
            ++Changes;
            LastText = Memo->Caption();
        };
    }
    void Show()
    {
        Memo->SetParent(Form.get());
        Memo->SetBounds(10, 10, 200, 150);
        Form->Show();
        QTest::qWait(1);
    }
    QPlainTextEdit* Editor() { return Memo->Editor(); }
    QRect LineRect(int block)
    {
        return Editor()->cursorRect(QTextCursor(Editor()->document()->findBlockByNumber(block)));
    }
};

// The height of one line as the platform draws text in this font.
int PlatformLineHeight(const TFont* font)
{
    TLabel measure(nullptr);
    measure.Font()->Assign(font);
    measure.SetCaption(QStringLiteral("X"));
    return measure.Height();
}
} // namespace

TEST(TransMemo, ATrailingLineBreakSurvivesAndTheChangeIsReportedOnce)
{
    TMemoOnForm f;
    // Before the window exists and after.
    f.Memo->SetCaption(QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(f.Changes, 1);
    EXPECT_EQ(f.LastText, QStringLiteral("a\r\nb\r\n"));
    f.Show();
    EXPECT_EQ(f.Memo->Caption(), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(f.Editor()->document()->blockCount(), 3);

    f.Memo->SetCaption(QStringLiteral("x\ny\r\n"));
    EXPECT_EQ(f.Changes, 2);
    EXPECT_EQ(f.LastText, QStringLiteral("x\r\ny\r\n"));
    EXPECT_EQ(f.Memo->Lines()->Count(), 2);
    EXPECT_EQ(f.Memo->Lines()->Strings(1), QStringLiteral("y"));
    // Typing reports through the same event.
    QTest::keyClicks(f.Editor(), QStringLiteral("z"));
    EXPECT_EQ(f.Changes, 3);
}

TEST(TransMemo, LinesLieAsFarApartAsThePlatformDrawsThem)
{
    TMemoOnForm f;
    f.Show();
    const TRect corner = f.Memo->ClientRect();
    f.Memo->Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&corner));
    f.Memo->SetCaption(QStringLiteral("one\r\ntwo\r\nthree"));
    const int h = PlatformLineHeight(f.Memo->Font());
    EXPECT_EQ(f.LineRect(0).top(), 0);
    EXPECT_EQ(f.LineRect(1).top(), h);
    EXPECT_EQ(f.LineRect(2).top(), 2 * h);
    // A bigger font spaces them again.
    f.Memo->Font()->SetHeight(-32);
    const int h2 = PlatformLineHeight(f.Memo->Font());
    EXPECT_GT(h2, h);
    EXPECT_EQ(f.LineRect(2).top(), 2 * h2);
    // Exactly as high as its lines plus one: nothing scrolls away.
    f.Memo->SetHeight(3 * h2 + 1);
    QTextCursor end = f.Editor()->textCursor();
    end.movePosition(QTextCursor::End);
    f.Editor()->setTextCursor(end);
    f.Editor()->ensureCursorVisible();
    EXPECT_EQ(f.LineRect(0).top(), 0);
}

TEST(TransMemo, TheFormattingRectangleMovesTheTextToTheCorner)
{
    TMemoOnForm f;
    f.Show();
    f.Memo->SetCaption(QStringLiteral("Ab"));
    const QRect standard = f.LineRect(0);
    EXPECT_GT(standard.top(), 0);
    const TRect client = f.Memo->ClientRect();
    f.Memo->Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&client));
    EXPECT_EQ(f.LineRect(0).topLeft(), QPoint(0, 0));
    // A rectangle set in from the corner, then the default again.
    const TRect inset(3, 3, client.Right - 3, client.Bottom - 3);
    f.Memo->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&inset));
    EXPECT_EQ(f.LineRect(0).top(), 3);
    f.Memo->Perform(EM_SETRECT, 0, 0);
    EXPECT_EQ(f.LineRect(0).top(), standard.top());
}

TEST(TransMemo, AlignTextStartsLeftAndPlacesTheText)
{
    TMemoOnForm f;
    EXPECT_EQ(f.Memo->AlignText(), taLeftJustify);
    f.Memo->SetAlignText(taCenter); // before the window exists: applied when it is made
    f.Show();
    f.Memo->SetCaption(QStringLiteral("ab"));
    const auto textLeft = [&f] { return f.LineRect(0).left(); };
    const int centred = textLeft();
    EXPECT_GT(centred, 50);
    f.Memo->SetAlignText(taRightJustify);
    EXPECT_GT(textLeft(), centred);
    f.Memo->SetAlignText(taLeftJustify);
    EXPECT_LT(textLeft(), 10);
}

TEST(TransMemo, ARightClickInTheTextShowsThePopupMenu)
{
    TMemoOnForm f;
    f.Show();
    auto* menu = new TPopupMenu(f.Form.get());
    f.Memo->SetPopupMenu(menu);
    TPopupMenu* shown = nullptr;
    TPopupMenu::PopupHook = [&](TPopupMenu* m, int, int) { shown = m; };
    QWidget* vp = f.Editor()->viewport();
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(20, 20), vp->mapToGlobal(QPoint(20, 20)));
    QCoreApplication::sendEvent(vp, &e);
    TPopupMenu::PopupHook = nullptr;
    EXPECT_EQ(shown, menu);
    EXPECT_EQ(menu->PopupComponent(), f.Memo);
}
