#include "skin_controls_fixture.h"

#include "classlib/controls/std_controls.h"
#include "classlib/graphics/types.h"
#include "platform/button_messages.h"
#include "platform/window_info.h"
#include "skin/controls/skin_checks.h"
#include "skin/controls/skin_props.h"

#include <QCheckBox>
#include <QRadioButton>

using namespace SkinControlsTest;

namespace {
// A strip of n distinct 13 x 13 cells, each with a magenta corner.
QImage Strip(int n)
{
    QImage img(13 * n, 13, QImage::Format_RGB32);
    for (int i = 0; i < n; ++i) {
        QPainter p(&img);
        p.fillRect(13 * i, 0, 13, 13, QColor::fromHsv(i * 360 / n, 200, 150 + i * 5));
        p.fillRect(13 * i, 0, 3, 3, QColor(255, 0, 255));
    }
    return img;
}

// A data-aware check box: it follows the last check state it was sent.
class TTestDBCheckBox : public TCheckBox {
public:
    TV_CLASS_NAME(TTestDBCheckBox)
    using TCheckBox::TCheckBox;
};

class SkinChecks : public SkinControlsFixture {
protected:
    template <class C>
    C* Box(const char* name, int top, const QString& caption = QStringLiteral("Volba"))
    {
        auto* c = Placed(new C(Form.get()), name, Form.get(), 10, top, 140, 24);
        c->SetCaption(caption);
        return c;
    }
    template <class S>
    S* Skin(TControl* c)
    {
        auto* s = new S(c);
        s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
        Pump();
        return s;
    }
    // Pixels of the glyph cell painted at the skinner's place against cell of strip.
    int CellMismatches(TSkinCheckGlyph* s, const QImage& strip, int frames, int cell)
    {
        HWND w = s->Hwnd();
        TRect at, text;
        s->CellLayout(TRect(0, 0, w->width(), w->height()), at, text);
        const QImage painted = Grab(w);
        const int cw = strip.width() / frames;
        const QImage want = strip.copy((cell - 1) * cw, 0, cw, strip.height()).convertToFormat(QImage::Format_RGB32);
        int bad = 0;
        for (int y = 0; y < want.height(); ++y)
            for (int x = 0; x < cw; ++x) {
                QRgb c = want.pixel(x, y);
                if ((c & 0xFFFFFF) == 0xFF00FF)
                    continue; // the background shows there
                bad += (painted.pixel(at.Left + x, at.Top + y) & 0xFFFFFF) != (c & 0xFFFFFF);
            }
        return bad;
    }
};
} // namespace

TEST_F(SkinChecks, CheckBoxCellsFollowTheStateOnBothStripLayouts)
{
    const TDataSkinButton& b = *Data->Buttons;
    ASSERT_FALSE(b.CheckImage.isNull());
    auto* c = Box<TCheckBox>("CheckBox1", 10);
    ShowForm();
    auto* s = Skin<TSkinCheckBox>(c);
    EXPECT_TRUE(s->DrawsCaption());
    const int frames = b.CheckButtonFrame;
    auto look = [&](const char* what, int cell) {
        Pump();
        EXPECT_EQ(s->StateCell(), cell) << what;
        if (cell <= frames) {
            EXPECT_EQ(CellMismatches(s, b.CheckImage, frames, cell), 0) << what;
        }
    };
    look("unchecked", 1);
    c->SetChecked(true);
    look("checked", 2);
    c->SetEnabled(false);
    look("checked, disabled", 4);
    c->SetChecked(false);
    look("unchecked, disabled", 3);
    c->SetEnabled(true);
    c->SetState(cbGrayed);
    look("grayed", 4);

    // A 12-cell strip maps the states onto its own cells.
    Data->Buttons->CheckImage = Strip(12);
    Data->Buttons->CheckButtonFrame = 12;
    const QImage twelve = Data->Buttons->CheckImage;
    auto look12 = [&](const char* what, int cell) {
        Pump();
        EXPECT_EQ(s->StateCell(), cell) << what;
        EXPECT_EQ(CellMismatches(s, twelve, 12, cell), 0) << what;
    };
    s->Repaint();
    look12("grayed", 9);
    c->SetEnabled(false);
    look12("grayed, disabled", 12);
    c->SetState(cbChecked);
    look12("checked, disabled", 8);
    c->SetEnabled(true);
    look12("checked", 5);
    c->SetState(cbUnchecked);
    look12("unchecked", 1);
}

TEST_F(SkinChecks, DataAwareBoxFollowsTheLastCheckItWasSent)
{
    RegisterStringProperty<TTestDBCheckBox>(QStringLiteral("DataField"), [](TTestDBCheckBox*) { return QString(); });
    auto* c = Box<TTestDBCheckBox>("DBCheckBox1", 10);
    ShowForm();
    auto* s = Skin<TSkinCheckBox>(c);
    EXPECT_EQ(s->LastSetState(), 0);
    SendMessage(c->Handle(), BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(s->LastSetState(), 2);
    c->SetChecked(false); // the field changes without a message
    EXPECT_EQ(s->StateCell(), 2);
    SendMessage(c->Handle(), BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(s->StateCell(), 4);
}

TEST_F(SkinChecks, CaptionFocusAndLeftTextLayout)
{
    auto* c = Box<TCheckBox>("CheckBox1", 10);
    auto* empty = Box<TCheckBox>("CheckBox2", 50, QString());
    ShowForm();
    const TColor colour = c->Color();
    auto* s = Skin<TSkinCheckBox>(c);
    Skin<TSkinCheckBox>(empty);
    // The face is painted, never given to the control: its stored colour stays.
    EXPECT_EQ(c->Color(), colour);
    EXPECT_TRUE(c->ParentColor());
    s->ApplyColor();
    EXPECT_TRUE(c->ParentColor());
    HWND w = c->Handle();
    TRect cell, text;
    s->CellLayout(TRect(0, 0, w->width(), w->height()), cell, text);
    EXPECT_EQ(cell.Left, 0);
    EXPECT_EQ(text.Left, cell.Right + 2);
    EXPECT_EQ(cell.Top, (w->height() - Data->Buttons->CheckImage.height()) / 2);
    // The skinner fills the face and draws the caption itself: with no caption
    // the text area is all face; with one it is not.
    auto faceOnly = [&](HWND win, const TRect& area) {
        const QImage img = Grab(win);
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) != (Face() & 0xFFFFFF))
                    return false;
        return true;
    };
    EXPECT_TRUE(faceOnly(empty->Handle(), text));
    EXPECT_FALSE(faceOnly(w, text));
    // The focus rectangle changes pixels around the caption only.
    empty->SetFocus();
    Pump();
    const QImage before = Grab(w);
    c->SetFocus();
    Pump();
    const QImage focused = Grab(w);
    EXPECT_GT(Differences(before, focused, text.ToQRect()), 0);
    EXPECT_EQ(Differences(before, focused, cell.ToQRect()), 0);
    // Text on the left: the glyph goes to the right edge.
    SetWindowLong(w, GWL_STYLE, GetWindowLong(w, GWL_STYLE) | BS_LEFTTEXT);
    s->CellLayout(TRect(0, 0, w->width(), w->height()), cell, text);
    EXPECT_EQ(cell.Right, w->width());
    EXPECT_EQ(text.Right, cell.Left - 2);
    s->Repaint();
    Pump();
    EXPECT_EQ(CellMismatches(s, Data->Buttons->CheckImage, Data->Buttons->CheckButtonFrame, 1), 0);
}

TEST_F(SkinChecks, RadioCellsAndSkinsWithoutStrips)
{
    auto* r = Box<TRadioButton>("RadioButton1", 10);
    ShowForm();
    Data->Buttons->RadioImage = Strip(8);
    Data->Buttons->RadioButtonFrame = 8;
    auto* s = Skin<TSkinRadioButton>(r);
    const QImage strip = Data->Buttons->RadioImage;
    EXPECT_EQ(s->StateCell(), 1);
    r->SetChecked(true);
    Pump();
    EXPECT_EQ(s->StateCell(), 5);
    EXPECT_EQ(CellMismatches(s, strip, 8, 5), 0);
    r->SetEnabled(false);
    Pump();
    EXPECT_EQ(s->StateCell(), 8);
    EXPECT_EQ(CellMismatches(s, strip, 8, 8), 0);

    // Without a check-box strip the box paints itself entirely.
    Data->Buttons->CheckImage = QImage();
    auto* c = Box<TCheckBox>("CheckBox1", 50);
    auto* twin = Box<TCheckBox>("CheckBox2", 90);
    Pump();
    auto* sc = Skin<TSkinCheckBox>(c);
    EXPECT_FALSE(sc->DrawsCaption());
    EXPECT_EQ(sc->StateCell(), 0);
    c->SetColor(twin->Color());
    Pump();
    EXPECT_EQ(Differences(Grab(c->Handle()), Grab(twin->Handle()), QRect(0, 0, 140, 24)), 0);

    // A bare check box keeps its own caption; the glyph goes over its mark.
    QCheckBox bare(QStringLiteral("Holé"), Form->Handle());
    bare.setGeometry(10, 130, 140, 24);
    bare.show();
    Data->Buttons->CheckImage = Strip(4);
    Data->Buttons->CheckButtonFrame = 4;
    auto* sb = new TSkinCheckBox(SkinForm.get());
    sb->InitHwnd(&bare, Data.get(), nullptr, SkinForm.get());
    bare.setChecked(true);
    Pump();
    EXPECT_FALSE(sb->DrawsCaption());
    EXPECT_EQ(sb->StateCell(), 2);
    EXPECT_EQ(CellMismatches(sb, Data->Buttons->CheckImage, 4, 2), 0);
    delete sb;
}

TEST_F(SkinChecks, ReleasedOutsideTheBoxNeitherTogglesNorSelects)
{
    auto* check = Box<TCheckBox>("CheckBox1", 10);
    auto* radio = Box<TRadioButton>("RadioButton1", 50);
    auto* other = Box<TRadioButton>("RadioButton2", 90);
    other->SetChecked(true);
    int clicks = 0;
    check->OnClick = [&](TComponent*) { ++clicks; };
    radio->OnClick = [&](TComponent*) { ++clicks; };
    ShowForm();
    Skin<TSkinCheckBox>(check);
    Skin<TSkinRadioButton>(radio);
    Skin<TSkinRadioButton>(other);
    for (TControl* c : {static_cast<TControl*>(check), static_cast<TControl*>(radio)}) {
        QWidget* w = static_cast<TWinControl*>(c)->Handle();
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(6, 12));
        QTest::mouseMove(w, QPoint(w->width() + 40, 60));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(w->width() + 40, 60));
        Pump();
    }
    EXPECT_FALSE(check->Checked());
    EXPECT_FALSE(radio->Checked());
    EXPECT_TRUE(other->Checked());
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(check->Handle(), Qt::LeftButton, {}, QPoint(6, 12));
    QTest::mouseClick(radio->Handle(), Qt::LeftButton, {}, QPoint(6, 12));
    Pump();
    EXPECT_TRUE(check->Checked());
    EXPECT_TRUE(radio->Checked());
    EXPECT_FALSE(other->Checked());
    EXPECT_EQ(clicks, 2);
}

namespace {
// The first and last rows where two pictures differ, -1 when none do.
std::pair<int, int> DifferingRows(const QImage& a, const QImage& b)
{
    int first = -1, last = -1;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}
} // namespace

TEST_F(SkinChecks, TheFocusRectangleClearsTheAccentsOfCapitals)
{
    auto* box = Box<TCheckBox>("CheckBox1", 10, QStringLiteral("ŘÍZENÍ Čáp Ž"));
    auto* other = Box<TCheckBox>("CheckBox2", 60, QString());
    box->Font()->SetHeight(-13);
    ShowForm();
    Skin<TSkinCheckBox>(box);
    Skin<TSkinCheckBox>(other);
    other->SetFocus();
    Pump();
    const QImage unfocused = Grab(box->Handle());
    box->SetCaption(QString());
    Pump();
    const QImage blank = Grab(box->Handle());
    box->SetCaption(QStringLiteral("ŘÍZENÍ Čáp Ž"));
    box->SetFocus();
    Pump();
    const QImage focused = Grab(box->Handle());
    const auto ink = DifferingRows(unfocused, blank);  // the caption's pixels
    const auto frame = DifferingRows(focused, unfocused); // the focus rectangle's
    ASSERT_GE(ink.first, 0);
    ASSERT_GE(frame.first, 0);
    EXPECT_LT(frame.first, ink.first);
    EXPECT_GT(frame.second, ink.second);
}

TEST_F(SkinChecks, ADisabledRadioButtonOfAQtDialogShowsTheDisabledCells)
{
    ShowForm();
    Data->Buttons->RadioImage = Strip(4);
    Data->Buttons->RadioButtonFrame = 4;
    QRadioButton on(QStringLiteral("Vše"), Form->Handle()), off(QStringLiteral("Stránky"), Form->Handle());
    on.setGeometry(10, 10, 140, 24);
    off.setGeometry(10, 40, 140, 24);
    on.setChecked(true);
    on.setEnabled(false);
    off.setEnabled(false);
    on.show();
    off.show();
    Pump();
    auto* checked = new TSkinRadioButton(SkinForm.get());
    checked->InitHwnd(&on, Data.get(), nullptr, SkinForm.get());
    auto* unchecked = new TSkinRadioButton(SkinForm.get());
    unchecked->InitHwnd(&off, Data.get(), nullptr, SkinForm.get());
    Pump();
    EXPECT_EQ(checked->StateCell(), 4);
    EXPECT_EQ(unchecked->StateCell(), 3);
    EXPECT_EQ(CellMismatches(checked, Data->Buttons->RadioImage, 4, 4), 0);
    EXPECT_EQ(CellMismatches(unchecked, Data->Buttons->RadioImage, 4, 3), 0);
    delete checked;
    delete unchecked;
}
