#include "skin/form/skin_menu_bar.h"

#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"
#include "classlib/graphics/canvas.h"
#include "classlib/graphics/types.h"
#include "platform/menus_api.h"
#include "platform/non_client.h"
#include "platform/system_metrics.h"
#include "platform/window_info.h"
#include "skin/form/skin_manager.h"
#include "skin/form/skin_menu_items.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <QPainter>

namespace {
constexpr unsigned kCaptionFlags = DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS;

// The caption centred in r: measured first, then drawn into the measured
// extent moved to the middle (a disabled caption in the button-shadow colour).
void DrawCenteredCaption(TCanvas& canvas, const TRect& r, const QString& text, bool enabled, TColor color)
{
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->SetStyle(0);
    canvas.Font()->SetColor(enabled ? color : clBtnShadow);
    TRect extent(0, 0, 0, 0);
    SkinDrawText(&canvas, text, extent, kCaptionFlags | DT_CALCRECT | DT_NOCLIP);
    const int w = extent.Width();
    const int h = extent.Height();
    const int x = r.Left + (r.Width() - w) / 2;
    const int y = r.Top + (r.Height() - h) / 2;
    TRect target(x, y, x + w, y + h);
    SkinDrawText(&canvas, text, target, kCaptionFlags);
}
} // namespace

// ---------------------------------------------------------------------------

TMenuBtn::TMenuBtn(TWinSkinMenu* bar, TWinSkinForm* form) : TNCObject(form), Bar(bar), SkinData(bar->SkinData()) {}

void TMenuBtn::Paint()
{
    // Our window DC exists only while the frame paints: the button's part of
    // the band is painted again, the bar drawing each button in its state.
    Form->RepaintNCObject(this);
}

// ---------------------------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TWinSkinForm* form) : TComponent(form), FSkinData(form->SkinData()), FForm(form) {}

TWinSkinMenu::~TWinSkinMenu()
{
    // The form frees its bar before its own members go.
    for (const auto& b : FButtons)
        FForm->ForgetObject(b.get());
}

void TWinSkinMenu::BuildButtons()
{
    HWND window = FForm->Handle();
    if (!window)
        return;
    if (HMENU menu = GetMenu(window))
        FWindowMenu = menu;
    FFormMenu = FForm->Form() ? FForm->Form()->Menu() : nullptr;
    if (FForm->Form() && !FFormMenu)
        return;
    Rebuild(true);
    SetMenu(window, nullptr);
}

void TWinSkinMenu::UpdateButtons() { Rebuild(false); }

void TWinSkinMenu::Rebuild(bool itemCaptions)
{
    for (const auto& b : FButtons)
        FForm->ForgetObject(b.get());
    FButtons.clear();
    if (!FWindowMenu)
        return;
    const int n = GetMenuItemCount(FWindowMenu);
    for (int i = 0; i < n; ++i) {
        MENUITEMINFO info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
        if (!GetMenuItemInfo(FWindowMenu, static_cast<unsigned>(i), true, info))
            continue;
        auto button = std::make_unique<TMenuBtn>(this, FForm);
        button->Index = i;
        button->SubMenu = info.hSubMenu;
        button->Enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
        button->Visible = true;
        button->Command = info.wID;
        button->Caption = info.dwTypeData.left(80);
        if (FFormMenu) {
            // A submenu's item is known by its submenu: the platform names it by position.
            TMenuItem* item = FFormMenu->Items()->FindByCommand(info.wID);
            if (item == FFormMenu->Items())
                item = nullptr;
            for (int k = 0; !item && info.hSubMenu && k < FFormMenu->Items()->Count(); ++k)
                if (TMenuItem* top = FFormMenu->Items()->Items(k); top->Count() > 0 && top->SubMenu() == info.hSubMenu)
                    item = top;
            if (item) {
                button->Command = item->Command();
                button->Item = item;
                if (itemCaptions || button->Caption.isEmpty())
                    button->Caption = item->Caption();
                button->Enabled = item->Enabled();
                button->Visible = item->Visible();
                button->SubMenu = item->Count() > 0 ? item->SubMenu() : nullptr;
            }
        }
        FButtons.push_back(std::move(button));
    }
}

TRect TWinSkinMenu::StripRect() const
{
    TRect w;
    if (!FForm->Handle() || !GetWindowRect(FForm->Handle(), w))
        return TRect();
    const int top = FForm->TopHeight();
    return TRect(FForm->LeftWidth(), top, w.Width() - FForm->RightWidth(), top + FForm->MenuHeight());
}

void TWinSkinMenu::LayoutButtons()
{
    const TRect strip = StripRect();
    FBarRect = strip;
    TDataSkinObject* skin = FSkinData ? FSkinData->MenuBar.get() : nullptr;
    int offset = 6;
    if (skin) {
        offset = skin->LeftWidth + 4;
        if (offset > strip.Width())
            offset = 12;
    }
    QImage probe(1, 1, QImage::Format_RGB32);
    TCanvas canvas;
    canvas.BindImage(&probe);
    canvas.SetFont(&SkinMenuFont());
    int x = strip.Left + offset;
    const int top = strip.Top;
    const int bottom = strip.Bottom - 1;
    for (const auto& b : FButtons) {
        if (!b->Visible) {
            b->Rect = TRect();
            continue;
        }
        TRect r(0, 0, 0, 0);
        SkinDrawText(&canvas, b->Caption, r, kCaptionFlags | DT_CALCRECT | DT_NOCLIP);
        const int w = r.Width() > 0 ? r.Width() + 10 : 0;
        b->Rect = TRect(x, top, x + w, bottom);
        x += w;
    }
    canvas.Unbind();
}

TMenuBtn* TWinSkinMenu::ButtonAt(const TPoint& point) const
{
    for (const auto& b : FButtons)
        if (!b->Caption.isEmpty() && b->Rect.Contains(point.X, point.Y))
            return b.get();
    return nullptr;
}

void TWinSkinMenu::Paint(QPainter* dc, const TRect& rect)
{
    LayoutButtons();
    const TRect strip = FBarRect;
    if (strip.IsEmpty() || !dc)
        return;
    QImage work(strip.Width(), strip.Height(), QImage::Format_RGB32);
    TDataSkinObject* skin = FSkinData ? FSkinData->MenuBar.get() : nullptr;
    {
        QPainter p(&work);
        const TRect local(0, 0, strip.Width(), strip.Height());
        if (!skin || skin->Image.isNull()) {
            p.fillRect(local.ToQRect(), ToQColor(FSkinData ? FSkinData->Colours.Menubar : clBtnFace));
        } else {
            const int frame = FForm->FormActive() != 0 ? 1 : 2;
            const TSkinMargins margins{skin->LeftWidth, skin->TopHeight, skin->RightWidth, skin->BottomHeight};
            if (skin->Tile == 1)
                NineGridDraw(p, local, skin->Image, true, false, false, 2, frame, margins);
            else
                DrawStripTiled(p, local, skin->Image, true, false, 2, frame, margins);
        }
    }
    FBitmap = work;
    {
        TCanvas canvas;
        canvas.BindImage(&work);
        canvas.SetFont(&SkinMenuFont());
        const TColor text = FSkinData ? FSkinData->Colours.MenuBarText : clMenuText;
        const TColor hilight = FSkinData ? FSkinData->Colours.ButtonHilight : clBtnHighlight;
        for (const auto& b : FButtons) {
            if (!b->Visible || b->Rect.IsEmpty())
                continue;
            const TRect r(b->Rect.Left - strip.Left, b->Rect.Top - strip.Top, b->Rect.Right - strip.Left,
                          b->Rect.Bottom - strip.Top);
            // A full paint forgets the hot object: only it, or the open button, is lit.
            const bool lit = b->State == TNCObject::stPressed || b->State == TNCObject::stHover;
            if (lit && (b->Open || FForm->HotObject() == b.get())) {
                canvas.Brush()->SetStyle(bsSolid);
                canvas.Brush()->SetColor(hilight);
                canvas.FillRect(r);
            }
            DrawCenteredCaption(canvas, r, b->Caption, b->Enabled, text);
        }
        canvas.Unbind();
    }
    PaintMDIButtons(work, strip);
    dc->drawImage(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), work);
}

void TWinSkinMenu::PaintMDIButtons(QImage& work, const TRect& strip)
{
    // The caption buttons of a maximized MDI child sit in the bar.
    if (FForm->WindowKind() != TWinSkinForm::wkMDIParent)
        return;
    FForm->LayoutSysButtons();
    bool any = false;
    bool shown = false;
    QPainter p(&work);
    const auto& buttons = FForm->SysButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        TWinSysButton* b = buttons[i].get();
        if (b->Data->Visibility != 100)
            continue;
        any = true;
        if (b->Data->Image.isNull() || !FForm->IsSysButtonVisible(static_cast<int>(i)))
            continue;
        shown = true;
        const TRect r(b->Rect.Left - strip.Left, b->Rect.Top - strip.Top, b->Rect.Right - strip.Left,
                      b->Rect.Bottom - strip.Top);
        DrawFrameStretched(p, r, b->Data->Image, true, b->Data->Frame > 0 ? b->Data->Frame : 1, 1);
    }
    if (TSkinManage* manager = SkinManager(); manager && any)
        manager->SetMDIChildMaximized(shown);
}
