#include "classlib/controls/trans_memo.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <gtest/gtest.h>
#include <memory>

namespace {
struct TMemoOnForm {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TTransMemo* Memo = new TTransMemo(Form.get());
    QStringList Changes;

    TMemoOnForm()
    {
        Memo->SetBorderStyle(bsNoneBorder);
        Memo->Font()->SetHeight(-20);
        Memo->OnChange = [this](TComponent*) { Changes << Memo->Caption(); };
    }
    void Show()
    {
        Form->SetBounds(40, 40, 300, 200);
        Form->DoCreate();
        Memo->SetParent(Form.get());
        Memo->SetBounds(10, 10, 200, 150);
        Form->Show();
    }
};
} // namespace

TEST(TransMemo, ATrailingLineBreakSurvivesBeforeAndAfterTheWindowIsMade)
{
    TMemoOnForm f;
    f.Memo->SetCaption(QStringLiteral("a\r\nb\r\n"));
    f.Show();
    EXPECT_EQ(f.Memo->Caption(), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(f.Memo->Editor()->document()->blockCount(), 3);
    f.Memo->SetCaption(QStringLiteral("x\ny\r\n"));
    EXPECT_EQ(f.Changes, QStringList({"a\r\nb\r\n", "x\r\ny\r\n"})); // once each, whole
}

TEST(TransMemo, ARightClickInTheTextShowsThePopupMenu)
{
    TMemoOnForm f;
    f.Show();
    auto* menu = new TPopupMenu(f.Form.get());
    f.Memo->SetPopupMenu(menu);
    TPopupMenu* shown = nullptr;
    TPopupMenu::PopupHook = [&](TPopupMenu* m, int, int) { shown = m; };
    QWidget* vp = f.Memo->Editor()->viewport();
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(20, 20), vp->mapToGlobal(QPoint(20, 20)));
    QCoreApplication::sendEvent(vp, &e);
    TPopupMenu::PopupHook = nullptr;
    EXPECT_EQ(shown, menu);
    EXPECT_EQ(menu->PopupComponent(), f.Memo);
}
