#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <optional>

#include "classlib/forms/form.h"
#include "platform/non_client.h"
#include "skin/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_manager.h"

namespace {
class SkinManage : public ::testing::Test {
protected:
    void SetUp() override { FreeSkinManager(); }
    void TearDown() override { FreeSkinManager(); }
};
} // namespace

TEST_F(SkinManage, BeforeSkinningBeginsRequestsOnlySwitchTheRunningFlag)
{
    TSkinManage* m = CreateSkinManager();
    EXPECT_EQ(CreateSkinManager(), m);
    EXPECT_FALSE(m->Running());
    m->ScheduleAction(TSkinManage::saSkinAll, 250);
    EXPECT_TRUE(m->Running());
    EXPECT_FALSE(m->TimerActive());
    m->ScheduleAction(TSkinManage::saUnskinAll, 250);
    EXPECT_FALSE(m->Running());
    EXPECT_FALSE(m->TimerActive());
    m->ScheduleAction(TSkinManage::saReskin, 250);
    EXPECT_FALSE(m->TimerActive());
}

TEST_F(SkinManage, FirstWindowActivationBeginsSkinning)
{
    TSkinManage* m = CreateSkinManager();
    m->InstallHook();
    QWidget child;
    QWidget window;
    QWidget inner(&window);
    // A child window's activation does not count.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&inner, &activate);
    EXPECT_EQ(m->SkinOnState(), 0);
    QApplication::sendEvent(&window, &activate);
    EXPECT_EQ(m->SkinOnState(), 1);
    m->ScheduleAction(TSkinManage::saUnskinAll, 100);
    EXPECT_TRUE(m->TimerActive());
    EXPECT_EQ(m->TimerInterval(), 100);
}

TEST_F(SkinManage, TickCarriesOutThePendingActionOnce)
{
    TSkinManage* m = CreateSkinManager();
    m->SetSkinOnState(1);
    // Without pending skin data a tick does nothing.
    m->ScheduleAction(TSkinManage::saSkinAll, 250);
    m->TimerTick();
    EXPECT_FALSE(m->TimerActive());
    EXPECT_FALSE(m->Running());

    TSkinData data(nullptr);
    int changed = 0;
    data.OnSkinChanged = [&](TComponent*) { ++changed; };
    m->AddSkinData(&data);
    m->AddSkinData(&data);
    EXPECT_EQ(m->SkinDataList().size(), 1u);
    m->SetPendingSkinData(&data);
    m->ScheduleAction(TSkinManage::saSkinAll, 250);
    m->ScheduleAction(TSkinManage::saUnskinAll, 250);
    m->SetRunning(true);
    m->TimerTick();
    EXPECT_FALSE(m->Running());
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(m->PendingSkinData(), nullptr);
    m->TimerTick();
    EXPECT_EQ(changed, 1);
}

TEST_F(SkinManage, CurrentSkinDataIsTheFirstMainFormOne)
{
    TSkinManage* m = CreateSkinManager();
    auto dialog = std::make_unique<TSkinData>(nullptr);
    dialog->SetSkinFormtype(sfDialog);
    auto main1 = std::make_unique<TSkinData>(nullptr);
    auto main2 = std::make_unique<TSkinData>(nullptr);
    m->AddSkinData(dialog.get());
    EXPECT_EQ(m->CurrentSkinData(), nullptr);
    m->AddSkinData(main1.get());
    m->AddSkinData(main2.get());
    EXPECT_EQ(m->CurrentSkinData(), main1.get());
    m->SetPendingSkinData(main1.get());
    // A freed component leaves the manager.
    main1.reset();
    EXPECT_EQ(m->CurrentSkinData(), main2.get());
    EXPECT_EQ(m->PendingSkinData(), nullptr);
    EXPECT_EQ(m->SkinDataList().size(), 2u);
}

namespace {
// How a window first reaches the screen: whether its native window was
// frameless when it was mapped, and whether its skinned form had
// started, with our band around the client, when the window first painted.
class TFirstShowWatch : public QObject {
public:
    explicit TFirstShowWatch(QWidget* window) : FWindow(window) { qApp->installEventFilter(this); }
    ~TFirstShowWatch() override { qApp->removeEventFilter(this); }
    std::optional<bool> FramelessWhenMapped;
    std::optional<bool> SkinnedAtFirstPaint;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        QWindow* handle = FWindow->windowHandle();
        // The native window's show event comes just before it is mapped.
        if (e->type() == QEvent::Show && handle && o == handle && !FramelessWhenMapped)
            FramelessWhenMapped = (handle->flags() & Qt::FramelessWindowHint) != 0;
        if (e->type() == QEvent::Paint && o == FWindow && !SkinnedAtFirstPaint) {
            TWinSkinForm* f = SkinManager() ? SkinManager()->FindForm(FWindow) : nullptr;
            SkinnedAtFirstPaint = f && f->Started() && f->State() == TWinSkinForm::stSkinned &&
                                  !NonClientInsets(FWindow).isNull();
        }
        return false;
    }

private:
    QWidget* FWindow;
};
} // namespace

TEST_F(SkinManage, AWindowShownWithTheSkinOnIsMappedFramelessAndFirstPaintsSkinned)
{
    TSkinData data(nullptr);
    data.ReadDefaultSkin();
    data.SetActive(true);
    data.Loaded();
    ASSERT_TRUE(SkinManager() && SkinManager()->Running());

    // The first window of the run (skinning begins with its activation)...
    TForm form(nullptr);
    form.SetBounds(30, 30, 300, 200);
    form.SetCaption(QStringLiteral("Okno"));
    const QSize client(form.ClientWidth(), form.ClientHeight());
    {
        TFirstShowWatch watch(form.Window());
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Window()));
        QTest::qWait(100);
        EXPECT_EQ(watch.FramelessWhenMapped, std::optional<bool>(true));
        EXPECT_EQ(watch.SkinnedAtFirstPaint, std::optional<bool>(true));
    }
    // ...and a dialog at its first showing, modal.
    QMessageBox box(QMessageBox::Information, QStringLiteral("Zpráva"), QStringLiteral("Text zprávy."),
                    QMessageBox::Ok);
    TFirstShowWatch watch(&box);
    QTimer::singleShot(300, &box, [&] { box.accept(); });
    box.exec();
    EXPECT_EQ(watch.FramelessWhenMapped, std::optional<bool>(true));
    EXPECT_EQ(watch.SkinnedAtFirstPaint, std::optional<bool>(true));
    // Skinned once each; the skin's frame went around the form's client.
    EXPECT_EQ(SkinManager()->Forms().size(), 2u);
    EXPECT_EQ(QSize(form.ClientWidth(), form.ClientHeight()), client);
}
