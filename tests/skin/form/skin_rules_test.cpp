// Which windows the skin manager skins, with which skin data, and when its
// scheduled requests reach the windows.

#include "skin_form_fixture.h"

#include "classlib/controls/ext_controls.h"
#include "platform/non_client.h"
#include "platform/system_metrics.h"
#include "test_support.h"
#include "platform/window_info.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QTimer>
#include <QMdiArea>
#include <QMenu>

using namespace SkinFormTest;

namespace {
class TcxPopupEditPopupWindowForm : public TForm {
public:
    using TForm::TForm;
    QString ClassName() const override { return QStringLiteral("TcxPopupEditPopupWindowX"); }
};
class TApplicationLikeForm : public TForm {
public:
    using TForm::TForm;
    QString ClassName() const override { return QStringLiteral("TApplication"); }
};
class TPreviewForm : public TForm {
public:
    using TForm::TForm;
    QString ClassName() const override { return QStringLiteral("TFrmPrintPREVIEW"); }
};
class TNoSkinForm : public TForm {
public:
    using TForm::TForm;
    QString ClassName() const override { return QStringLiteral("TFrmNoSkin"); }
};

template <class T>
std::unique_ptr<T> HiddenForm()
{
    auto f = std::make_unique<T>(nullptr);
    f->SetBounds(10, 10, 200, 150);
    f->Window();
    return f;
}
} // namespace

TEST_F(SkinFormFixture, SkipRulesInTheirOrder)
{
    // 1. Running flag clear.
    auto plain = HiddenForm<TForm>();
    Manager->SetRunning(false);
    EXPECT_FALSE(Manager->SkinForm(plain->Window()));
    Manager->SetRunning(true);

    // 3. A window that some object skins already.
    auto claimed = HiddenForm<TForm>();
    TWndProc old = SetWindowLong(claimed->Window(), GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_SKINQUERY)
            m.Result = 1;
        else
            CallWindowProc(old, m);
    });
    EXPECT_FALSE(Manager->SkinForm(claimed->Window()));
    SetWindowLong(claimed->Window(), GWL_WNDPROC, old);

    // 4. Listed already: one object per window.
    EXPECT_TRUE(Manager->SkinForm(plain->Window()));
    EXPECT_FALSE(Manager->SkinForm(plain->Window()));
    EXPECT_EQ(Manager->Forms().size(), 1u);

    // 6. A child window (of anything but an MDI client), though it is ours.
    auto host = HiddenForm<TForm>();
    auto* panel = new TPanel(host.get());
    panel->SetParent(host.get());
    panel->SetBounds(0, 0, 50, 50);
    ASSERT_NE(GetWindowLong(panel->Handle(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_FALSE(Manager->SkinForm(panel->Handle()));

    // 7. Another module's window without a control object, unless a system dialog.
    QWidget foreign;
    foreign.resize(100, 80);
    EXPECT_FALSE(Manager->SkinForm(&foreign));
    QDialog systemDialog;
    systemDialog.resize(100, 80);
    EXPECT_TRUE(Manager->SkinForm(&systemDialog));
    EXPECT_EQ(Manager->FindForm(&systemDialog)->WindowClassName(), QStringLiteral("#32770"));

    // 8. No area, unless an MDI child.
    QDialog empty;
    empty.resize(0, 0);
    TRect r;
    ASSERT_TRUE(GetWindowRect(&empty, r));
    ASSERT_EQ(r.Width() * r.Height(), 0);
    EXPECT_FALSE(Manager->SkinForm(&empty));
    SetWindowLong(&empty, GWL_EXSTYLE, GetWindowLong(&empty, GWL_EXSTYLE) | WS_EX_MDICHILD);
    EXPECT_TRUE(Manager->SkinForm(&empty));
    EXPECT_EQ(Manager->FindForm(&empty)->WindowKind(), TWinSkinForm::wkMDIChild);

    // 9. Tag 99, whatever DisableTag says; DisableTag itself does not keep a window out.
    Data->SetDisableTag(5);
    auto tagged = HiddenForm<TForm>();
    tagged->SetTag(99);
    EXPECT_FALSE(Manager->SkinForm(tagged->Window()));
    auto five = HiddenForm<TForm>();
    five->SetTag(5);
    EXPECT_TRUE(Manager->SkinForm(five->Window()));

    // 10, 11. Classes never skinned.
    auto cx = HiddenForm<TcxPopupEditPopupWindowForm>();
    EXPECT_FALSE(Manager->SkinForm(cx->Window()));
    auto app = HiddenForm<TApplicationLikeForm>();
    EXPECT_FALSE(Manager->SkinForm(app->Window()));

    // 12. Previews only with xoPreview (any letter case); dialogs with style bit 0x200; the handler.
    auto preview = HiddenForm<TPreviewForm>();
    TSkinOptions options = Data->Options();
    options.Exclude(xoPreview);
    Data->SetOptions(options);
    EXPECT_FALSE(Manager->SkinForm(preview->Window()));
    options.Include(xoPreview);
    Data->SetOptions(options);
    EXPECT_TRUE(Manager->SkinForm(preview->Window()));
    QDialog styled;
    styled.resize(100, 80);
    SetWindowLong(&styled, GWL_STYLE, GetWindowLong(&styled, GWL_STYLE) | 0x200);
    EXPECT_FALSE(Manager->SkinForm(&styled));
    auto refused = HiddenForm<TNoSkinForm>();
    QStringList asked;
    Data->OnFormSkin = [&](TObject*, const QString& name, bool& doSkin) {
        asked << name;
        doSkin = name != QStringLiteral("TFrmNoSkin");
    };
    EXPECT_FALSE(Manager->SkinForm(refused->Window()));
    EXPECT_EQ(asked, QStringList{QStringLiteral("TFrmNoSkin")});
    Data->OnFormSkin = nullptr;

    // 13. The skin data has no complete skin (a missing skin file leaves it loading).
    auto late = HiddenForm<TForm>();
    Data->SetSkinFile(QStringLiteral("/nonexistent/none.skn"));
    EXPECT_FALSE(Manager->SkinForm(late->Window()));
    LoadDefaultSkin(*Data);
    EXPECT_TRUE(Manager->SkinForm(late->Window()));

    // The start messages were posted: every listed window starts once.
    const size_t listed = Manager->Forms().size();
    EXPECT_EQ(listed, 6u);
    Pump();
    for (TWinSkinForm* f : Manager->Forms())
        EXPECT_TRUE(f->Started()) << f->WindowClassName().toStdString();
    Manager->TimerTick();
}

TEST_F(SkinFormFixture, SkinDataChoice)
{
    auto dialogData = std::make_unique<TSkinData>(nullptr);
    dialogData->SetSkinFormtype(sfDialog);
    auto mainData = std::make_unique<TSkinData>(nullptr);
    auto owner = HiddenForm<TForm>();
    auto* onlyThis = new TSkinData(owner.get());
    onlyThis->SetSkinFormtype(sfOnlyThisForm);
    Manager->AddSkinData(dialogData.get());
    Manager->AddSkinData(onlyThis);
    auto other = HiddenForm<TForm>();
    QDialog dialog;

    EXPECT_EQ(Manager->ChooseSkinData(owner->Window(), QStringLiteral("TForm")), onlyThis);
    EXPECT_EQ(Manager->ChooseSkinData(&dialog, QStringLiteral("#32770")), dialogData.get());
    EXPECT_EQ(Manager->ChooseSkinData(&dialog, QStringLiteral("TMessageForm")), dialogData.get());
    // The last main-form component, else the first registered one.
    EXPECT_EQ(Manager->ChooseSkinData(other->Window(), QStringLiteral("TForm")), Data.get());
    Manager->AddSkinData(mainData.get());
    EXPECT_EQ(Manager->ChooseSkinData(other->Window(), QStringLiteral("TForm")), mainData.get());
    Manager->RemoveSkinData(mainData.get());
    Manager->RemoveSkinData(Data.get());
    EXPECT_EQ(Manager->ChooseSkinData(other->Window(), QStringLiteral("TForm")), dialogData.get());
    Manager->RemoveSkinData(dialogData.get());
    Manager->RemoveSkinData(onlyThis);
    EXPECT_EQ(Manager->ChooseSkinData(other->Window(), QStringLiteral("TForm")), nullptr);
    Manager->AddSkinData(Data.get());
}

TEST_F(SkinFormFixture, OnlyTheLastRequestWithin250MsReachesTheWindows)
{
    TForm* f = MakeForm();
    Pump(20);
    TWinSkinForm* first = Manager->FindForm(f->Window());
    ASSERT_TRUE(first);
    ASSERT_EQ(Manager->SkinOnState(), 1);
    int changed = 0;
    Data->OnSkinChanged = [&](TComponent*) { ++changed; };

    // Off then on: the tick skins all, the window keeps its one object.
    Data->SetActive(false);
    Data->SetActive(true);
    Pump(100);
    EXPECT_EQ(Manager->FindForm(f->Window()), first);
    Pump(300);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(Manager->FindForm(f->Window()), first);
    EXPECT_TRUE(first->Installed());
    EXPECT_EQ(Manager->Forms().size(), 1u);

    // On then off: only the unskin happens.
    Data->SetActive(false);
    Data->SetActive(true);
    Data->SetActive(false);
    Pump(400);
    EXPECT_EQ(changed, 2);
    EXPECT_TRUE(Manager->Forms().empty());
    EXPECT_EQ(SendMessage(f->Window(), WM_SKINQUERY), 0);
    // Activated again while off: not skinned.
    f->Hide();
    f->Show();
    Pump(20);
    EXPECT_FALSE(Manager->FindForm(f->Window()));

    // On again: every visible form of the screen list gets a new object.
    Data->SetActive(true);
    Pump(400);
    TWinSkinForm* again = Manager->FindForm(f->Window());
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->Started());
    EXPECT_EQ(changed, 3);
}

TEST_F(SkinFormFixture, BeforeTheFirstActivationUnskinAllOnlyStopsSkinning)
{
    FreeSkinManager();
    TSkinManage* m = CreateSkinManager();
    m->AddSkinData(Data.get());
    m->InstallHook();
    m->SetRunning(true);
    ASSERT_EQ(m->SkinOnState(), 0);
    m->SetPendingSkinData(Data.get());
    m->ScheduleAction(TSkinManage::saUnskinAll, 250);
    EXPECT_FALSE(m->TimerActive());
    EXPECT_FALSE(m->Running());
    TForm* f = MakeForm();
    Pump(20);
    EXPECT_EQ(m->SkinOnState(), 1);
    EXPECT_FALSE(m->FindForm(f->Window()));
}

TEST_F(SkinFormFixture, ANewSkinFileReachesEveryOpenWindow)
{
    TForm* a = MakeForm(bsSizeable, true, 300, 200);
    TForm* b = MakeForm(bsDialog, true, 240, 160);
    Pump(20);
    TRect ca, cb;
    GetClientRect(a->Window(), ca);
    GetClientRect(b->Window(), cb);
    const QString file = TestSupport::BinDir() + QStringLiteral("/skiny/grafit.skn");
    TSkinData other(nullptr);
    other.SetSkinFile(file);
    ASSERT_TRUE(other.SkinRead());
    const int left = other.Left->Image.width() / std::max(1, other.Left->Frame);
    const int top = other.Top->Image.height() / std::max(1, other.Top->Frame);
    int changed = 0;
    Data->OnSkinChanged = [&](TComponent*) { ++changed; };

    Data->SetSkinFile(file);
    // At once: the forms re-read the skin, their caption buttons show the new elements.
    for (TForm* f : {a, b}) {
        TWinSkinForm* sf = Manager->FindForm(f->Window());
        ASSERT_EQ(sf->SysButtons().size(), Data->CaptionButtons.size());
        for (size_t i = 0; i < sf->SysButtons().size(); ++i) {
            EXPECT_EQ(sf->SysButtons()[i]->Data->Name, Data->CaptionButtons[i]->Name);
            EXPECT_TRUE(sf->SysButtons()[i]->Data->Image == Data->CaptionButtons[i]->Image);
        }
    }
    EXPECT_EQ(Manager->PendingAction(), TSkinManage::saReskin);
    EXPECT_EQ(changed, 0);
    Pump(400);
    for (TForm* f : {a, b}) {
        TWinSkinForm* sf = Manager->FindForm(f->Window());
        ASSERT_TRUE(sf);
        EXPECT_EQ(sf->LeftWidth(), left);
        EXPECT_EQ(sf->TopHeight(), top);
        TRect wr, cr;
        GetWindowRect(f->Window(), wr);
        GetClientRect(f->Window(), cr);
        EXPECT_EQ(wr.Height(), cr.Height() + sf->TopHeight() + sf->BottomHeight());
        EXPECT_EQ(cr, f == a ? ca : cb);
    }
    EXPECT_EQ(changed, 1);
}

TEST_F(SkinFormFixture, WindowsGoingAwayAndTheManagerGoingLeaveNothingSubclassed)
{
    // A bare dialog destroyed while skinned: its object is released and purged.
    auto* dialog = new QDialog;
    dialog->resize(200, 100);
    dialog->show();
    Pump(20);
    TWinSkinForm* sf = Manager->FindForm(dialog);
    ASSERT_TRUE(sf);
    ASSERT_TRUE(sf->Started());
    delete dialog;
    EXPECT_TRUE(sf->Released());
    Manager->Purge();
    EXPECT_TRUE(Manager->Forms().empty());

    // A form freed while skinned takes its object with it.
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 200, 100);
    form->Show();
    Pump(20);
    ASSERT_EQ(Manager->Forms().size(), 1u);
    form.reset();
    EXPECT_TRUE(Manager->Forms().empty());

    // The manager freed at the end gives every window its own procedure back.
    QDialog kept;
    kept.resize(200, 100);
    const int before = TWindowBridge::Of(&kept)->SubclassCount();
    kept.show();
    Pump(20);
    ASSERT_TRUE(Manager->FindForm(&kept));
    EXPECT_GT(TWindowBridge::Of(&kept)->SubclassCount(), before);
    FreeSkinManager();
    EXPECT_EQ(TWindowBridge::Of(&kept)->SubclassCount(), before);
    EXPECT_FALSE(IsSkinnedFrame(&kept));
    EXPECT_EQ(SendMessage(&kept, WM_SKINQUERY), 0);
}

TEST_F(SkinFormFixture, MDIParentAndChildrenByMessages)
{
    // An MDI parent: a window with an MDI client inside.
    QWidget parent;
    auto* area = new QMdiArea(&parent);
    area->setGeometry(0, 0, 200, 150);
    parent.resize(220, 170);
    ASSERT_EQ(GetClassName(area), QStringLiteral("MDIClient"));
    TWinSkinForm sf(nullptr);
    sf.SetWindow(&parent, GetClassName(&parent));
    sf.InitWindow(Data.get());
    EXPECT_EQ(sf.WindowKind(), TWinSkinForm::wkMDIParent);
    EXPECT_EQ(Manager->MDIClient(), area);
    EXPECT_EQ(Manager->MDIForm(), &sf);
    // The client's procedure is ours: tiling clears the maximised-child flag.
    Manager->SetMDIChildMaximized(true);
    SendMessage(area, WM_MDITILE);
    EXPECT_FALSE(Manager->MDIChildMaximized());
    Data->SetMenuUpdate(true);
    SendMessage(area, WM_MDICREATE);
    EXPECT_FALSE(Data->MenuUpdate());
    Data->SetMenuUpdate(true);
    sf.Unskin();
    SendMessage(area, WM_MDICREATE);
    EXPECT_TRUE(Data->MenuUpdate());

    // An MDI child is skinned when it is created, before any activation.
    QDialog created;
    created.resize(120, 90);
    SetWindowLong(&created, GWL_EXSTYLE, GetWindowLong(&created, GWL_EXSTYLE) | WS_EX_MDICHILD);
    CREATESTRUCT cs;
    cs.lpszClass = GetClassName(&created);
    cs.dwExStyle = static_cast<uint32_t>(GetWindowLong(&created, GWL_EXSTYLE));
    CBT_CREATEWND cbt;
    cbt.lpcs = &cs;
    Manager->HookEvent(HCBT_CREATEWND, WParamOf(&created), LParamOf(&cbt));
    ASSERT_TRUE(Manager->FindForm(&created));
    EXPECT_EQ(Manager->FindForm(&created)->WindowKind(), TWinSkinForm::wkMDIChild);
    // Its caption is at least the system caption and frame high.
    EXPECT_GE(Manager->FindForm(&created)->TopHeight() + Manager->FindForm(&created)->MenuHeight(),
              GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME));

    // A maximised MDI child passes the non-client messages to its own procedure.
    QDialog child;
    child.resize(120, 90);
    TRecorder rec(&child);
    SetWindowLong(&child, GWL_EXSTYLE, GetWindowLong(&child, GWL_EXSTYLE) | WS_EX_MDICHILD);
    child.showMaximized();
    Pump(20);
    TWinSkinForm* mdiChild = Manager->FindForm(&child);
    ASSERT_TRUE(mdiChild);
    ASSERT_TRUE(mdiChild->Started());
    WINDOWPLACEMENT wp;
    ASSERT_TRUE(GetWindowPlacement(&child, wp));
    ASSERT_EQ(wp.showCmd, SW_SHOWMAXIMIZED);
    // It was attached before it was maximised; the next move tells it.
    SendMessage(&child, WM_WINDOWPOSCHANGED);
    EXPECT_EQ(mdiChild->Placement(), TWinSkinForm::plMaximized);
    for (unsigned msg : {WM_NCHITTEST, WM_NCPAINT, WM_NCACTIVATE}) {
        const int before = rec.Count(msg);
        SendMessage(&child, msg, 1, 0);
        EXPECT_EQ(rec.Count(msg), before + 1) << msg;
    }
}

TEST_F(SkinFormFixture, QtsOwnDialogsAreSkinnedWhileTheyAreOpen)
{
    QFileDialog file(nullptr, QStringLiteral("Otevřít"));
    file.setOption(QFileDialog::DontUseNativeDialog, true);
    QColorDialog colour;
    colour.setOption(QColorDialog::DontUseNativeDialog, true);
    QFontDialog font;
    font.setOption(QFontDialog::DontUseNativeDialog, true);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&file, &colour, &font}) {
        int skinned = -1;
        bool started = false;
        QTimer::singleShot(300, dialog, [&] {
            skinned = 0;
            for (TWinSkinForm* f : Manager->Forms())
                skinned += f->Handle() == dialog;
            if (TWinSkinForm* f = Manager->FindForm(dialog))
                started = f->Started() && f->WindowClassName() == QStringLiteral("#32770");
            dialog->reject();
        });
        dialog->exec();
        EXPECT_EQ(skinned, 1) << dialog->metaObject()->className();
        EXPECT_TRUE(started) << dialog->metaObject()->className();
    }
}
