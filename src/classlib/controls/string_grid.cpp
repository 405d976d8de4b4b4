#include "classlib/controls/string_grid.h"

#include "classlib/sysutils.h"

#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

namespace {

// The table, with a way to tell whether a cell editor is open.
class TGridTable : public QTableWidget {
public:
    using QTableWidget::QTableWidget;
    bool Editing() const { return state() == QAbstractItemView::EditingState; }
};

} // namespace

TCustomGrid::TCustomGrid(TComponent* owner) : TWinControl(owner)
{
    FWidth = 320;
    FHeight = 120;
    FColor = clWindow;
    FTabStop = true;
    FClickEvents = false;
    ResizeCells();
}

TCustomGrid::~TCustomGrid()
{
    // The table's last signals during its destruction must not reach us.
    FSyncing = true;
}

QTableWidget* TCustomGrid::Table() { return static_cast<QTableWidget*>(Handle()); }

QWidget* TCustomGrid::CreateWidget(QWidget* parent)
{
    auto* table = new TGridTable(parent);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(false);
    table->horizontalHeader()->setSectionsClickable(false);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setWordWrap(false);
    QObject::connect(table, &QTableWidget::itemChanged, table, [this](QTableWidgetItem* item) {
        if (!FSyncing && FWidget)
            CellEdited(item);
    });
    QObject::connect(table->horizontalHeader(), &QHeaderView::sectionResized, table, [this](int section, int, int size) {
        if (!FSyncing && FWidget && section >= 0 && section < FColCount)
            FColWidths[static_cast<size_t>(section)] = size;
    });
    return table;
}

void TCustomGrid::InitWidget()
{
    TWinControl::InitWidget();
    ColorChanged();
    Rebuild();
}

void TCustomGrid::ColorChanged()
{
    if (FWidget) {
        QPalette pal = FWidget->palette();
        pal.setColor(QPalette::Base, ToQColor(FColor));
        FWidget->setPalette(pal);
    }
    TWinControl::ColorChanged();
}

void TCustomGrid::CheckCell(int col, int row) const
{
    if (col < 0 || row < 0 || col >= FColCount || row >= FRowCount)
        throw EInvalidOperation(QStringLiteral("Buňka mřížky je mimo rozsah (%1, %2)").arg(col).arg(row));
}

const QString& TCustomGrid::CellText(int col, int row) const
{
    CheckCell(col, row);
    return FCells[static_cast<size_t>(row)][col];
}

void TCustomGrid::SetCellText(int col, int row, const QString& text)
{
    CheckCell(col, row);
    FCells[static_cast<size_t>(row)][col] = text;
    FillCell(col, row);
}

void TCustomGrid::ResizeCells()
{
    FCells.resize(static_cast<size_t>(FRowCount));
    for (QStringList& cells : FCells) {
        while (cells.size() < FColCount)
            cells.append(QString());
        while (cells.size() > FColCount)
            cells.removeLast();
    }
    FColWidths.resize(static_cast<size_t>(FColCount), FDefaultColWidth);
    FFixedCols = std::min(FFixedCols, std::max(0, FColCount - 1));
    FFixedRows = std::min(FFixedRows, std::max(0, FRowCount - 1));
}

void TCustomGrid::SetColCount(int count)
{
    FColCount = std::max(1, count);
    ResizeCells();
    Rebuild();
}

void TCustomGrid::SetRowCount(int count)
{
    FRowCount = std::max(1, count);
    ResizeCells();
    Rebuild();
}

void TCustomGrid::SetFixedCols(int count)
{
    if (count < 0 || count >= FColCount)
        throw EInvalidOperation(QStringLiteral("Pevných sloupců musí být méně než sloupců"));
    FFixedCols = count;
    Rebuild();
}

void TCustomGrid::SetFixedRows(int count)
{
    if (count < 0 || count > 1 || count >= FRowCount)
        throw EInvalidOperation(QStringLiteral("Pevné řádky mohou být 0 nebo 1 a musí jich být méně než řádků"));
    FFixedRows = count;
    Rebuild();
}

void TCustomGrid::SetDefaultColWidth(int width)
{
    FDefaultColWidth = std::max(0, width);
    std::fill(FColWidths.begin(), FColWidths.end(), FDefaultColWidth);
    Rebuild();
}

void TCustomGrid::SetDefaultRowHeight(int height)
{
    FDefaultRowHeight = std::max(1, height);
    Rebuild();
}

int TCustomGrid::ColWidths(int col) const
{
    CheckCell(col, 0);
    return FColWidths[static_cast<size_t>(col)];
}

void TCustomGrid::SetColWidths(int col, int width)
{
    CheckCell(col, 0);
    FColWidths[static_cast<size_t>(col)] = std::max(0, width);
    if (FWidget) {
        FSyncing = true;
        Table()->horizontalHeader()->resizeSection(col, FColWidths[static_cast<size_t>(col)]);
        FSyncing = false;
    }
}

void TCustomGrid::SetOptions(TGridOptions options)
{
    FOptions = options;
    Rebuild();
}

void TCustomGrid::SetFixedColor(TColor color)
{
    FFixedColor = color;
    Rebuild();
}

void TCustomGrid::Rebuild()
{
    if (!FWidget)
        return;
    FSyncing = true;
    QTableWidget* table = Table();
    table->setColumnCount(FColCount);
    table->setRowCount(FRowCount - FFixedRows);
    table->verticalHeader()->setMinimumSectionSize(1);
    table->verticalHeader()->setDefaultSectionSize(FDefaultRowHeight);
    table->horizontalHeader()->setVisible(FFixedRows > 0);
    table->horizontalHeader()->setFixedHeight(FDefaultRowHeight);
    // As the platform's grid: typing, F2, a double click or a click on the
    // current cell opens the editor; moving to a cell does not.
    table->setEditTriggers((FOptions & goEditing) ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                                        QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                                                  : QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < FColCount; ++c)
        table->horizontalHeader()->resizeSection(c, FColWidths[static_cast<size_t>(c)]);
    FSyncing = false;
    for (int r = 0; r < FRowCount; ++r)
        for (int c = 0; c < FColCount; ++c)
            FillCell(c, r);
}

void TCustomGrid::FillCell(int col, int row)
{
    if (!FWidget)
        return;
    FSyncing = true;
    QTableWidget* table = Table();
    const QString& text = FCells[static_cast<size_t>(row)][col];
    if (row < FFixedRows) {
        QTableWidgetItem* header = table->horizontalHeaderItem(col);
        if (!header) {
            header = new QTableWidgetItem();
            table->setHorizontalHeaderItem(col, header);
        }
        header->setText(text);
    } else {
        QTableWidgetItem* item = table->item(row - FFixedRows, col);
        if (!item) {
            item = new QTableWidgetItem();
            table->setItem(row - FFixedRows, col, item);
        }
        item->setText(text);
        if (col < FFixedCols) {
            item->setFlags(Qt::ItemIsEnabled);
            item->setBackground(ToQColor(FFixedColor));
        } else {
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (FOptions & goEditing)
                flags |= Qt::ItemIsEditable;
            item->setFlags(flags);
            item->setData(Qt::BackgroundRole, QVariant());
        }
    }
    FSyncing = false;
}

void TCustomGrid::CellEdited(QTableWidgetItem* item)
{
    const int row = item->row() + FFixedRows;
    const int col = item->column();
    if (row < FFixedRows || row >= FRowCount || col < 0 || col >= FColCount)
        return;
    FCells[static_cast<size_t>(row)][col] = item->text();
}

void TCustomGrid::CommitEdit()
{
    if (!FWidget)
        return;
    auto* table = static_cast<TGridTable*>(Table());
    if (!table->Editing())
        return;
    // Moving the current cell away commits the open editor, as a click elsewhere would.
    const QModelIndex current = table->currentIndex();
    table->setCurrentIndex(QModelIndex());
    table->setCurrentIndex(current);
}
