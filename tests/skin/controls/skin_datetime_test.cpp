#include "skin_controls_fixture.h"

#include "classlib/controls/std_controls.h"
#include "platform/window_info.h"
#include "skin/controls/skin_chooser.h"
#include "skin/controls/skin_datetime.h"

#include <QEnterEvent>
#include <QMouseEvent>

using namespace SkinControlsTest;

namespace {
// The platform's date-time picker, played by an edit under its class name.
class TDateTimePicker : public TEdit {
public:
    using TEdit::TEdit;
    QString ClassName() const override { return QStringLiteral("TDateTimePicker"); }
};

class SkinDateTimeTest : public SkinControlsFixture {};
} // namespace

TEST_F(SkinDateTimeTest, DropButtonOverTheEdgeFromTheSkinForwardsClicks)
{
    TForm* f = Form.get();
    auto* picker = Placed(new TDateTimePicker(f), "Picker1", f, 10, 10, 160, 24);
    Data->SetSkin3rd({QStringLiteral("TDateTimePicker=datetimepicker")});
    ShowForm();
    const TDataSkinObject* e = Data->ComboxArrow.get();
    ASSERT_TRUE(HasSkinImage(e));
    TControlRecorder rec(picker);
    TSkinChooser chooser(SkinForm.get(), Data.get());
    chooser.SkinControl(picker);
    ASSERT_EQ(chooser.Attached(), 1);
    auto* s = dynamic_cast<TSkinDateTime*>(SkinForm->Controls().front());
    ASSERT_TRUE(s && s->Button());
    TArrowButton* b = s->Button();
    const int cw = e->FrameWidth();
    EXPECT_EQ(b->geometry(), QRect(160 - 1 - cw, 1, cw, 22));

    // Normal: frame 1 of the combo arrow; hovered: frame 4.
    QImage img = Grab(picker->Handle());
    EXPECT_EQ(Differences(img.copy(b->geometry()), ExpectedPart(*e, 1, cw, 22, Data->Colours.ButtonFace), QRect(0, 0, cw, 22)), 0);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(b, &enter);
    ASSERT_TRUE(b->Hot());
    if (e->Frame >= 4) {
        img = Grab(picker->Handle());
        EXPECT_EQ(Differences(img.copy(b->geometry()), ExpectedPart(*e, 4, cw, 22, Data->Colours.ButtonFace),
                              QRect(0, 0, cw, 22)),
                  0);
    }

    // A press on the button reaches the picker at the same place.
    rec.Seen.clear();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), b->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(b, &press);
    EXPECT_EQ(rec.Count(WM_LBUTTONDOWN), 1);

    // Scroll bars on the left: the button goes to the left edge.
    SetWindowLong(picker->Handle(), GWL_EXSTYLE, GetWindowLong(picker->Handle(), GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    EXPECT_EQ(b->x(), 1);

    // Restored, the button is gone.
    const QPointer<TArrowButton> gone(b);
    SkinForm->RestoreControls(true);
    EXPECT_TRUE(gone.isNull());
    rec.Forget();
}
