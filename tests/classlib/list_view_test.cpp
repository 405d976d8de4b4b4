#include "classlib/controls/list_view.h"
#include "classlib/forms/form.h"
#include "classlib/sysutils.h"
#include "test_support.h"

#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace TestSupport;

namespace {

struct ListForm {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TListView* View = nullptr;
    explicit ListForm(bool createWidgetFirst)
    {
        Form->SetBounds(40, 40, 420, 300);
        View = new TListView(Form.get());
        if (createWidgetFirst)
            View->SetParent(Form.get());
        View->SetBounds(8, 8, 392, 200);
        View->SetReadOnly(true);
        auto* a = View->Columns()->Add();
        a->SetCaption(QStringLiteral("Název"));
        a->SetWidth(150);
        auto* b = View->Columns()->Add();
        b->SetCaption(QStringLiteral("Autor"));
        b->SetWidth(120);
        if (!createWidgetFirst)
            View->SetParent(Form.get());
        Form->Show();
        QTest::qWait(1);
    }
    void AddRow(const QString& caption, const QString& sub)
    {
        TListItem* item = View->Items()->Add();
        item->SetCaption(caption);
        item->SubItems()->Add(sub);
    }
    QTreeWidget* Tree() { return View->Tree(); }
    QPoint RowPoint(int row) { return Tree()->visualItemRect(Tree()->topLevelItem(row)).center(); }
};

QStringList RowTexts(QTreeWidget* tree, int row)
{
    QStringList texts;
    for (int c = 0; c < tree->columnCount(); ++c)
        texts.append(tree->topLevelItem(row)->text(c));
    return texts;
}

} // namespace

TEST(ListView, ColumnsAndRowsReachTheWindowWhicheverIsMadeFirst)
{
    for (bool widgetFirst : {true, false}) {
        ListForm f(widgetFirst);
        f.AddRow(QStringLiteral("Album"), QStringLiteral("Artist"));
        f.AddRow(QStringLiteral("Second"), QStringLiteral("Band"));
        QTreeWidget* tree = f.Tree();
        ASSERT_EQ(tree->columnCount(), 2);
        EXPECT_EQ(tree->headerItem()->text(0), QStringLiteral("Název"));
        EXPECT_EQ(tree->headerItem()->text(1), QStringLiteral("Autor"));
        EXPECT_EQ(tree->header()->sectionSize(0), 150);
        EXPECT_EQ(tree->header()->sectionSize(1), 120);
        ASSERT_EQ(tree->topLevelItemCount(), 2);
        EXPECT_EQ(RowTexts(tree, 1), QStringList({QStringLiteral("Second"), QStringLiteral("Band")}));
        // Later changes of a row follow.
        f.View->Items()->Item(0)->SetCaption(QStringLiteral("Renamed"));
        f.View->Items()->Item(0)->SubItems()->Put(0, QStringLiteral("Other"));
        EXPECT_EQ(RowTexts(tree, 0), QStringList({QStringLiteral("Renamed"), QStringLiteral("Other")}));
        // Read-only rows cannot be edited.
        EXPECT_FALSE(tree->topLevelItem(0)->flags() & Qt::ItemIsEditable);
        EXPECT_EQ(tree->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
}

TEST(ListView, UpdatesBetweenBeginAndEndReachTheWindowAtTheEnd)
{
    ListForm f(true);
    f.AddRow(QStringLiteral("old"), QStringLiteral("x"));
    TListItems* items = f.View->Items();
    items->BeginUpdate();
    items->Clear();
    f.AddRow(QStringLiteral("a"), QStringLiteral("1"));
    f.AddRow(QStringLiteral("b"), QStringLiteral("2"));
    f.AddRow(QStringLiteral("c"), QStringLiteral("3"));
    // The window still shows the old contents.
    ASSERT_EQ(f.Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(f.Tree()->topLevelItem(0)->text(0), QStringLiteral("old"));
    items->EndUpdate();
    ASSERT_EQ(f.Tree()->topLevelItemCount(), 3);
    EXPECT_EQ(RowTexts(f.Tree(), 2), QStringList({QStringLiteral("c"), QStringLiteral("3")}));
    EXPECT_EQ(items->Count(), 3);
    EXPECT_EQ(items->Item(1)->Index(), 1);
    EXPECT_THROW(items->Item(3), EInvalidOperation);
}

TEST(ListView, SelectionByClickAndByCodeAndWhatDeletionDoesToIt)
{
    ListForm f(true);
    for (const char* t : {"a", "b", "c", "d"})
        f.AddRow(QString::fromLatin1(t), QString());
    int changes = 0;
    f.View->OnChange = [&](TComponent* s) {
        EXPECT_EQ(s, f.View);
        ++changes;
    };
    EXPECT_EQ(f.View->Selected(), nullptr);
    EXPECT_EQ(f.View->ItemIndex(), -1);

    MouseClick(f.Tree()->viewport(), f.RowPoint(2));
    EXPECT_EQ(f.View->ItemIndex(), 2);
    EXPECT_EQ(f.View->Selected(), f.View->Items()->Item(2));
    EXPECT_EQ(changes, 1);

    f.View->SetItemIndex(3);
    EXPECT_TRUE(f.Tree()->topLevelItem(3)->isSelected());
    EXPECT_FALSE(f.Tree()->topLevelItem(2)->isSelected());
    EXPECT_EQ(changes, 2);

    // A row above the selection goes: the selection stays on its row.
    f.View->Items()->Delete(0);
    EXPECT_EQ(f.View->ItemIndex(), 2);
    EXPECT_EQ(f.View->Selected()->Caption(), QStringLiteral("d"));
    EXPECT_TRUE(f.Tree()->topLevelItem(2)->isSelected());
    // The selected row goes: nothing is selected.
    f.View->Items()->Delete(2);
    EXPECT_EQ(f.View->ItemIndex(), -1);
    EXPECT_EQ(f.View->Selected(), nullptr);
    EXPECT_EQ(changes, 3);

    f.View->SetItemIndex(1);
    f.View->Items()->Clear();
    EXPECT_EQ(f.View->ItemIndex(), -1);
    EXPECT_EQ(f.Tree()->topLevelItemCount(), 0);
    // Out of range means none.
    f.AddRow(QStringLiteral("z"), QString());
    f.View->SetItemIndex(5);
    EXPECT_EQ(f.View->ItemIndex(), -1);
}

TEST(ListView, DoubleClickOnARowReportsOnceAndGetItemAtFindsTheRow)
{
    ListForm f(true);
    f.AddRow(QStringLiteral("a"), QString());
    f.AddRow(QStringLiteral("b"), QString());
    int dbl = 0;
    f.View->OnDblClick = [&](TComponent*) { ++dbl; };
    MouseDoubleClick(f.Tree()->viewport(), f.RowPoint(1));
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(f.View->ItemIndex(), 1);
    // Below the last row there is none.
    const QPoint below = f.Tree()->viewport()->mapTo(f.Tree(), QPoint(20, f.Tree()->viewport()->height() - 3));
    EXPECT_EQ(f.View->GetItemAt(below.x(), below.y()), nullptr);
    const QPoint row0 = f.Tree()->viewport()->mapTo(f.Tree(), f.RowPoint(0));
    EXPECT_EQ(f.View->GetItemAt(row0.x(), row0.y()), f.View->Items()->Item(0));
}

TEST(ListView, EditableCaptionsComeBackFromTheWindow)
{
    ListForm f(true);
    f.View->SetReadOnly(false);
    f.AddRow(QStringLiteral("a"), QString());
    QTreeWidgetItem* row = f.Tree()->topLevelItem(0);
    EXPECT_TRUE(row->flags() & Qt::ItemIsEditable);
    row->setText(0, QStringLiteral("typed"));
    EXPECT_EQ(f.View->Items()->Item(0)->Caption(), QStringLiteral("typed"));
}
