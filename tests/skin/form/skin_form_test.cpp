// The skinned form: attaching, the start message, the frame layout, the window
// procedure's tables and unskinning.

#include "skin_form_fixture.h"

#include "classlib/controls/ext_controls.h"
#include "classlib/forms/menus.h"
#include "platform/menus_api.h"
#include "platform/non_client.h"
#include "platform/window_info.h"

#include <QFontMetrics>
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
