// The skinned form: attaching, the start message, the frame layout, the window
// procedure's tables and unskinning.

#include "skin_form_fixture.h"

#include "classlib/controls/com_controls.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/list_view.h"
#include "classlib/controls/speed_button.h"
#include "classlib/controls/spin_edit.h"
#include "classlib/controls/std_controls.h"
#include "classlib/controls/string_grid.h"
#include "classlib/forms/menus.h"
#include "platform/menus_api.h"
#include "platform/non_client.h"
#include "platform/window_info.h"
#include "skin/controls/skin_control.h"
#include "test_support.h"

#include <QDialog>
#include <QFontMetrics>
#include <QScreen>
#include <QTest>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

using namespace SkinFormTest;

namespace {
int FrameW(const TDataSkinObject& o) { return o.Image.width() / std::max(1, o.Frame); }
int FrameH(const TDataSkinObject& o) { return o.Image.height() / std::max(1, o.Frame); }
} // namespace

TEST_F(SkinFormFixture, ActivationSkinsTheWindowAndTheStartKeepsTheClientSize)
{
    TForm* f = MakeForm(bsSizeable, false);
    HWND w = f->Window();
    TRecorder rec(w);
    int before = 0;
    int after = 0;
    Data->OnBeforeSkinForm = [&](TObject* sender, QWidget* hwnd, const QString& name) {
        EXPECT_EQ(sender, f);
        EXPECT_EQ(hwnd, w);
        EXPECT_EQ(name, QStringLiteral("TForm"));
        ++before;
    };
    Data->OnAfterSkinForm = [&](TObject*, QWidget* hwnd, const QString&) {
        EXPECT_EQ(hwnd, w);
        ++after;
    };
    f->Show();
    QApplication::processEvents();
    TWinSkinForm* sf = Manager->FindForm(w);
    ASSERT_TRUE(sf);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(sf->Owner(), f);
    EXPECT_EQ(sf->Form(), f);
    EXPECT_EQ(SendMessage(w, WM_SKINQUERY), 1);
    // A second activation attaches nothing new.
    EXPECT_FALSE(Manager->SkinForm(w));
    EXPECT_EQ(Manager->Forms().size(), 1u);

    Pump(20);
    ASSERT_EQ(sf->State(), TWinSkinForm::stSkinned);
    EXPECT_EQ(after, 1);
    EXPECT_EQ(rec.Count(WM_SKINDONE, 0), 1);
    EXPECT_TRUE(sf->Timer()->Enabled());
    EXPECT_EQ(sf->FrameKind(), TWinSkinForm::fkSizeable);
    EXPECT_EQ(sf->LeftWidth(), FrameW(*Data->Left));
    EXPECT_EQ(sf->TopHeight(), FrameH(*Data->Top));
    EXPECT_EQ(sf->RightWidth(), FrameW(*Data->Right));
    EXPECT_EQ(sf->BottomHeight(), FrameH(*Data->Bottom));
    ASSERT_GT(sf->LeftWidth() + sf->TopHeight(), 0);
    EXPECT_TRUE(IsSkinnedFrame(w));
    EXPECT_EQ(sf->SystemMenu(), GetSystemMenu(w, false));

    // The window grew by the skin's borders around the client it had.
    TRect wr, cr;
    GetWindowRect(w, wr);
    GetClientRect(w, cr);
    EXPECT_EQ(wr.Width(), cr.Width() + sf->LeftWidth() + sf->RightWidth());
    EXPECT_EQ(wr.Height(), cr.Height() + sf->TopHeight() + sf->BottomHeight());
    EXPECT_EQ(cr.Width(), 300);
    EXPECT_EQ(cr.Height(), 200);
    const QMargins insets = NonClientInsets(w);
    EXPECT_EQ(insets, QMargins(sf->LeftWidth(), sf->TopHeight(), sf->RightWidth(), sf->BottomHeight()));

    // Switched off: its own frame and procedure back, the client as it was.
    const TRect clientBefore = cr;
    Data->SetActive(false);
    Pump(400);
    EXPECT_FALSE(Manager->FindForm(w));
    EXPECT_EQ(SendMessage(w, WM_SKINQUERY), 0);
    EXPECT_FALSE(IsSkinnedFrame(w));
    GetClientRect(w, cr);
    EXPECT_EQ(cr, clientBefore);
    EXPECT_EQ(NonClientInsets(w), QMargins());
    EXPECT_EQ(f->Color(), clBtnFace);
}

TEST_F(SkinFormFixture, StylesGiveFrameKindAndBorderIcons)
{
    struct TCase {
        TFormBorderStyle Style;
        int Kind;
    };
    for (const TCase c : {TCase{bsSizeable, TWinSkinForm::fkSizeable}, TCase{bsSingle, TWinSkinForm::fkFixed},
                          TCase{bsNone, TWinSkinForm::fkNoCaption}, TCase{bsDialog, TWinSkinForm::fkDialog}}) {
        TForm* f = MakeForm(c.Style, false);
        ASSERT_TRUE(Manager->SkinForm(f->Window()));
        TWinSkinForm* sf = Manager->FindForm(f->Window());
        EXPECT_EQ(sf->FrameKind(), c.Kind) << c.Style;
        EXPECT_FALSE(sf->SystemDialog());
        EXPECT_TRUE(sf->FrameSkinned());
        const auto style = static_cast<uint32_t>(GetWindowLong(f->Window(), GWL_STYLE));
        EXPECT_EQ((sf->BorderIcons() & TWinSkinForm::biSysMenu) != 0, (style & WS_SYSMENU) != 0);
        EXPECT_EQ((sf->BorderIcons() & TWinSkinForm::biMaxBox) != 0, (style & WS_MAXIMIZEBOX) != 0);
        // On this platform version the caption style is never taken away.
        EXPECT_EQ(sf->BorderIcons() & TWinSkinForm::biCaptionHide, 0u);
    }
    // A window without a caption keeps no borders.
    EXPECT_EQ(Manager->FindForm(Forms[2]->Window())->TopHeight(), 0);
    // Without the main-menu kind only the controls would be skinned: messages pass through.
    TSkinControlTypes kinds = Data->SkinControls();
    kinds.Exclude(xcMainMenu);
    Data->SetSkinControls(kinds);
    TForm* plain = MakeForm(bsSizeable, false);
    TRecorder rec(plain->Window());
    ASSERT_TRUE(Manager->SkinForm(plain->Window()));
    EXPECT_FALSE(Manager->FindForm(plain->Window())->FrameSkinned());
    EXPECT_EQ(Manager->FindForm(plain->Window())->State(), TWinSkinForm::stSkinned);
    SendMessage(plain->Window(), WM_NCPAINT, 1);
    EXPECT_EQ(rec.Count(WM_NCPAINT), 1);
}

TEST_F(SkinFormFixture, TheProcedureBeforeAndAfterTheStart)
{
    TForm* f = MakeForm(bsSizeable, false);
    HWND w = f->Window();
    TRecorder rec(w);
    rec.Swallow = {WM_SYSCOMMAND, WM_CLOSE};
    ASSERT_TRUE(Manager->SkinForm(w));
    rec.Seen.clear();
    TWinSkinForm* sf = Manager->FindForm(w);
    ASSERT_EQ(sf->State(), TWinSkinForm::stAttached);

    // Before the start message no frame is painted and activation is swallowed.
    EXPECT_EQ(SendMessage(w, WM_NCPAINT, 1), 0);
    EXPECT_EQ(rec.Count(WM_NCPAINT), 0);
    EXPECT_EQ(SendMessage(w, WM_NCACTIVATE, 1), 0);
    EXPECT_EQ(rec.Count(WM_NCACTIVATE), 0);
    EXPECT_EQ(SendMessage(w, 0x00AE), 0);
    EXPECT_EQ(rec.Count(0x00AE), 0);
    EXPECT_EQ(SendMessage(w, WM_SKINQUERY), 1);
    EXPECT_EQ(rec.Count(WM_SKINQUERY), 0);

    // Window commands that come as WM_COMMAND are posted back as WM_SYSCOMMAND.
    SendMessage(w, WM_COMMAND, SC_CLOSE);
    SendMessage(w, WM_COMMAND, 0xFF10);
    SendMessage(w, WM_COMMAND, SC_KEYMENU);
    EXPECT_EQ(rec.Count(WM_COMMAND, SC_CLOSE), 0);
    EXPECT_EQ(rec.Count(WM_COMMAND, 0xFF10), 1);
    EXPECT_EQ(rec.Count(WM_COMMAND, SC_KEYMENU), 1);
    EXPECT_EQ(rec.Count(WM_SYSCOMMAND), 0);
    Pump();
    ASSERT_EQ(sf->State(), TWinSkinForm::stSkinned);
    EXPECT_EQ(rec.Count(WM_SYSCOMMAND, SC_CLOSE), 1);
    EXPECT_EQ(rec.Count(WM_SYSCOMMAND, 0xFF10), 0);
    EXPECT_EQ(rec.Count(WM_SKINSTART), 0);

    // Started: the frame messages are the skinned form's, activation is painted and answered.
    EXPECT_EQ(SendMessage(w, WM_NCPAINT, 1), 0);
    EXPECT_EQ(rec.Count(WM_NCPAINT), 0);
    EXPECT_EQ(SendMessage(w, WM_NCACTIVATE, 0), 1);
    EXPECT_EQ(sf->FormActive(), 0);
    EXPECT_FALSE(sf->Timer()->Enabled());
    EXPECT_EQ(SendMessage(w, WM_NCACTIVATE, 1), 1);
    EXPECT_TRUE(sf->Timer()->Enabled());
    // The caption band answers HTCAPTION below its top 3 rows.
    TRect wr;
    GetWindowRect(w, wr);
    const int y4 = static_cast<int>(SendMessage(w, WM_NCHITTEST, 0, MakeLParam(wr.Left + 60, wr.Top + 4)));
    EXPECT_EQ(y4, HTCAPTION);

    // The placement is the window's: the commands go no further than the
    // recorder here, so the window stays as it is until the window system
    // places it.
    SendMessage(w, WM_SYSCOMMAND, SC_MAXIMIZE);
    SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_EQ(rec.Count(WM_SYSCOMMAND, SC_MAXIMIZE), 1);
    EXPECT_EQ(rec.Count(WM_SYSCOMMAND, SC_MINIMIZE), 1);
    EXPECT_EQ(sf->Placement(), TWinSkinForm::plNormal);
    w->showMaximized();
    Pump();
    EXPECT_EQ(sf->Placement(), TWinSkinForm::plMaximized);
    w->showMinimized();
    Pump();
    EXPECT_EQ(sf->Placement(), TWinSkinForm::plMinimized);
    w->showNormal();
    Pump();
    EXPECT_EQ(sf->Placement(), TWinSkinForm::plNormal);

    // The form hook: the private questions on the form's own procedure.
    EXPECT_EQ(SendMessage(f->Handle(), WM_SKINISSKINNED, 0, kSkinMagic), kSkinMagic);
    EXPECT_EQ(SendMessage(f->Handle(), WM_SKINISSKINNED, 0, 0), 1);
    EXPECT_EQ(SendMessage(f->Handle(), WM_SKINPAINTDC, 0, kSkinMagic), kSkinMagic);
    // A recolour gives the form the skin's face colour again.
    f->SetColor(clWhite);
    SendMessage(f->Handle(), WM_SKINRECOLOR);
    EXPECT_EQ(f->Color(), Data->Colours.ButtonFace);
    EXPECT_EQ(sf->State(), TWinSkinForm::stSkinned);

    // Unskinned, the form's own procedure answers again.
    Manager->SetSkinOnState(1);
    Data->SetActive(false);
    Pump(400);
    EXPECT_EQ(SendMessage(f->Handle(), WM_SKINISSKINNED, 0, kSkinMagic), 0);
}

TEST_F(SkinFormFixture, TheSystemMenuOpensOnceAndASecondClickClosesOnlyOverACaptionObject)
{
    std::vector<std::tuple<TPopupMenu*, int, int>> shown;
    TPopupMenu::PopupHook = [&](TPopupMenu* menu, int x, int y) { shown.emplace_back(menu, x, y); };
    TForm* f = MakeForm(bsSizeable, false);
    HWND w = f->Window();
    TRecorder below(w);  // the window's own procedure as the skinned form sees it
    f->Show();
    Pump(20);
    TRecorder rec(w);  // above the skinned form: sees what reaches it
    TWinSkinForm* sf = Manager->FindForm(w);
    ASSERT_TRUE(sf && sf->Started());
    sf->SetDoubleClickTime(60000);
    SendMessage(w, WM_NCRBUTTONDOWN, HTCAPTION, MakeLParam(120, 70));
    SendMessage(w, WM_NCRBUTTONUP, HTCAPTION, MakeLParam(120, 70));
    EXPECT_EQ(below.Count(WM_NCRBUTTONDOWN), 0);
    EXPECT_EQ(below.Count(WM_NCRBUTTONUP), 0);
    ASSERT_EQ(shown.size(), 1u);
    TPopupMenu* menu = std::get<0>(shown[0]);
    EXPECT_EQ(menu, sf->SysMenuPopup());
    EXPECT_EQ(menu->Tag(), TWinSkinForm::kSysMenuTag);
    EXPECT_EQ(menu->Images(), Data->MenuImages);
    EXPECT_EQ(std::get<1>(shown[0]), 120);
    EXPECT_EQ(std::get<2>(shown[0]), 70);
    EXPECT_EQ(Manager->MenuKind(), TSkinManage::mkSystemMenu);

    // The items are the window's system menu, enabled by the window's state.
    HMENU system = GetSystemMenu(w, false);
    ASSERT_EQ(menu->Items()->Count(), GetMenuItemCount(system));
    bool sawClose = false;
    for (int i = 0; i < menu->Items()->Count(); ++i) {
        TMenuItem* item = menu->Items()->Items(i);
        const auto id = static_cast<unsigned>(item->Tag());
        EXPECT_EQ(id, GetMenuItemID(system, i));
        if (id == SC_RESTORE) {
            EXPECT_FALSE(item->Enabled());
            EXPECT_EQ(item->ImageIndex(), 0);
        } else if (id == SC_MAXIMIZE) {
            EXPECT_TRUE(item->Enabled());
            EXPECT_EQ(item->ImageIndex(), 1);
        } else if (id == SC_SIZE) {
            EXPECT_TRUE(item->Enabled());
        } else if (id == SC_CLOSE) {
            sawClose = true;
            EXPECT_EQ(item->ImageIndex(), 3);
            EXPECT_FALSE(item->IsLine());
        }
    }
    EXPECT_TRUE(sawClose);
    EXPECT_TRUE(sf->SysMenuHasClose());
    // Choosing an item posts its command.
    rec.Swallow = {WM_SYSCOMMAND, WM_CLOSE};
    for (int i = 0; i < menu->Items()->Count(); ++i)
        if (menu->Items()->Items(i)->Tag() == static_cast<int>(SC_MINIMIZE))
            menu->Items()->Items(i)->Click();
    Pump();
    EXPECT_EQ(rec.Count(WM_SYSCOMMAND, SC_MINIMIZE), 1);

    // A second click within the double-click time: nothing without a caption object...
    SendMessage(w, WM_NCRBUTTONDOWN, HTCAPTION, MakeLParam(120, 70));
    Pump();
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(rec.Count(WM_CLOSE), 0);
    // ... and with one the window is closed.
    TNCObject hot(sf);
    sf->SetHotObject(&hot);
    SendMessage(w, WM_NCRBUTTONDOWN, HTCAPTION, MakeLParam(120, 70));
    Pump();
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(rec.Count(WM_CLOSE), 1);
    EXPECT_FALSE(sf->Timer()->Enabled());
    sf->SetHotObject(nullptr);

    // After the double-click time the menu opens again; Alt+Space opens it at the client's corner.
    rec.Swallow.clear();
    sf->SetDoubleClickTime(0);
    QTest::qWait(5);
    SendMessage(w, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    ASSERT_EQ(shown.size(), 2u);
    const TPoint corner = ClientToScreen(w, TPoint(0, 0));
    EXPECT_EQ(std::get<1>(shown[1]), corner.X);
    EXPECT_EQ(std::get<2>(shown[1]), corner.Y);
    EXPECT_EQ(below.Count(WM_SYSCOMMAND, SC_KEYMENU), 0);
    // A right click elsewhere is the window's own.
    QTest::qWait(5);
    SendMessage(w, WM_NCRBUTTONDOWN, HTLEFT, MakeLParam(10, 70));
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(below.Count(WM_NCRBUTTONDOWN, HTLEFT), 1);
    TPopupMenu::PopupHook = nullptr;
}

TEST_F(SkinFormFixture, TheOldFixedSystemMenu)
{
    std::vector<TPopupMenu*> shown;
    TPopupMenu::PopupHook = [&](TPopupMenu* menu, int, int) { shown.push_back(menu); };
    Manager->SetWinVersion(0x0004);  // NT 4
    TForm* f = MakeForm(bsDialog);
    Pump(20);
    TWinSkinForm* sf = Manager->FindForm(f->Window());
    ASSERT_TRUE(sf);
    TRecorder rec(f->Window());
    rec.Swallow = {WM_CLOSE};
    SendMessage(f->Window(), WM_NCRBUTTONDOWN, HTCAPTION, MakeLParam(10, 10));
    ASSERT_EQ(shown.size(), 1u);
    QStringList captions;
    for (int i = 0; i < shown[0]->Items()->Count(); ++i)
        captions << shown[0]->Items()->Items(i)->Caption();
    // A dialog has neither box: only Restore, the line and Close.
    EXPECT_EQ(captions, (QStringList{QStringLiteral(" Restore "), QStringLiteral("-"), QStringLiteral(" Close ")}));
    TMenuItem* close = shown[0]->Items()->Items(2);
    EXPECT_EQ(close->ShortCut(), ShortCut(VK_F4, ssAlt));
    close->Click();
    Pump();
    EXPECT_EQ(rec.Count(WM_CLOSE), 1);
    EXPECT_TRUE(sf->SysMenuHasClose());
    TPopupMenu::PopupHook = nullptr;
}

TEST_F(SkinFormFixture, AMessageBoxIsWidenedToItsTitleAndItsControlsMoveByHalf)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Dlouhý titulek, který se do okna nevejde"),
                    QStringLiteral("Ok."), QMessageBox::Ok);
    Manager->SetRunning(false);
    box.show();
    Pump(20);
    ASSERT_FALSE(Manager->FindForm(&box));
    // Children in client coordinates (the band around the client is not theirs).
    auto clientPos = [&box](QWidget* child) { return child->mapTo(&box, QPoint(0, 0)) - QPoint(NonClientInsets(&box).left(), NonClientInsets(&box).top()); };
    std::vector<std::tuple<QWidget*, QPoint, QSize>> before;
    for (HWND child : ChildWindows(&box))
        if (child->isVisible())
            before.emplace_back(child, clientPos(child), child->size());
    ASSERT_FALSE(before.empty());
    TRect cr;
    GetClientRect(&box, cr);
    const QFontMetrics fm(Data->CaptionFont.ToQFont());
    const int needed = Data->Title->LeftWidth + fm.horizontalAdvance(box.windowTitle()) + Data->Title->RightWidth;
    ASSERT_LT(cr.Width(), needed);

    Manager->SetRunning(true);
    ASSERT_TRUE(Manager->SkinForm(&box));
    TWinSkinForm* sf = Manager->FindForm(&box);
    EXPECT_EQ(sf->Form(), nullptr);
    EXPECT_TRUE(sf->SystemDialog());
    EXPECT_EQ(sf->FrameKind(), TWinSkinForm::fkDialog);
    Pump(20);
    ASSERT_TRUE(sf->Started());
    TRect wr, after;
    GetWindowRect(&box, wr);
    GetClientRect(&box, after);
    EXPECT_EQ(after.Width(), needed);
    // A bare dialog gets the skinned frame in place of the window manager's.
    EXPECT_TRUE(IsSkinnedFrame(&box));
    EXPECT_EQ(wr.Width(), needed + sf->LeftWidth() + sf->RightWidth());
    EXPECT_EQ(after.Height(), cr.Height());
    const int shift = (needed - cr.Width()) / 2;
    for (const auto& [child, pos, size] : before) {
        EXPECT_EQ(clientPos(child), pos + QPoint(shift, 0)) << child->metaObject()->className();
        EXPECT_EQ(child->size(), size) << child->metaObject()->className();
    }
}

TEST_F(SkinFormFixture, ABareWindowsWholeClientTakesTheSkinsFace)
{
    // The fill goes through the window's painter: the client lies inside the band.
    QDialog dialog;
    dialog.resize(240, 160);
    dialog.show();
    Pump(20);
    TWinSkinForm* sf = Manager->FindForm(&dialog);
    ASSERT_TRUE(sf && sf->Started());
    ASSERT_GT(sf->LeftWidth() + sf->TopHeight(), 0);
    const QColor face = Data->SkinBrush.color();
    ASSERT_NE(face, dialog.palette().color(QPalette::Window)); // else the test proves nothing
    TRect wr, cr;
    GetWindowRect(&dialog, wr);
    GetClientRect(&dialog, cr);
    const TPoint origin = ClientToScreen(&dialog, TPoint(0, 0));
    const QRect client = cr.ToQRect().translated(origin.X - wr.Left, origin.Y - wr.Top);
    ASSERT_FALSE(client.isEmpty());
    dialog.repaint();
    const QImage shot = dialog.screen()->grabWindow(dialog.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), dialog.size());
    int wrong = 0;
    for (int y = client.top(); y <= client.bottom(); ++y)
        for (int x = client.left(); x <= client.right(); ++x)
            wrong += shot.pixel(x, y) != face.rgb();
    EXPECT_EQ(wrong, 0) << "of " << client.width() * client.height();
}

TEST_F(SkinFormFixture, HiddenWhileAttachingUntilTheStart)
{
    TForm* f = MakeForm(bsSizeable);
    Data->SetActive(false);
    Manager->SetSkinOnState(1);
    Manager->TimerTick();  // the unskin-all the switch asked for
    ASSERT_FALSE(Manager->FindForm(f->Window()));
    ASSERT_TRUE(f->Window()->isVisible());
    Manager->SetRunning(true);
    Manager->SetHideWhileAttaching(true);
    ASSERT_TRUE(Manager->SkinForm(f->Window()));
    // Not shown half-skinned: hidden until its start message.
    EXPECT_FALSE(f->Window()->isVisible());
    EXPECT_EQ(GetWindowLong(f->Window(), GWL_STYLE) & WS_VISIBLE, 0);
    Pump(20);
    EXPECT_TRUE(f->Window()->isVisible());
    EXPECT_FALSE(Manager->HideWhileAttaching());
    EXPECT_TRUE(Manager->FindForm(f->Window())->Started());
}

TEST_F(SkinFormFixture, AWindowActiveWhenSkinningComesOnGetsTheActiveFrame)
{
    // Skinning switched on at run time: the active window gets no activation message.
    Data->SetActive(false);
    Pump(400);
    TForm* f = MakeForm(bsSizeable);
    f->Window()->activateWindow();
    Pump();
    ASSERT_TRUE(f->Window()->isActiveWindow());
    ASSERT_FALSE(Manager->FindForm(f->Window()));
    Data->SetActive(true);
    Pump(400);
    TWinSkinForm* sf = Manager->FindForm(f->Window());
    ASSERT_TRUE(sf);
    ASSERT_TRUE(sf->Started());
    EXPECT_EQ(sf->FormActive(), 1);
}

TEST_F(SkinFormFixture, MaximisedByItsCaptionButtonItStaysMaximisedOverASkinSwitch)
{
    TForm* f = MakeForm(bsSizeable, false, 300, 200);
    f->Show();
    Pump(20);
    HWND w = f->Window();
    const QRect normal = w->geometry();
    auto clickMaximize = [&] {
        TWinSkinForm* sf = Manager->FindForm(w);
        ASSERT_TRUE(sf && sf->Started());
        sf->LayoutSysButtons();
        const auto& buttons = sf->SysButtons();
        const auto b = std::find_if(buttons.begin(), buttons.end(),
                                    [](const auto& x) { return x->Visible && x->Data->Action == 1; });
        ASSERT_NE(b, buttons.end());
        const TRect& r = (*b)->Rect;
        TestSupport::MouseClick(w, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        Pump(50);
    };
    clickMaximize();
    ASSERT_TRUE(IsZoomed(w));
    const QRect zoomed = w->geometry();
    ASSERT_NE(zoomed, normal);
    Data->SetActive(false);
    Pump(400);
    ASSERT_FALSE(Manager->FindForm(w));
    // Unskinned, the platform maximises it with its own frame.
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_TRUE(w->frameGeometry().contains(zoomed));
    Data->SetActive(true);
    Pump(400);
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_EQ(w->geometry(), zoomed);
    // Its caption button still knows the size to go back to.
    clickMaximize();
    EXPECT_FALSE(IsZoomed(w));
    EXPECT_EQ(w->geometry(), normal);
}

TEST_F(SkinFormFixture, ReskinnedWhileMaximisedTheRegionIsCutFromTheNewSkinsCorners)
{
    TForm* f = MakeForm(bsSizeable, false, 300, 200);
    f->Show();
    Pump(20);
    HWND w = f->Window();
    ASSERT_TRUE(Manager->FindForm(w) && Manager->FindForm(w)->Started());
    SendMessage(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump();
    ASSERT_TRUE(IsZoomed(w));
    int keyed = 0;
    for (const char* skin : {"mxskin20", "zelena", "grafit", "mxskin20"}) {
        Data->SetSkinFile(TestSupport::BinDir() + QStringLiteral("/skiny/%1.skn").arg(QLatin1String(skin)));
        Pump(400);
        TWinSkinForm* sf = Manager->FindForm(w);
        ASSERT_TRUE(sf);
        ASSERT_TRUE(IsZoomed(w)) << skin;
        const std::optional<TRegion> region = GetWindowRgn(w);
        ASSERT_TRUE(region) << skin;
        // The top corners: a pixel shows exactly where the side part is not magenta.
        const int h = w->height();
        const int width = w->width();
        const QImage left = sf->BorderPartBitmap(1, sf->LeftWidth(), h).convertToFormat(QImage::Format_RGB32);
        const QImage right = sf->BorderPartBitmap(2, sf->RightWidth(), h).convertToFormat(QImage::Format_RGB32);
        const bool transLeft = Data->Left->Trans == 1;
        const bool transRight = Data->Right->Trans == 1;
        // The key colour with the region's tolerance of 1 per channel.
        auto key = [](QRgb c) { return qRed(c) >= 254 && qGreen(c) <= 1 && qBlue(c) >= 254; };
        for (int y = 0; y < std::min(4, h); ++y) {
            for (int x = 0; x < sf->LeftWidth(); ++x) {
                const bool magenta = transLeft && key(left.pixel(x, y));
                keyed += magenta;
                EXPECT_EQ(region->Contains(x, y), !magenta) << skin << " left " << x << "," << y;
            }
            for (int x = 0; x < sf->RightWidth(); ++x) {
                const bool magenta = transRight && key(right.pixel(x, y));
                keyed += magenta;
                EXPECT_EQ(region->Contains(width - sf->RightWidth() + x, y), !magenta)
                    << skin << " right " << width - sf->RightWidth() + x << "," << y;
            }
        }
    }
    // The shipped skins round their corners with magenta.
    EXPECT_GT(keyed, 0);
}

TEST_F(SkinFormFixture, MinimizeWhereNothingCanMinimizeChangesNothingAndSkinSwitchesKeepTheWholeFrame)
{
    // The offscreen platform has no window manager: nothing can minimize the window.
    TForm* f = MakeForm(bsSizeable, false, 300, 200);
    auto* menu = new TMainMenu(f);
    auto* file = new TMenuItem(f);
    file->SetCaption(QStringLiteral("&Soubor"));
    menu->Items()->Add(file);
    auto* item = new TMenuItem(f);
    item->SetCaption(QStringLiteral("Nový"));
    file->Add(item);
    f->SetMenu(menu);
    f->Show();
    Pump(20);
    HWND w = f->Window();
    TWinSkinForm* sf = Manager->FindForm(w);
    ASSERT_TRUE(sf && sf->Started() && sf->MenuBar());
    // Asked by the caption's minimize button (real clicks) and by the command.
    const auto& buttons = sf->SysButtons();
    const auto minimize = std::find_if(buttons.begin(), buttons.end(), [](const auto& b) { return b->Data->Action == 2; });
    ASSERT_NE(minimize, buttons.end());
    sf->LayoutSysButtons();
    const TRect& r = (*minimize)->Rect;
    TestSupport::MouseClick(w, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    Pump(50);
    EXPECT_FALSE(IsIconic(w));
    EXPECT_EQ(sf->Placement(), TWinSkinForm::plNormal);
    SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump(50);
    EXPECT_FALSE(IsIconic(w));
    EXPECT_EQ(sf->Placement(), TWinSkinForm::plNormal);

    // A skin change paints the whole frame, the side borders included.
    Data->SetSkinFile(TestSupport::BinDir() + QStringLiteral("/skiny/zelena.skn"));
    Pump(400);
    ASSERT_EQ(Manager->FindForm(w), sf);
    w->repaint();
    const QImage shot = w->screen()->grabWindow(w->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage left = sf->BorderPartBitmap(1, sf->LeftWidth(), w->height()).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(left.isNull());
    const int y = w->height() / 2;
    for (int x = 0; x < sf->LeftWidth(); ++x)
        EXPECT_EQ(shot.pixel(x, y), left.pixel(x, y)) << x;

    // Off and on again: the main window is skinned with its menu bar.
    Data->SetActive(false);
    Pump(400);
    Data->SetActive(true);
    Pump(400);
    sf = Manager->FindForm(w);
    ASSERT_TRUE(sf && sf->Started());
    EXPECT_TRUE(IsSkinnedFrame(w));
    EXPECT_TRUE(sf->MenuBar());
    EXPECT_EQ(GetMenu(w), nullptr);
}

TEST_F(SkinFormFixture, AFixedFormHasNoSizeItsBorderDoesNotDragAndMoveTakesTheArrowKeys)
{
    TForm* f = MakeForm(bsDialog, true, 260, 160);
    HWND w = f->Window();
    Pump(20);
    TWinSkinForm* sf = Manager->FindForm(w);
    ASSERT_TRUE(sf && sf->Started());
    sf->RebuildSysMenuPopup();
    TMenuItem* move = nullptr;
    for (int i = 0; i < sf->SysMenuPopup()->Items()->Count(); ++i) {
        TMenuItem* item = sf->SysMenuPopup()->Items()->Items(i);
        if (item->Tag() == static_cast<int>(SC_SIZE)) {
            EXPECT_FALSE(item->Enabled());
        }
        if (item->Tag() == static_cast<int>(SC_MOVE))
            move = item;
    }
    ASSERT_TRUE(move && move->Enabled());
    // The side border is no caption: it does not drag the dialog.
    TRect wr;
    GetWindowRect(w, wr);
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MakeLParam(wr.Left + 1, wr.Top + wr.Height() / 2)), HTBORDER);
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MakeLParam(wr.Left + wr.Width() / 2, wr.Bottom - 1)), HTBORDER);

    // "Přesunout": the arrows move the window, Escape puts it back.
    const QPoint start = w->pos();
    move->Click();
    Pump();
    QTest::keyClick(w, Qt::Key_Down);
    QTest::keyClick(w, Qt::Key_Right);
    EXPECT_EQ(w->pos(), start + QPoint(8, 8));
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_EQ(w->pos(), start);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(SkinFormFixture, AltSpaceInAMessageBoxOpensItsSkinnedSystemMenu)
{
    std::vector<TPopupMenu*> shown;
    TPopupMenu::PopupHook = [&](TPopupMenu* menu, int, int) { shown.push_back(menu); };
    QMessageBox box(QMessageBox::Question, QStringLiteral("Otázka"), QStringLiteral("Uložit?"),
                    QMessageBox::Yes | QMessageBox::No);
    box.show();
    QApplication::setActiveWindow(&box);
    Pump(20);
    TWinSkinForm* sf = Manager->FindForm(&box);
    ASSERT_TRUE(sf && sf->Started());
    QWidget* focus = box.focusWidget() ? box.focusWidget() : box.button(QMessageBox::Yes);
    ASSERT_TRUE(focus);
    QTest::keyClick(focus, Qt::Key_Space, Qt::AltModifier);
    Pump();
    TPopupMenu::PopupHook = nullptr;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], sf->SysMenuPopup());
    EXPECT_EQ(box.clickedButton(), nullptr); // the key pressed no button
    EXPECT_TRUE(box.isVisible());
}

namespace {
// A form holding one control of every kind the chooser skins, the page
// control with more tabs than fit (its scroll arrows get skinners) and the
// combo box with a drop-down list (its list gets one).
void FillWithEveryControlKind(TForm* f)
{
    auto* pc = Placed(new TPageControl(f), "PageControl1", f, 4, 4, 120, 70);
    for (int i = 0; i < 8; ++i) {
        auto* sheet = new TTabSheet(f);
        sheet->SetPageControl(pc);
        sheet->SetCaption(QStringLiteral("Strana %1").arg(i + 1));
    }
    auto* combo = Placed(new TComboBox(f), "ComboBox1", f, 130, 4, 100, 22);
    for (int i = 0; i < 30; ++i)
        combo->Items()->Add(QStringLiteral("Položka %1").arg(i));
    Placed(new TButton(f), "Button1", f, 130, 30, 60, 24)->SetCaption(QStringLiteral("Tlačítko"));
    Placed(new TSpeedButton(f), "SpeedButton1", f, 200, 30, 24, 24);
    Placed(new TCheckBox(f), "CheckBox1", f, 4, 80, 90, 20);
    Placed(new TRadioButton(f), "RadioButton1", f, 100, 80, 90, 20);
    Placed(new TEdit(f), "Edit1", f, 4, 104, 90, 22);
    Placed(new TMemo(f), "Memo1", f, 100, 104, 90, 40);
    Placed(new TSpinEdit(f), "SpinEdit1", f, 200, 104, 60, 22);
    auto* list = Placed(new TListBox(f), "ListBox1", f, 4, 130, 90, 40);
    for (int i = 0; i < 20; ++i)
        list->Items()->Add(QStringLiteral("Řádek %1").arg(i));
    Placed(new TGroupBox(f), "GroupBox1", f, 200, 130, 80, 40);
    Placed(new TPanel(f), "Panel1", f, 240, 4, 50, 20);
    Placed(new TScrollBox(f), "ScrollBox1", f, 4, 174, 60, 20);
    Placed(new TStringGrid(f), "StringGrid1", f, 70, 150, 80, 40);
    Placed(new TListView(f), "ListView1", f, 154, 150, 40, 40);
    Placed(new TProgressBar(f), "ProgressBar1", f, 200, 176, 80, 10);
    auto* status = Placed(new TStatusBar(f), "StatusBar1", f, 0, 0, 100, 18);
    status->SetAlign(alBottom);
    status->AddPanel(60);
}
} // namespace

TEST_F(SkinFormFixture, FreeingASkinnedFormFreesEachSkinnerOnce)
{
    // Freed while skinned; then unskinned by the manager and freed; then
    // skinned, unskinned and skinned again before it goes. Each skinner
    // leaves its form's list when it is freed, so nothing is freed twice
    // (the sanitizer and valgrind runs of the suite see any stray access).
    for (int round = 0; round < 3; ++round) {
        TForm* f = MakeForm(bsSizeable, false, 320, 230);
        FillWithEveryControlKind(f);
        f->Show();
        Pump();
        TWinSkinForm* skin = Manager->FindForm(f->Window());
        ASSERT_TRUE(skin);
        const auto& listed = skin->Controls();
        const bool hasArrow = std::any_of(listed.begin(), listed.end(),
                                          [](TComponent* c) { return c->ClassName() == QLatin1String("TSkinTabScroll"); });
        const bool hasDropList = std::any_of(listed.begin(), listed.end(), [](TComponent* c) {
            return c->ClassName() == QLatin1String("TComboxScrollBar");
        });
        EXPECT_TRUE(hasArrow);
        EXPECT_TRUE(hasDropList);
        if (round >= 1) {
            skin->RestoreControls(true);
            EXPECT_TRUE(skin->Controls().empty());
        }
        if (round == 2) {
            skin->SkinChildControls();
            EXPECT_FALSE(skin->Controls().empty());
        }
        Forms.clear();
        Pump();
    }
}

TEST_F(SkinFormFixture, DeactivationEndsTheHoverOfTheControlThatHadTheMouse)
{
    TForm* f = MakeForm(bsSizeable, false, 300, 200);
    auto* button = Placed(new TButton(f), "Button1", f, 20, 20, 90, 28);
    button->SetCaption(QStringLiteral("Zavřít"));
    f->Show();
    Pump(300);
    TWinSkinForm* sf = Manager->FindForm(f->Window());
    ASSERT_TRUE(sf);
    TSkinControl* skinner = nullptr;
    for (TComponent* c : sf->Controls())
        if (auto* s = dynamic_cast<TSkinControl*>(c); s && s->Control() == button)
            skinner = s;
    ASSERT_TRUE(skinner);
    QTest::mouseMove(button->Handle(), QPoint(10, 10));
    Pump();
    ASSERT_TRUE(skinner->MouseState() & TSkinControl::msHover);
    EXPECT_EQ(sf->HotControl(), skinner);
    // Another window takes the activation: the button no longer looks hovered.
    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    QApplication::setActiveWindow(&other);
    Pump(300);
    EXPECT_FALSE(skinner->MouseState() & TSkinControl::msHover);
    EXPECT_EQ(sf->HotControl(), nullptr);
    // Closed while hovered and shown again (the version window's "Zavřít").
    f->Show();
    f->Window()->activateWindow();
    QApplication::setActiveWindow(f->Window());
    Pump(300);
    QTest::mouseMove(button->Handle(), QPoint(12, 10));
    Pump();
    ASSERT_TRUE(skinner->MouseState() & TSkinControl::msHover);
    f->Hide();
    Pump(300);
    EXPECT_FALSE(skinner->MouseState() & TSkinControl::msHover);
    QTest::mouseMove(&other, QPoint(50, 50)); // the mouse is elsewhere when it opens again
    f->Show();
    Pump(300);
    EXPECT_FALSE(skinner->MouseState() & TSkinControl::msHover);
}

TEST_F(SkinFormFixture, PopupMenusAddedLaterAreSkinnedWithTheControlsWhenTheSkinSaysSo)
{
    TForm* f = MakeForm();
    TWinSkinForm* sf = Manager->FindForm(f->Window());
    ASSERT_TRUE(sf);
    for (const bool gate : {false, true}) {
        TSkinControlTypes kinds = Data->SkinControls();
        if (gate)
            kinds.Include(xcPopupMenu);
        else
            kinds.Exclude(xcPopupMenu);
        Data->SetSkinControls(kinds);
        auto* popup = new TPopupMenu(f);
        popup->Items()->Add(new TMenuItem(popup));
        sf->SkinChildControls();
        EXPECT_EQ(popup->OwnerDrawWindow() != nullptr, gate);
        delete popup;
    }
}
