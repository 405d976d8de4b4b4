#include "skin_controls_fixture.h"

#include "classlib/controls/com_controls.h"
#include "skin/controls/skin_chooser.h"
#include "skin/controls/skin_tabs.h"
#include "skin/form/skin_messages.h"

#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

using namespace SkinControlsTest;

namespace {
class SkinTabScrollTest : public SkinControlsFixture {};

TSkinTabScroll* ArrowOf(const TWinSkinForm* form, QWidget* button)
{
    for (TComponent* c : form->Controls())
        if (auto* s = dynamic_cast<TSkinTabScroll*>(c); s && s->Hwnd() == button)
            return s;
    return nullptr;
}
} // namespace

TEST_F(SkinTabScrollTest, TabScrollArrowsTakeTheUpDownHalves)
{
    TForm* f = Form.get();
    auto* pc = Placed(new TPageControl(f), "PageControl1", f, 10, 10, 140, 100);
    for (int i = 0; i < 8; ++i) {
        auto* sheet = new TTabSheet(f);
        sheet->SetPageControl(pc);
        sheet->SetCaption(QStringLiteral("Strana %1").arg(i + 1));
    }
    ShowForm();
    const TDataSkinBorder* e = Data->UpDownHorz.get();
    ASSERT_TRUE(HasSkinImage(e));
    TSkinChooser chooser(SkinForm.get(), Data.get());
    chooser.SkinControl(pc);
    Pump();
    QTabBar* bar = pc->Tabs()->tabBar();
    QToolButton* left = bar->findChild<QToolButton*>(QStringLiteral("ScrollLeftButton"));
    QToolButton* right = bar->findChild<QToolButton*>(QStringLiteral("ScrollRightButton"));
    ASSERT_TRUE(left && right);
    ASSERT_TRUE(right->isVisible());
    TSkinTabScroll* l = ArrowOf(SkinForm.get(), left);
    TSkinTabScroll* r = ArrowOf(SkinForm.get(), right);
    ASSERT_TRUE(l && r);
    EXPECT_FALSE(l->Right);
    EXPECT_TRUE(r->Right);
    const int frames = std::max(1, e->Frame);
    // The enabled right arrow shows frame 1 (as an up-down half), corner for
    // corner; the left one, disabled at the start, frame 3.
    EXPECT_EQ(r->ArrowFrame(), 1);
    EXPECT_EQ(l->ArrowFrame(), left->isEnabled() ? 1 : 3);
    EXPECT_EQ(CornerMismatches(Grab(right), 0, 0, *e, r->ArrowFrame(), Face()), 0);
    SendMessage(right, CM_MOUSEENTER);
    EXPECT_EQ(r->ArrowFrame(), std::min(frames, 4));
    EXPECT_EQ(CornerMismatches(Grab(right), 0, 0, *e, r->ArrowFrame(), Face()), 0);
    // Once only: skinning the page control again adds no arrow skinners.
    const size_t count = SkinForm->Controls().size();
    TSkinChooser(SkinForm.get(), Data.get()).SkinControl(pc);
    EXPECT_EQ(SkinForm->Controls().size(), count);
    // They go with the tab skinner.
    SkinForm->RestoreControls(true);
    EXPECT_EQ(SendMessage(right, WM_SKINQUERY), 0);
}
