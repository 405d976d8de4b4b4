#include "platform/menus_api.h"

#include "platform/non_client.h"
#include "platform/window_extra.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <algorithm>
#include <utility>
#include <functional>
#include <vector>

namespace {
const char* const kOwnerDraw = "tvOwnerDraw";
const char* const kCommand = "tvCommand";
const char* const kRemoved = "tvMenuRemoved";
const char* const kTracking = "tvTracking";
unsigned gNextCommand = 0x2000;

std::vector<QAction*> VisibleActions(HMENU menu)
{
    std::vector<QAction*> out;
    if (!menu)
        return out;
    for (QAction* a : menu->actions())
        if (a->isVisible())
            out.push_back(a);
    return out;
}

QAction* ActionAt(HMENU menu, int position)
{
    const std::vector<QAction*> actions = VisibleActions(menu);
    if (position < 0 || position >= static_cast<int>(actions.size()))
        return nullptr;
    return actions[static_cast<size_t>(position)];
}

QAction* FindByCommand(HMENU menu, unsigned id, int depth = 0)
{
    if (!menu || depth > 16)
        return nullptr;
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator() && !a->menu() && MenuItemCommand(a) == id)
            return a;
        if (QAction* inner = FindByCommand(a->menu(), id, depth + 1))
            return inner;
    }
    return nullptr;
}

QAction* FindItem(HMENU menu, unsigned item, bool byPosition)
{
    return byPosition ? ActionAt(menu, static_cast<int>(item)) : FindByCommand(menu, item);
}

QMenuBar* WindowMenuBar(HWND w)
{
    return w ? w->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void MenuChanged(HWND w)
{
    RelayoutClient(w);
    RecalcNonClient(w);
}

void UpdateSystemMenu(HWND w, QMenu* menu)
{
    const uint32_t style = static_cast<uint32_t>(GetWindowLong(w, GWL_STYLE));
    const bool zoomed = IsZoomed(w);
    const bool iconic = IsIconic(w);
    for (QAction* a : menu->actions()) {
        switch (a->property(kCommand).toUInt()) {
        case SC_RESTORE:
            a->setEnabled(zoomed || iconic);
            break;
        case SC_MOVE:
            a->setEnabled(!zoomed);
            break;
        case SC_SIZE:
            a->setEnabled(!zoomed && !iconic && (style & WS_THICKFRAME));
            break;
        case SC_MINIMIZE:
            a->setEnabled(!iconic && (style & WS_MINIMIZEBOX));
            break;
        case SC_MAXIMIZE:
            a->setEnabled(!zoomed && (style & WS_MAXIMIZEBOX));
            break;
        default:
            break;
        }
    }
}

QMenu* BuildSystemMenu(HWND w)
{
    auto* menu = new QMenu(w);
    menu->setObjectName(QStringLiteral("tvSystemMenu"));
    struct Item {
        const char* Text;
        unsigned Id;
    };
    // The Czech platform's texts.
    const Item items[] = {
        {"&Obnovit", SC_RESTORE},   {"&Přesunout", SC_MOVE}, {"&Velikost", SC_SIZE}, {"Mi&nimalizovat", SC_MINIMIZE},
        {"Ma&ximalizovat", SC_MAXIMIZE}, {nullptr, 0},        {"&Zavřít\tAlt+F4", SC_CLOSE},
    };
    QPointer<QWidget> window(w);
    for (const Item& it : items) {
        if (!it.Text) {
            menu->addSeparator()->setProperty(kCommand, 0u);
            continue;
        }
        QAction* a = menu->addAction(QString::fromUtf8(it.Text));
        a->setProperty(kCommand, it.Id);
        const unsigned id = it.Id;
        QObject::connect(a, &QAction::triggered, menu, [window, menu, id] {
            // Under TrackPopupMenu the caller acts on the choice itself.
            if (window && !menu->property(kTracking).toBool())
                PostMessage(window, WM_SYSCOMMAND, id, 0);
        });
    }
    menu->setDefaultAction(menu->actions().last());
    QObject::connect(menu, &QMenu::aboutToShow, menu, [window, menu] {
        if (window)
            UpdateSystemMenu(window, menu);
    });
    return menu;
}

void ForEachMenu(QMenu* menu, const std::function<void(QMenu*)>& f, int depth = 0)
{
    if (!menu || depth > 16)
        return;
    f(menu);
    for (QAction* a : menu->actions())
        if (a->menu())
            ForEachMenu(a->menu(), f, depth + 1);
}

// The owner window of a menu, kept without outliving it.
class TMenuOwnerRef : public QObject {
public:
    explicit TMenuOwnerRef(QWidget* menu) : QObject(menu) { setObjectName(QStringLiteral("tvMenuOwner")); }
    QPointer<QWidget> Owner;
    QPointer<QWidget> Tracking; // the window of the TrackPopupMenu under way
    static TMenuOwnerRef* Of(QWidget* menu, bool create)
    {
        auto* r = static_cast<TMenuOwnerRef*>(menu->findChild<QObject*>(QStringLiteral("tvMenuOwner"), Qt::FindDirectChildrenOnly));
        if (!r && create)
            r = new TMenuOwnerRef(menu);
        return r;
    }
};

QAction* MeasuredAction(const QMenu* menu, const QString& text)
{
    for (QAction* a : menu->actions()) {
        if (!a->isVisible() || a->isSeparator())
            continue;
        if (a->text() == text || text.startsWith(a->text() + QLatin1Char('\t')))
            return a;
    }
    return nullptr;
}

bool Subclassed(const QWidget* w)
{
    TWindowBridge* b = TWindowBridge::Of(const_cast<QWidget*>(w), false);
    return b && b->SubclassCount() > 0;
}

// The panel fill under way: the native handling of WM_ERASEBKGND draws it.
struct TPendingPanel {
    const QWidget* Widget = nullptr;
    const QStyleOption* Option = nullptr;
    QPainter* Painter = nullptr;
    const QProxyStyle* Style = nullptr;
    bool Drawn = false;
};
TPendingPanel* gPendingPanel = nullptr;

// Hands a menu's item measuring and drawing to its owner and its panel fill to
// its procedure; everything else is the application style's.
class TMenuStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p, const QWidget* widget) const override
    {
        if (pe == PE_PanelMenu && widget && Subclassed(widget)) {
            auto* w = const_cast<QWidget*>(widget);
            TPendingPanel pending{widget, opt, p, this, false};
            TPendingPanel* saved = std::exchange(gPendingPanel, &pending);
            const LRESULT erased = SendMessage(w, WM_ERASEBKGND, WParamOf(p), 0);
            gPendingPanel = saved;
            if (erased != 0 || pending.Drawn)
                return;
        }
        QProxyStyle::drawPrimitive(pe, opt, p, widget);
    }

    void DrawBasePanel(const TPendingPanel& pending) const
    {
        QProxyStyle::drawPrimitive(PE_PanelMenu, pending.Option, pending.Painter, pending.Widget);
    }

    void drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p, const QWidget* widget) const override
    {
        if (ce == CE_MenuItem)
            if (const auto* menu = qobject_cast<const QMenu*>(widget))
                if (QAction* a = menu->actionAt(opt->rect.center()); a && a->property(kOwnerDraw).toBool())
                    if (HWND owner = GetMenuOwner(const_cast<QMenu*>(menu))) {
                        DRAWITEMSTRUCT dis;
                        dis.itemID = a->isSeparator() ? 0 : MenuItemCommand(a);
                        if (opt->state & State_Selected)
                            dis.itemState |= ODS_SELECTED;
                        if (!a->isEnabled())
                            dis.itemState |= ODS_GRAYED | ODS_DISABLED;
                        if (a->isChecked())
                            dis.itemState |= ODS_CHECKED;
                        if (menu->defaultAction() == a)
                            dis.itemState |= ODS_DEFAULT;
                        dis.hwndItem = const_cast<QMenu*>(menu);
                        dis.hDC = p;
                        dis.rcItem = TRect::From(opt->rect);
                        dis.itemData = a->property("tvItemData").value<qlonglong>();
                        p->save();
                        const LRESULT drawn = SendMessage(owner, WM_DRAWITEM, 0, LParamOf(&dis));
                        p->restore();
                        if (drawn)
                            return;
                    }
        QProxyStyle::drawControl(ce, opt, p, widget);
    }

    QSize sizeFromContents(ContentsType ct, const QStyleOption* opt, const QSize& size, const QWidget* widget) const override
    {
        QSize s = QProxyStyle::sizeFromContents(ct, opt, size, widget);
        if (ct != CT_MenuItem)
            return s;
        const auto* menu = qobject_cast<const QMenu*>(widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(opt);
        if (!menu || !item)
            return s;
        QAction* a = item->menuItemType == QStyleOptionMenuItem::Separator ? nullptr : MeasuredAction(menu, item->text);
        const QList<QAction*> actions = menu->actions();
        const bool ownerDrawn = a ? a->property(kOwnerDraw).toBool()
                                  : std::any_of(actions.begin(), actions.end(), [](QAction* x) {
                                        return x->isSeparator() && x->property(kOwnerDraw).toBool();
                                    });
        HWND owner = ownerDrawn ? GetMenuOwner(const_cast<QMenu*>(menu)) : nullptr;
        if (!owner)
            return s;
        MEASUREITEMSTRUCT mis;
        mis.itemID = a ? MenuItemCommand(a) : 0;
        mis.itemWidth = static_cast<unsigned>(std::max(0, s.width()));
        mis.itemHeight = static_cast<unsigned>(std::max(0, s.height()));
        mis.itemData = a ? a->property("tvItemData").value<qlonglong>() : 0;
        if (SendMessage(owner, WM_MEASUREITEM, 0, LParamOf(&mis)) != 0)
            s = QSize(static_cast<int>(mis.itemWidth), static_cast<int>(mis.itemHeight));
        return s;
    }
};

TMenuStyle* MenuStyle()
{
    static QPointer<TMenuStyle> style;
    if (!style) {
        style = new TMenuStyle;
        style->setParent(qApp);
    }
    return style;
}

void UseMenuStyle(QMenu* menu)
{
    if (menu && menu->style() != MenuStyle())
        menu->setStyle(MenuStyle());
}

WPARAM MenuSelectWParam(QMenu* menu, QAction* a)
{
    unsigned flags = MF_HILITE;
    unsigned id = MenuItemCommand(a);
    if (a->menu()) {
        // A submenu item is named by its position.
        flags |= MF_POPUP;
        const std::vector<QAction*> v = VisibleActions(menu);
        id = static_cast<unsigned>(std::find(v.begin(), v.end(), a) - v.begin());
    }
    if (!a->isEnabled())
        flags |= MF_GRAYED | MF_DISABLED;
    if (a->isChecked())
        flags |= MF_CHECKED;
    if (a->isSeparator())
        flags |= MF_SEPARATOR;
    return (id & 0xFFFFu) | (static_cast<WPARAM>(flags) << 16);
}
} // namespace

unsigned MenuItemCommand(const QAction* action)
{
    if (!action)
        return 0;
    const QVariant v = action->property(kCommand);
    if (v.isValid())
        return v.toUInt();
    const unsigned id = gNextCommand++;
    const_cast<QAction*>(action)->setProperty(kCommand, id);
    return id;
}

HMENU GetMenu(HWND w)
{
    QMenuBar* bar = WindowMenuBar(w);
    if (!bar || bar->property(kRemoved).toBool())
        return nullptr;
    return bar;
}

bool SetMenu(HWND w, HMENU menu)
{
    if (!w || !w->isWindow())
        return false;
    QMenuBar* current = qobject_cast<QMenuBar*>(GetMenu(w));
    if (!menu) {
        if (current) {
            current->setProperty(kRemoved, true);
            current->hide();
            TWindowExtra::Of(w)->RemovedMenuBar = current;
            MenuChanged(w);
        }
        return true;
    }
    auto* bar = qobject_cast<QMenuBar*>(menu);
    if (!bar)
        return false;
    if (current && current != bar) {
        current->setProperty(kRemoved, true);
        current->hide();
    }
    if (bar->parentWidget() != w)
        bar->setParent(w);
    bar->setProperty(kRemoved, false);
    bar->show();
    MenuChanged(w);
    return true;
}

bool DrawMenuBar(HWND w)
{
    if (QMenuBar* bar = qobject_cast<QMenuBar*>(GetMenu(w))) {
        bar->updateGeometry();
        bar->update();
        RelayoutClient(w);
        return true;
    }
    return false;
}

QMenu* GetSystemMenu(HWND w, bool revert)
{
    if (!w || !w->isWindow())
        return nullptr;
    TWindowExtra* x = TWindowExtra::Of(w);
    if (revert) {
        delete x->SystemMenu.data();
        x->SystemMenu = BuildSystemMenu(w);
        return nullptr;
    }
    if (!x->SystemMenu)
        x->SystemMenu = BuildSystemMenu(w);
    UpdateSystemMenu(w, x->SystemMenu);
    return x->SystemMenu;
}

int TrackPopupMenu(HMENU handle, unsigned flags, int x, int y, int, HWND owner, const void*)
{
    auto* menu = qobject_cast<QMenu*>(handle);
    if (!menu)
        return 0;
    const bool notify = !(flags & TPM_NONOTIFY) && owner;
    const QPointer<QWidget> ownerGuard(owner);
    std::vector<QMetaObject::Connection> links;
    if (notify) {
        SendMessage(owner, WM_ENTERMENULOOP, 1, 0);
        ForEachMenu(menu, [&](QMenu* m) {
            links.push_back(QObject::connect(m, &QMenu::aboutToShow, m, [m, ownerGuard] {
                if (ownerGuard)
                    SendMessage(ownerGuard, WM_INITMENUPOPUP, WParamOf(m), 0);
            }));
            links.push_back(QObject::connect(m, &QMenu::hovered, m, [m, ownerGuard](QAction* a) {
                if (ownerGuard)
                    SendMessage(ownerGuard, WM_MENUSELECT, MenuSelectWParam(m, a), LParamOf(m));
            }));
        });
    }
    const QSize size = menu->sizeHint();
    QPoint at(x, y);
    if (flags & TPM_RIGHTALIGN)
        at.rx() -= size.width();
    else if (flags & TPM_CENTERALIGN)
        at.rx() -= size.width() / 2;
    if (flags & TPM_BOTTOMALIGN)
        at.ry() -= size.height();
    else if (flags & TPM_VCENTERALIGN)
        at.ry() -= size.height() / 2;
    const QPointer<QMenu> guard(menu);
    menu->setProperty(kTracking, true);
    ForEachMenu(menu, [owner](QMenu* m) { TMenuOwnerRef::Of(m, true)->Tracking = owner; });
    QAction* chosen = menu->exec(at);
    if (guard) {
        menu->setProperty(kTracking, false);
        ForEachMenu(menu, [](QMenu* m) { TMenuOwnerRef::Of(m, true)->Tracking = nullptr; });
    }
    for (const auto& c : links)
        QObject::disconnect(c);
    const unsigned id = chosen ? MenuItemCommand(chosen) : 0;
    if (notify && ownerGuard) {
        SendMessage(ownerGuard, WM_MENUSELECT, static_cast<WPARAM>(0xFFFFu) << 16, 0);
        if (ownerGuard)
            SendMessage(ownerGuard, WM_EXITMENULOOP, 1, 0);
    }
    if (flags & TPM_RETURNCMD)
        return static_cast<int>(id);
    if (chosen && notify && ownerGuard)
        PostMessage(ownerGuard, WM_COMMAND, id, 0);
    return chosen ? 1 : 0;
}

bool EndMenu()
{
    bool any = false;
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        any = true;
        if (QApplication::activePopupWidget() == popup)
            break;
    }
    return any;
}

bool SelectFirstMenuItem(HMENU menu)
{
    auto* m = qobject_cast<QMenu*>(menu);
    if (!m)
        return false;
    for (QAction* a : m->actions()) {
        if (a->isVisible() && a->isEnabled() && !a->isSeparator()) {
            m->setActiveAction(a);
            return true;
        }
    }
    return false;
}

int GetMenuItemCount(HMENU menu) { return menu ? static_cast<int>(VisibleActions(menu).size()) : -1; }

unsigned GetMenuItemID(HMENU menu, int position)
{
    QAction* a = ActionAt(menu, position);
    if (!a || a->menu())
        return 0xFFFFFFFFu;
    if (a->isSeparator())
        return 0;
    return MenuItemCommand(a);
}

HMENU GetSubMenu(HMENU menu, int position)
{
    QAction* a = ActionAt(menu, position);
    return a ? a->menu() : nullptr;
}

bool GetMenuItemInfo(HMENU menu, unsigned item, bool byPosition, MENUITEMINFO& info)
{
    QAction* a = FindItem(menu, item, byPosition);
    if (!a)
        return false;
    const unsigned mask = info.fMask;
    info = MENUITEMINFO();
    info.fMask = mask;
    if (!a->isEnabled())
        info.fState |= MFS_GRAYED;
    if (a->isChecked())
        info.fState |= MFS_CHECKED;
    if (auto* m = qobject_cast<QMenu*>(menu); m && m->defaultAction() == a)
        info.fState |= MFS_DEFAULT;
    if (a->isSeparator())
        info.fType |= MFT_SEPARATOR;
    if (a->property(kOwnerDraw).toBool())
        info.fType |= MFT_OWNERDRAW;
    if (menu->layoutDirection() == Qt::RightToLeft)
        info.fType |= MFT_RIGHTORDER;
    info.wID = a->isSeparator() ? 0 : MenuItemCommand(a);
    info.hSubMenu = a->menu();
    info.dwItemData = a->property("tvItemData").value<qlonglong>();
    QString text = a->text();
    if (!a->shortcut().isEmpty() && !text.contains(QLatin1Char('\t')))
        text += QLatin1Char('\t') + a->shortcut().toString(QKeySequence::NativeText);
    info.dwTypeData = a->isSeparator() ? QString() : text;
    return true;
}

bool SetMenuItemInfo(HMENU menu, unsigned item, bool byPosition, const MENUITEMINFO& info)
{
    QAction* a = FindItem(menu, item, byPosition);
    if (!a)
        return false;
    if (info.fMask & MIIM_STATE) {
        a->setEnabled((info.fState & MFS_GRAYED) == 0);
        if (info.fState & MFS_CHECKED)
            a->setCheckable(true);
        if (a->isCheckable())
            a->setChecked(info.fState & MFS_CHECKED);
        if (auto* m = qobject_cast<QMenu*>(menu); m && (info.fState & MFS_DEFAULT))
            m->setDefaultAction(a);
    }
    if (info.fMask & MIIM_ID)
        a->setProperty(kCommand, info.wID);
    if (info.fMask & (MIIM_TYPE | MIIM_FTYPE)) {
        const bool ownerDraw = (info.fType & MFT_OWNERDRAW) != 0;
        a->setProperty(kOwnerDraw, ownerDraw);
        a->setSeparator((info.fType & MFT_SEPARATOR) != 0);
        if (ownerDraw)
            for (QObject* o : a->associatedObjects())
                UseMenuStyle(qobject_cast<QMenu*>(o));
    }
    if ((info.fMask & MIIM_STRING) || ((info.fMask & MIIM_TYPE) && !(info.fType & (MFT_OWNERDRAW | MFT_SEPARATOR))))
        a->setText(info.dwTypeData);
    if (info.fMask & MIIM_DATA)
        a->setProperty("tvItemData", QVariant::fromValue<qlonglong>(info.dwItemData));
    if (info.fMask & MIIM_SUBMENU)
        a->setMenu(qobject_cast<QMenu*>(info.hSubMenu));
    return true;
}

unsigned GetMenuState(HMENU menu, unsigned item, unsigned flags)
{
    QAction* a = FindItem(menu, item, (flags & MF_BYPOSITION) != 0);
    if (!a)
        return 0xFFFFFFFFu;
    unsigned s = 0;
    if (!a->isEnabled())
        s |= MF_GRAYED | MF_DISABLED;
    if (a->isChecked())
        s |= MF_CHECKED;
    if (a->isSeparator())
        s |= MF_SEPARATOR;
    if (a->menu())
        s |= MF_POPUP | (static_cast<unsigned>(GetMenuItemCount(a->menu())) << 8);
    if (a->property(kOwnerDraw).toBool())
        s |= MF_OWNERDRAW;
    return s;
}

bool EnableMenuItem(HMENU menu, unsigned item, unsigned flags)
{
    QAction* a = FindItem(menu, item, (flags & MF_BYPOSITION) != 0);
    if (!a)
        return false;
    a->setEnabled((flags & (MF_GRAYED | MF_DISABLED)) == 0);
    return true;
}

void SetMenuOwner(HMENU menu, HWND owner)
{
    if (menu)
        TMenuOwnerRef::Of(menu, true)->Owner = owner;
}

namespace {
HWND MenuOwner(HMENU menu, int depth)
{
    if (!menu || depth > 16)
        return nullptr;
    if (TMenuOwnerRef* r = TMenuOwnerRef::Of(menu, false)) {
        if (r->Tracking)
            return r->Tracking;
        if (r->Owner)
            return r->Owner;
    }
    // A submenu belongs to the menu that opens it, and so on up to a window.
    if (auto* popup = qobject_cast<QMenu*>(menu))
        for (QObject* o : popup->menuAction()->associatedObjects())
            if (auto* parent = qobject_cast<QWidget*>(o); parent && parent != menu) {
                if (qobject_cast<QMenu*>(parent))
                    return MenuOwner(parent, depth + 1);
                return parent->window();
            }
    QWidget* p = menu->parentWidget();
    return p ? p->window() : nullptr;
}
} // namespace

HWND GetMenuOwner(HMENU menu) { return MenuOwner(menu, 0); }

bool NativeEraseBackground(QWidget* window, QPainter* painter)
{
    TPendingPanel* pending = gPendingPanel;
    if (!pending || pending->Widget != window || pending->Painter != painter || pending->Drawn)
        return false;
    static_cast<const TMenuStyle*>(pending->Style)->DrawBasePanel(*pending);
    pending->Drawn = true;
    return true;
}

void PrepareSubclassedMenu(QWidget* window)
{
    UseMenuStyle(qobject_cast<QMenu*>(window));
}

void SetMenuOwnerDrawn(HMENU menu, bool ownerDraw)
{
    if (!menu)
        return;
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        MENUITEMINFO info;
        info.fMask = MIIM_TYPE | MIIM_SUBMENU;
        if (!GetMenuItemInfo(menu, static_cast<unsigned>(i), true, info))
            continue;
        MENUITEMINFO set;
        set.fMask = MIIM_FTYPE;
        set.fType = (info.fType & MFT_SEPARATOR) | (ownerDraw ? MFT_OWNERDRAW : 0u);
        SetMenuItemInfo(menu, static_cast<unsigned>(i), true, set);
        if (info.hSubMenu)
            SetMenuOwnerDrawn(info.hSubMenu, ownerDraw);
    }
}
