#pragma once
// Menus: items with captions, shortcuts, check marks and click handlers, the
// main menu of a form (shown as its menu bar) and popup menus.

#include "classlib/component.h"
#include "classlib/forms/form.h"

#include <QPointer>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class TImageList;
class TMenu;

class TMenuItem : public TComponent {
public:
    TV_CLASS_NAME(TMenuItem)
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    bool IsLine() const { return FCaption == QLatin1String("-"); }
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut sc);
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& hint) { FHint = hint; }
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool v) { FRadioItem = v; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int g) { FGroupIndex = g; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool v) { FAutoCheck = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int i);

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
    TMenuItem* Parent() const { return FParentItem; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    void Delete(int index);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    int MenuIndex() const { return FParentItem ? FParentItem->IndexOf(this) : -1; }
    TMenu* Menu() const;

    TNotifyEvent OnClick;
    virtual void Click();

    // The item's command identifier (its QAction's "tvCommand"; WM_COMMAND's wParam).
    unsigned Command() const { return FCommand; }
    // This item or the item below it with that command; null when none.
    TMenuItem* FindByCommand(unsigned command);

    // The Qt objects that show this item.
    QAction* Action();
    QMenu* SubMenu();
    void FillMenu(QMenu* menu);

private:
    friend class TMenu;
    void UpdateAction();
    void Changed(bool structure);

    QString FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    TShortCut FShortCut = 0;
    QString FHint;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    bool FAutoCheck = false;
    int FImageIndex = -1;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParentItem = nullptr;
    TMenu* FMenu = nullptr; // set on the root item
    QPointer<QAction> FAction;
    QPointer<QMenu> FSubMenu;
    unsigned FCommand = 0;
};

class TMenu : public TComponent {
public:
    TV_CLASS_NAME(TMenu)
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    TMenuItem* Items() const { return FItems; }
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images) { FImages = images; }
    // Finds the enabled item with this shortcut and clicks it (its parents' click
    // handlers run first, as when the menu opens).
    bool IsShortCut(TShortCut shortcut);
    TMenuItem* FindItemByShortCut(TShortCut shortcut) const;
    virtual void StructureChanged() {}

protected:
    TMenuItem* FItems;
    TImageList* FImages = nullptr;
};

class TMainMenu : public TMenu {
public:
    TV_CLASS_NAME(TMainMenu)
    using TMenu::TMenu;
    void FillMenuBar(QMenuBar* bar);
    void SetOwnerForm(TCustomForm* form) { FForm = form; }
    TCustomForm* OwnerForm() const { return FForm; }
    void StructureChanged() override;
    // Tells the form's window that the menu changed (CM_MENUCHANGED).
    void MenuChanged();

private:
    TCustomForm* FForm = nullptr;
    bool FFilling = false;
};

class TPopupMenu : public TMenu {
public:
    TV_CLASS_NAME(TPopupMenu)
    using TMenu::TMenu;
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool v) { FAutoPopup = v; }
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* c) { FPopupComponent = c; }
    // Shows the menu at a screen point and runs its loop until it closes.
    virtual void Popup(int x, int y);
    TNotifyEvent OnPopup;

    // Tests see what would be shown through this hook (the menu, the point) instead of a menu loop.
    static std::function<void(TPopupMenu*, int, int)> PopupHook;

    // A window set here measures and draws the items (WM_MEASUREITEM/WM_DRAWITEM) while shown.
    void SetOwnerDrawWindow(QWidget* window) { FOwnerDrawWindow = window; }
    QWidget* OwnerDrawWindow() const { return FOwnerDrawWindow; }

private:
    bool FAutoPopup = true;
    QPointer<QWidget> FOwnerDrawWindow;
    TComponent* FPopupComponent = nullptr;
};
