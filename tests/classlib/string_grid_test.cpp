#include "classlib/controls/string_grid.h"
#include "classlib/forms/form.h"
#include "classlib/sysutils.h"
#include "test_support.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct GridForm {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TStringGrid* Grid = nullptr;
    GridForm()
    {
        Form->SetBounds(40, 40, 400, 300);
        Grid = new TStringGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(8, 8, 312, 150);
        Grid->SetColCount(2);
        Grid->SetRowCount(4);
        Grid->SetFixedCols(1);
        Grid->SetFixedRows(1);
        Grid->SetDefaultRowHeight(20);
        Grid->SetColWidths(0, 40);
        Grid->SetColWidths(1, 269);
        Grid->SetOptions(goEditing);
        Form->Show();
        QTest::qWait(1);
    }
    QTableWidget* Table() { return Grid->Table(); }
};

} // namespace

TEST(StringGrid, TheFixedRowIsTheHeaderAndTheFixedColumnIsNotEditable)
{
    GridForm f;
    f.Grid->SetCells(0, 0, QStringLiteral("Stopa"));
    f.Grid->SetCells(1, 0, QStringLiteral("Název"));
    f.Grid->SetCells(0, 1, QStringLiteral("1"));
    f.Grid->SetCells(1, 1, QStringLiteral("Intro"));
    QTableWidget* t = f.Table();
    ASSERT_EQ(t->columnCount(), 2);
    ASSERT_EQ(t->rowCount(), 3);
    EXPECT_EQ(t->horizontalHeaderItem(0)->text(), QStringLiteral("Stopa"));
    EXPECT_EQ(t->horizontalHeaderItem(1)->text(), QStringLiteral("Název"));
    EXPECT_TRUE(t->horizontalHeader()->isVisible());
    EXPECT_EQ(t->horizontalHeader()->height(), 20);
    EXPECT_EQ(t->rowHeight(0), 20);
    EXPECT_EQ(t->columnWidth(0), 40);
    EXPECT_EQ(t->columnWidth(1), 269);
    EXPECT_EQ(t->item(0, 0)->text(), QStringLiteral("1"));
    EXPECT_EQ(t->item(0, 1)->text(), QStringLiteral("Intro"));
    EXPECT_FALSE(t->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(t->item(0, 1)->flags() & Qt::ItemIsEditable);
    // Without goEditing nothing is editable.
    f.Grid->SetOptions(0);
    EXPECT_FALSE(t->item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(t->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(StringGrid, RowCountKeepsTheCellsThatRemainAndBoundsAreChecked)
{
    GridForm f;
    f.Grid->SetCells(1, 3, QStringLiteral("last"));
    f.Grid->SetCells(1, 1, QStringLiteral("first"));
    f.Grid->SetRowCount(6);
    EXPECT_EQ(f.Grid->Cells(1, 3), QStringLiteral("last"));
    EXPECT_EQ(f.Grid->Cells(1, 5), QString());
    EXPECT_EQ(f.Table()->rowCount(), 5);
    f.Grid->SetRowCount(2);
    EXPECT_EQ(f.Grid->Cells(1, 1), QStringLiteral("first"));
    EXPECT_THROW(f.Grid->Cells(1, 2), EInvalidOperation);
    EXPECT_THROW(f.Grid->SetCells(2, 0, QStringLiteral("x")), EInvalidOperation);
    EXPECT_THROW(f.Grid->Cells(-1, 0), EInvalidOperation);
    EXPECT_THROW(f.Grid->SetFixedRows(2), EInvalidOperation);
    EXPECT_THROW(f.Grid->SetFixedCols(2), EInvalidOperation);
    // Down to one row the fixed row goes, as no row would be left to edit.
    f.Grid->SetRowCount(1);
    EXPECT_EQ(f.Grid->FixedRows(), 0);
    EXPECT_FALSE(f.Table()->horizontalHeader()->isVisible());
}

TEST(StringGrid, TextTypedIntoACellIsKeptAlsoWhenTheEditorIsStillOpen)
{
    GridForm f;
    QTableWidget* t = f.Table();
    // Edited and finished in the window.
    t->item(1, 1)->setText(QStringLiteral("from the window"));
    EXPECT_EQ(f.Grid->Cells(1, 2), QStringLiteral("from the window"));

    // An editor left open: CommitEdit keeps what was typed.
    t->setFocus();
    t->setCurrentCell(0, 1);
    t->editItem(t->item(0, 1));
    QTest::qWait(1);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!editor)
        editor = t->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("typed"));
    EXPECT_EQ(f.Grid->Cells(1, 1), QString());
    f.Grid->CommitEdit();
    EXPECT_EQ(f.Grid->Cells(1, 1), QStringLiteral("typed"));
    // Nothing open: nothing happens.
    f.Grid->CommitEdit();
    EXPECT_EQ(f.Grid->Cells(1, 1), QStringLiteral("typed"));
}
