#include "classlib/controls/list_view.h"

#include "classlib/sysutils.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

// ---------------------------------------------------------------- columns

void TListColumn::SetCaption(const QString& caption)
{
    FCaption = caption;
    FView->ColumnChanged(this);
}

void TListColumn::SetWidth(int width)
{
    FWidth = std::max(0, width);
    FView->ColumnChanged(this);
}

TListColumn* TListColumns::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EInvalidOperation(QStringLiteral("Položka seznamu %1 neexistuje").arg(index));
    return FColumns[static_cast<size_t>(index)].get();
}

TListColumn* TListColumns::Add()
{
    FColumns.push_back(std::unique_ptr<TListColumn>(new TListColumn(FView, Count())));
    TListColumn* column = FColumns.back().get();
    FView->ColumnChanged(column);
    return column;
}

// ---------------------------------------------------------------- items

TListItem::TListItem(TCustomListView* view) : FView(view)
{
    FSubItems.OnChange = [this](TStrings*) { FView->ItemChanged(this); };
}

TListItem::~TListItem() { FSubItems.OnChange = nullptr; }

void TListItem::SetCaption(const QString& caption)
{
    FCaption = caption;
    FView->ItemChanged(this);
}

int TListItem::Index() const { return FView->Items()->IndexOf(this); }

TListItem* TListItems::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw EInvalidOperation(QStringLiteral("Položka seznamu %1 neexistuje").arg(index));
    return FItems[static_cast<size_t>(index)].get();
}

int TListItems::IndexOf(const TListItem* item) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

TListItem* TListItems::Add()
{
    FItems.push_back(std::unique_ptr<TListItem>(new TListItem(FView)));
    FView->ItemAdded();
    return FItems.back().get();
}

void TListItems::Delete(int index)
{
    Item(index); // range check
    FItems.erase(FItems.begin() + index);
    FView->ItemRemoved(index);
}

void TListItems::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    FView->ItemRemoved(-1);
}

void TListItems::BeginUpdate() { ++FUpdateCount; }

void TListItems::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        FView->Rebuild();
}

// ---------------------------------------------------------------- the view

TCustomListView::TCustomListView(TComponent* owner) : TWinControl(owner), FColumns(this), FItems(this)
{
    FWidth = 250;
    FHeight = 150;
    FColor = clWindow;
    FTabStop = true;
    FClickEvents = false;
}

TCustomListView::~TCustomListView()
{
    // Rows go before the window, without telling it; the window's last signals
    // find no widget (FWidget is cleared before it is deleted) and do nothing.
    FSyncing = true;
    FItems.FUpdateCount = 1;
    FItems.FItems.clear();
}

QTreeWidget* TCustomListView::Tree() { return static_cast<QTreeWidget*>(Handle()); }

QWidget* TCustomListView::CreateWidget(QWidget* parent)
{
    auto* tree = new QTreeWidget(parent);
    tree->setRootIsDecorated(false);
    tree->setItemsExpandable(false);
    tree->setUniformRowHeights(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionsMovable(false);
    QObject::connect(tree, &QTreeWidget::itemSelectionChanged, tree, [this] { SelectionFromWidget(); });
    QObject::connect(tree, &QTreeWidget::itemDoubleClicked, tree, [this](QTreeWidgetItem*, int) {
        if (FWidget)
            SafeCall([this] { DblClick(); });
    });
    QObject::connect(tree, &QTreeWidget::itemChanged, tree, [this](QTreeWidgetItem* row, int column) {
        if (FSyncing || !FWidget || column != 0)
            return;
        const int index = Tree()->indexOfTopLevelItem(row);
        if (index >= 0 && index < FItems.Count())
            FItems.Item(index)->FCaption = row->text(0);
    });
    QObject::connect(tree->header(), &QHeaderView::sectionResized, tree, [this](int section, int, int size) {
        if (!FSyncing && FWidget && section >= 0 && section < FColumns.Count())
            FColumns.Items(section)->FWidth = size;
    });
    return tree;
}

void TCustomListView::InitWidget()
{
    TWinControl::InitWidget();
    ColorChanged();
    ApplyEditing();
    Rebuild();
}

void TCustomListView::ColorChanged()
{
    if (FWidget) {
        QPalette pal = FWidget->palette();
        pal.setColor(QPalette::Base, ToQColor(FColor));
        FWidget->setPalette(pal);
    }
    TWinControl::ColorChanged();
}

void TCustomListView::ApplyEditing()
{
    if (!FWidget)
        return;
    Tree()->setEditTriggers(FReadOnly ? QAbstractItemView::NoEditTriggers
                                      : QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    Tree()->setAllColumnsShowFocus(FRowSelect);
}

void TCustomListView::SetReadOnly(bool v)
{
    FReadOnly = v;
    ApplyEditing();
    Rebuild();
}

void TCustomListView::SetRowSelect(bool v)
{
    FRowSelect = v;
    ApplyEditing();
    Invalidate();
}

void TCustomListView::FillRow(QTreeWidgetItem* row, const TListItem* item) const
{
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (!FReadOnly)
        flags |= Qt::ItemIsEditable;
    row->setFlags(flags);
    row->setText(0, item->Caption());
    const int columns = std::max(1, FColumns.Count());
    for (int c = 1; c < columns; ++c)
        row->setText(c, c - 1 < item->SubItems()->Count() ? item->SubItems()->Strings(c - 1) : QString());
}

void TCustomListView::Rebuild()
{
    if (!FWidget || FItems.Updating())
        return;
    FSyncing = true;
    QTreeWidget* tree = Tree();
    tree->clear();
    QStringList headers;
    for (int c = 0; c < FColumns.Count(); ++c)
        headers.append(FColumns.Items(c)->Caption());
    tree->setColumnCount(std::max(1, FColumns.Count()));
    tree->setHeaderLabels(headers);
    tree->setHeaderHidden(FColumns.Count() == 0);
    for (int c = 0; c < FColumns.Count(); ++c)
        tree->header()->resizeSection(c, FColumns.Items(c)->Width());
    QList<QTreeWidgetItem*> rows;
    rows.reserve(FItems.Count());
    for (int i = 0; i < FItems.Count(); ++i) {
        auto* row = new QTreeWidgetItem();
        FillRow(row, FItems.Item(i));
        rows.append(row);
    }
    tree->addTopLevelItems(rows);
    FSyncing = false;
    SelectRowInWidget();
}

void TCustomListView::ColumnChanged(const TListColumn* column)
{
    if (!FWidget || FItems.Updating())
        return;
    if (column->Index() >= Tree()->columnCount()) {
        Rebuild();
        return;
    }
    FSyncing = true;
    Tree()->headerItem()->setText(column->Index(), column->Caption());
    Tree()->header()->resizeSection(column->Index(), column->Width());
    FSyncing = false;
}

void TCustomListView::ItemChanged(const TListItem* item)
{
    if (!FWidget || FItems.Updating())
        return;
    const int index = FItems.IndexOf(item);
    if (index < 0)
        return; // not yet in the list
    if (QTreeWidgetItem* row = Tree()->topLevelItem(index)) {
        FSyncing = true;
        FillRow(row, item);
        FSyncing = false;
    }
}

void TCustomListView::ItemAdded()
{
    if (!FWidget || FItems.Updating())
        return;
    FSyncing = true;
    auto* row = new QTreeWidgetItem();
    FillRow(row, FItems.Item(FItems.Count() - 1));
    Tree()->addTopLevelItem(row);
    FSyncing = false;
}

void TCustomListView::ItemRemoved(int index)
{
    const int old = FItemIndex;
    if (index < 0 || index == FItemIndex)
        FItemIndex = -1;
    else if (index < FItemIndex)
        --FItemIndex;
    if (FWidget && !FItems.Updating()) {
        FSyncing = true;
        if (index < 0)
            Tree()->clear();
        else
            delete Tree()->takeTopLevelItem(index);
        FSyncing = false;
        SelectRowInWidget();
    }
    if (old != FItemIndex && FItemIndex < 0 && OnChange)
        OnChange(this);
}

TListItem* TCustomListView::Selected() const
{
    return FItemIndex >= 0 && FItemIndex < FItems.Count() ? FItems.Item(FItemIndex) : nullptr;
}

void TCustomListView::SetSelected(TListItem* item) { SetItemIndex(item ? FItems.IndexOf(item) : -1); }

void TCustomListView::SetItemIndex(int index)
{
    if (index < -1 || index >= FItems.Count())
        index = -1;
    const bool changed = index != FItemIndex;
    FItemIndex = index;
    SelectRowInWidget();
    if (changed && OnChange)
        OnChange(this);
}

void TCustomListView::SelectRowInWidget()
{
    if (!FWidget || FItems.Updating())
        return;
    FSyncing = true;
    QTreeWidget* tree = Tree();
    tree->clearSelection();
    if (QTreeWidgetItem* row = FItemIndex >= 0 ? tree->topLevelItem(FItemIndex) : nullptr) {
        tree->setCurrentItem(row);
        row->setSelected(true);
        tree->scrollToItem(row);
    }
    FSyncing = false;
}

void TCustomListView::SelectionFromWidget()
{
    if (FSyncing || !FWidget)
        return;
    const QList<QTreeWidgetItem*> rows = Tree()->selectedItems();
    const int index = rows.isEmpty() ? -1 : Tree()->indexOfTopLevelItem(rows.first());
    if (index == FItemIndex)
        return;
    FItemIndex = index;
    if (OnChange)
        SafeCall([this] { OnChange(this); });
}

TListItem* TCustomListView::GetItemAt(int x, int y)
{
    QTreeWidget* tree = Tree();
    const QPoint p = tree->viewport()->mapFrom(tree, QPoint(x, y));
    QTreeWidgetItem* row = tree->itemAt(p);
    const int index = row ? tree->indexOfTopLevelItem(row) : -1;
    return index >= 0 && index < FItems.Count() ? FItems.Item(index) : nullptr;
}
