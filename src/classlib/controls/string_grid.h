#pragma once
// Grids of text cells. The first row may be fixed (it shows as the column
// headers and stays in view) and the first columns may be fixed (grey, not
// editable); the other cells are edited in place when goEditing is set.

#include "classlib/controls/control.h"

#include <QStringList>
#include <vector>

class QTableWidget;
class QTableWidgetItem;

enum TGridOption : unsigned { goEditing = 1 };
using TGridOptions = unsigned;

class TCustomGrid : public TWinControl {
public:
    TV_CLASS_NAME(TCustomGrid)
    explicit TCustomGrid(TComponent* owner);
    ~TCustomGrid() override;

    int ColCount() const { return FColCount; }
    void SetColCount(int count);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int count);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int count);
    // 0 or 1: a fixed row is the header row.
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int count);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int height);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions options);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor color);
    // Ends an edit under way, keeping what was typed.
    void CommitEdit();
    QTableWidget* Table();

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void InitWidget() override;
    void ColorChanged() override;
    const QString& CellText(int col, int row) const;
    void SetCellText(int col, int row, const QString& text);

private:
    void CheckCell(int col, int row) const;
    void ResizeCells();
    void Rebuild();
    void FillCell(int col, int row);
    void CellEdited(QTableWidgetItem* item);

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    std::vector<int> FColWidths;
    TGridOptions FOptions = 0;
    TColor FFixedColor = clBtnFace;
    std::vector<QStringList> FCells; // [row][col]
    bool FSyncing = false;
};

class TStringGrid : public TCustomGrid {
public:
    TV_CLASS_NAME(TStringGrid)
    explicit TStringGrid(TComponent* owner) : TCustomGrid(owner) {}
    // The text of a cell; raises EInvalidOperation outside the grid.
    QString Cells(int col, int row) const { return CellText(col, row); }
    void SetCells(int col, int row, const QString& text) { SetCellText(col, row, text); }
};
