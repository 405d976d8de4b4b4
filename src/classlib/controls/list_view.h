#pragma once
// List views in report style: rows of a caption and further column texts
// under column headers, with one selected row.

#include "classlib/controls/control.h"
#include "classlib/strings.h"

#include <memory>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class TCustomListView;

class TListColumn {
public:
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    int Width() const { return FWidth; }
    void SetWidth(int width);
    int Index() const { return FIndex; }

private:
    friend class TCustomListView;
    friend class TListColumns;
    TListColumn(TCustomListView* view, int index) : FView(view), FIndex(index) {}
    TCustomListView* FView;
    int FIndex;
    QString FCaption;
    int FWidth = 50;
};

class TListColumns {
public:
    int Count() const { return static_cast<int>(FColumns.size()); }
    TListColumn* Items(int index) const;
    TListColumn* Add();

private:
    friend class TCustomListView;
    explicit TListColumns(TCustomListView* view) : FView(view) {}
    TCustomListView* FView;
    std::vector<std::unique_ptr<TListColumn>> FColumns;
};

class TListItem {
public:
    ~TListItem();
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    // The texts of the second and later columns.
    TStrings* SubItems() { return &FSubItems; }
    const TStrings* SubItems() const { return &FSubItems; }
    int Index() const;
    TCustomListView* ListView() const { return FView; }

private:
    friend class TListItems;
    friend class TCustomListView;
    explicit TListItem(TCustomListView* view);
    TCustomListView* FView;
    QString FCaption;
    TStringList FSubItems;
};

class TListItems {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    int IndexOf(const TListItem* item) const;
    // A new row at the end.
    TListItem* Add();
    void Delete(int index);
    void Clear();
    // Changes between these two reach the window once, at the end.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }

private:
    friend class TCustomListView;
    explicit TListItems(TCustomListView* view) : FView(view) {}
    TCustomListView* FView;
    std::vector<std::unique_ptr<TListItem>> FItems;
    int FUpdateCount = 0;
};

class TCustomListView : public TWinControl {
public:
    TV_CLASS_NAME(TCustomListView)
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    TListColumns* Columns() { return &FColumns; }
    TListItems* Items() { return &FItems; }
    // The selected row, or nullptr / -1 when none is.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    // Read-only: captions cannot be edited in place.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    // The selection covers the whole row rather than the caption alone.
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool v);
    // The row at a client point (below the header), or nullptr.
    TListItem* GetItemAt(int x, int y);
    QTreeWidget* Tree();

    // Told when the selection moves to another row (or to none).
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void InitWidget() override;
    void ColorChanged() override;

private:
    friend class TListColumn;
    friend class TListColumns;
    friend class TListItem;
    friend class TListItems;
    void ColumnChanged(const TListColumn* column);
    void ItemChanged(const TListItem* item);
    void ItemAdded();
    void ItemRemoved(int index);
    void Rebuild();
    void FillRow(QTreeWidgetItem* row, const TListItem* item) const;
    void ApplyEditing();
    void SelectRowInWidget();
    void SelectionFromWidget();

    TListColumns FColumns;
    TListItems FItems;
    int FItemIndex = -1;
    bool FReadOnly = false;
    bool FRowSelect = false;
    bool FSyncing = false;
};

class TListView : public TCustomListView {
public:
    TV_CLASS_NAME(TListView)
    using TCustomListView::TCustomListView;
};
