#include "classlib/forms/menus.h"

#include "classlib/controls/image_list.h"
#include "classlib/forms/application.h"
#include "platform/menus_api.h"
#include "platform/window_proc.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <set>

std::function<void(TPopupMenu*, int, int)> TPopupMenu::PopupHook;

namespace {
// Command identifiers of living items: unique, the lowest free one first, below
// the platform's own identifiers (4096 and up).
std::set<unsigned>& UsedCommands()
{
    static std::set<unsigned> used;
    return used;
}

unsigned TakeCommand()
{
    std::set<unsigned>& used = UsedCommands();
    unsigned id = 1;
    for (unsigned u : used) {
        if (u != id)
            break;
        ++id;
    }
    used.insert(id);
    return id;
}
} // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(TakeCommand()) {}

TMenuItem* TMenuItem::FindByCommand(unsigned command)
{
    if (FCommand == command)
        return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindByCommand(command))
            return found;
    return nullptr;
}

TMenuItem::~TMenuItem()
{
    UsedCommands().erase(FCommand);
    Destroying();
    Clear();
    if (FParentItem)
        FParentItem->Remove(this);
    delete FSubMenu;
    delete FAction;
}

void TMenuItem::SetCaption(const QString& caption)
{
    const bool lineChange = (caption == QLatin1String("-")) != IsLine();
    FCaption = caption;
    if (lineChange)
        Changed(true);
    else
        UpdateAction();
}

void TMenuItem::SetChecked(bool v)
{
    if (v == FChecked)
        return;
    FChecked = v;
    // Radio items of one group: checking one clears the others.
    if (v && FRadioItem && FParentItem)
        for (TMenuItem* i : FParentItem->FItems)
            if (i != this && i->FRadioItem && i->FGroupIndex == FGroupIndex && i->FChecked) {
                i->FChecked = false;
                i->UpdateAction();
            }
    UpdateAction();
}

void TMenuItem::SetEnabled(bool v)
{
    FEnabled = v;
    UpdateAction();
}

void TMenuItem::SetVisible(bool v)
{
    FVisible = v;
    UpdateAction();
}

void TMenuItem::SetShortCut(TShortCut sc)
{
    FShortCut = sc;
    UpdateAction();
}

void TMenuItem::SetImageIndex(int i)
{
    FImageIndex = i;
    UpdateAction();
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item)
        return;
    if (item->FParentItem)
        item->FParentItem->Remove(item);
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParentItem = this;
    Changed(true);
}

void TMenuItem::Remove(TMenuItem* item)
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end())
        return;
    FItems.erase(it);
    item->FParentItem = nullptr;
    if (!IsDestroying())
        Changed(true);
}

void TMenuItem::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    TMenuItem* item = FItems[static_cast<size_t>(index)];
    Remove(item);
}

void TMenuItem::Clear()
{
    // Items owned by this item are freed; others are only detached.
    while (!FItems.empty()) {
        TMenuItem* item = FItems.back();
        FItems.pop_back();
        item->FParentItem = nullptr;
        if (item->Owner() == this)
            delete item;
    }
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenu* TMenuItem::Menu() const
{
    const TMenuItem* i = this;
    while (i->FParentItem)
        i = i->FParentItem;
    return i->FMenu;
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    if (FAutoCheck)
        SetChecked(!FChecked);
    if (OnClick)
        OnClick(this);
}

void TMenuItem::Changed(bool structure)
{
    UpdateAction();
    if (structure) {
        if (FSubMenu)
            FillMenu(FSubMenu);
        if (TMenu* m = Menu())
            m->StructureChanged();
    }
}

QAction* TMenuItem::Action()
{
    if (!FAction) {
        FAction = new QAction(nullptr);
        FAction->setProperty("tvCommand", FCommand); // the platform's identifier of the item
        QObject::connect(FAction, &QAction::triggered, FAction, [this] {
            SafeCall([this] { Click(); });
        });
        QObject::connect(FAction, &QAction::hovered, FAction, [this] {
            if (Application)
                Application->SetHint(GetLongHint(FHint));
        });
        UpdateAction();
    }
    return FAction;
}

QMenu* TMenuItem::SubMenu()
{
    if (!FSubMenu) {
        FSubMenu = new QMenu();
        // Opening a submenu runs its item's click handler first (it may set
        // the state of the items below).
        QObject::connect(FSubMenu, &QMenu::aboutToShow, FSubMenu, [this] {
            SafeCall([this] {
                if (OnClick)
                    OnClick(this);
            });
        });
        FillMenu(FSubMenu);
    }
    return FSubMenu;
}

void TMenuItem::FillMenu(QMenu* menu)
{
    menu->clear();
    TImageList* images = Menu() ? Menu()->Images() : nullptr;
    Q_UNUSED(images);
    for (TMenuItem* item : FItems) {
        if (!item->FVisible)
            continue;
        if (item->IsLine()) {
            menu->addSeparator();
            continue;
        }
        if (item->Count() > 0) {
            QMenu* sub = item->SubMenu();
            sub->setTitle(item->FCaption);
            sub->setEnabled(item->FEnabled);
            menu->addMenu(sub);
        } else {
            menu->addAction(item->Action());
        }
    }
}

void TMenuItem::UpdateAction()
{
    if (FAction) {
        QString text = FCaption;
        if (FShortCut)
            text += QLatin1Char('\t') + ShortCutToText(FShortCut);
        FAction->setText(text);
        FAction->setEnabled(FEnabled);
        FAction->setCheckable(FChecked || FRadioItem || FAutoCheck);
        FAction->setChecked(FChecked);
        FAction->setVisible(FVisible);
        FAction->setSeparator(IsLine());
        TMenu* m = Menu();
        if (m && m->Images() && FImageIndex >= 0 && FImageIndex < m->Images()->Count())
            FAction->setIcon(QIcon(QPixmap::fromImage(m->Images()->Image(FImageIndex))));
        else
            FAction->setIcon(QIcon());
    }
    if (FSubMenu) {
        FSubMenu->setTitle(FCaption);
        FSubMenu->setEnabled(FEnabled);
        if (QAction* a = FSubMenu->menuAction())
            a->setVisible(FVisible);
    }
    // A window that draws its menu bar itself learns of its items' changes.
    if (FParentItem && !FParentItem->FParentItem)
        if (auto* main = dynamic_cast<TMainMenu*>(FParentItem->FMenu))
            main->MenuChanged();
}

TMenu::TMenu(TComponent* owner) : TComponent(owner)
{
    FItems = new TMenuItem(nullptr);
    FItems->FMenu = this;
}

TMenu::~TMenu()
{
    Destroying();
    delete FItems;
}

TMenuItem* TMenu::FindItemByShortCut(TShortCut shortcut) const
{
    std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* parent) -> TMenuItem* {
        for (TMenuItem* i : parent->FItems) {
            if (i->FShortCut == shortcut && i->FVisible && i->Count() == 0)
                return i;
            if (TMenuItem* f = find(i))
                return f;
        }
        return nullptr;
    };
    return find(FItems);
}

bool TMenu::IsShortCut(TShortCut shortcut)
{
    if (shortcut == 0)
        return false;
    TMenuItem* item = FindItemByShortCut(shortcut);
    if (!item)
        return false;
    // Parents first, outermost to innermost, as when the menus open.
    std::vector<TMenuItem*> chain;
    for (TMenuItem* p = item->FParentItem; p && p != FItems; p = p->FParentItem)
        chain.insert(chain.begin(), p);
    for (TMenuItem* p : chain) {
        if (!p->FEnabled)
            return false;
        if (p->OnClick)
            p->OnClick(p);
    }
    if (!item->FEnabled)
        return false;
    item->Click();
    return true;
}

void TMainMenu::FillMenuBar(QMenuBar* bar)
{
    FFilling = true;
    bar->clear();
    for (int i = 0; i < FItems->Count(); ++i) {
        TMenuItem* item = FItems->Items(i);
        if (!item->Visible() || item->IsLine())
            continue;
        if (item->Count() > 0) {
            QMenu* sub = item->SubMenu();
            sub->setTitle(item->Caption());
            bar->addMenu(sub);
        } else {
            bar->addAction(item->Action());
        }
    }
    FFilling = false;
}

void TMainMenu::StructureChanged()
{
    if (FForm && !FFilling && !IsDestroying() && !FForm->IsDestroying()) {
        FForm->RebuildMenuBar();
        MenuChanged();
    }
}

void TMainMenu::MenuChanged()
{
    // The window learns of it, as a window that draws the menu itself must.
    if (FForm && !FFilling && !IsDestroying() && !FForm->IsDestroying() && FForm->Window())
        SendMessage(FForm->Window(), CM_MENUCHANGED);
}

void TPopupMenu::Popup(int x, int y)
{
    if (OnPopup)
        OnPopup(this);
    if (PopupHook) {
        PopupHook(this, x, y);
        return;
    }
    QMenu menu;
    FItems->FillMenu(&menu);
    if (FOwnerDrawWindow) {
        SetMenuOwner(&menu, FOwnerDrawWindow);
        SetMenuOwnerDrawn(&menu, true);
    }
    menu.exec(QPoint(x, y));
    if (FOwnerDrawWindow)
        SetMenuOwnerDrawn(&menu, false); // the shared actions may show elsewhere
    // The shared actions stay with their items, not with this temporary menu.
    for (QAction* a : menu.actions())
        menu.removeAction(a);
}
