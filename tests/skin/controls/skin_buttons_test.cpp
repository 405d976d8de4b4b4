#include "skin_controls_fixture.h"

#include "classlib/controls/speed_button.h"
#include "classlib/controls/std_controls.h"
#include "classlib/graphics/types.h"
#include "classlib/pictures/bitmap.h"
#include "platform/window_info.h"
#include "skin/controls/skin_buttons.h"
#include "skin/controls/skin_props.h"
#include "skin/form/skin_messages.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace SkinControlsTest;

namespace {
class SkinButtons : public SkinControlsFixture {
protected:
    TSkinButton* Skin(TButton* b)
    {
        auto* s = new TSkinButton(b);
        s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
        return s;
    }
    TButton* Button(const QString& caption = QString(), int top = 20)
    {
        auto* b = Placed(new TButton(Form.get()), top == 20 ? "Button1" : "Button2", Form.get(), 20, top, 90, 28);
        b->SetCaption(caption);
        return b;
    }
};

// A button with a glyph, as the class library has it.
class TTestBitBtn : public TButton {
public:
    TV_CLASS_NAME(TTestBitBtn)
    using TButton::TButton;
    TBitmap Glyph;
    int NumGlyphs = 1;
};

void RegisterBitBtn()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterObjectProperty<TTestBitBtn>(QStringLiteral("Glyph"), [](TTestBitBtn* b) -> TObject* { return &b->Glyph; });
    RegisterIntProperty<TTestBitBtn>(QStringLiteral("NumGlyphs"), [](TTestBitBtn* b) { return b->NumGlyphs; });
    RegisterIntProperty<TTestBitBtn>(QStringLiteral("Margin"), [](TTestBitBtn*) { return 4; });
}
} // namespace

TEST_F(SkinButtons, FramesFollowTheStateAndMatchTheSkinStrip)
{
    ASSERT_TRUE(HasSkinImage(Data->Buttons.get()));
    const TDataSkinButton& e = *Data->Buttons;
    TButton* b = Button();
    TButton* other = Button(QString(), 60);
    ShowForm();
    TSkinButton* s = Skin(b);
    HWND w = b->Handle();
    const int W = w->width(), H = w->height();
    auto check = [&](int frame, const char* what) {
        const QImage painted = Grab(w);
        EXPECT_EQ(s->ButtonFrame(), frame) << what;
        EXPECT_EQ(CornerMismatches(painted, 0, 0, e, frame, Face()), 0) << what;
        EXPECT_EQ(Differences(painted, ExpectedPart(e, frame, W, H, Data->Colours.ButtonFace), QRect(0, 0, W, H)), 0)
            << what;
    };
    other->SetFocus();
    Pump();
    check(1, "normal");
    SendMessage(w, CM_MOUSEENTER);
    check(4, "hover");
    SendMessage(w, WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(4, 4));
    check(2, "pressed");
    SendMessage(w, CM_MOUSELEAVE);
    EXPECT_EQ(s->MouseState(), 0);
    check(5, "focused (the press gave the focus)");
    b->SetEnabled(false);
    SendMessage(w, CM_MOUSEENTER);
    check(3, "disabled");
}

TEST_F(SkinButtons, DisabledFocusedHoveredCaptionIsShadow)
{
    TButton* b = Button(QStringLiteral("Ok"));
    ShowForm();
    TSkinButton* s = Skin(b);
    b->SetFocus();
    SendMessage(b->Handle(), CM_MOUSEENTER);
    b->SetEnabled(false);
    Grab(b->Handle());
    EXPECT_EQ(s->ButtonFrame(), 3);
    EXPECT_EQ(s->CaptionColour(3, clBlack), clBtnShadow);
    // Frames with a skin colour take it; the focused frame keeps the font's.
    const TDataSkinButton& e = *Data->Buttons;
    EXPECT_EQ(s->CaptionColour(5, clBlue), clBlue);
    EXPECT_EQ(s->CaptionColour(1, clBlue), e.NormalColour2Set ? e.NormalColour2 : clBlue);
}

TEST_F(SkinButtons, ClickOnlyWhenReleasedWhilePressed)
{
    TButton* b = Button(QStringLiteral("Tisk"));
    int clicks = 0, downs = 0;
    b->OnClick = [&](TComponent*) { ++clicks; };
    b->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { ++downs; };
    ShowForm();
    Skin(b);
    HWND w = b->Handle();
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 1);
    // Pressed, then the mouse leaves: no click on release.
    SendMessage(w, WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(4, 4));
    SendMessage(w, CM_MOUSELEAVE);
    SendMessage(w, WM_LBUTTONUP, 0, MakeLParam(4, 4));
    EXPECT_EQ(clicks, 1);
    // Space goes to the button's own handling, which clicks.
    b->SetFocus();
    QTest::keyClick(w, Qt::Key_Space);
    EXPECT_EQ(clicks, 2);
}

TEST_F(SkinButtons, DoubleBarCaptionBreaksTheLine)
{
    TButton* b = Button(QStringLiteral("Dva||radky"));
    b->SetHeight(44);
    ShowForm();
    TSkinButton* s = Skin(b);
    const QImage painted = Grab(b->Handle());
    EXPECT_EQ(s->CaptionText(), QStringLiteral("Dva\r\nradky"));
    // Two lines of text: ink in the upper and the lower half of the caption area.
    const QImage face = ExpectedPart(*Data->Buttons, 1, b->Width(), b->Height(), Data->Colours.ButtonFace);
    const int mid = b->Height() / 2;
    EXPECT_GT(Differences(painted, face, QRect(4, 4, b->Width() - 8, mid - 4)), 0);
    EXPECT_GT(Differences(painted, face, QRect(4, mid, b->Width() - 8, mid - 4)), 0);
}

TEST_F(SkinButtons, NoFocusRectOption)
{
    TButton* b = Button(QStringLiteral("Ok"));
    ShowForm();
    Skin(b);
    b->SetFocus();
    Pump();
    const QImage with = Grab(b->Handle());
    TSkinOptions o = Data->Options();
    o.Include(xoNoFocusRect);
    Data->SetOptions(o);
    const QImage without = Grab(b->Handle());
    const QImage face = ExpectedPart(*Data->Buttons, 5, b->Width(), b->Height(), Data->Colours.ButtonFace);
    const QRect all(0, 0, b->Width(), b->Height());
    EXPECT_GT(Differences(with, without, all), 0);
    // Without the rectangle only the caption's ink differs from the bare frame.
    EXPECT_LT(Differences(without, face, all), Differences(with, face, all));
}

TEST_F(SkinButtons, BareButtonsCommandTheirParent)
{
    QWidget parent;
    auto* plain = new QPushButton(QStringLiteral("Ano"), &parent);
    plain->setGeometry(0, 0, 80, 24);
    plain->setProperty("tvId", 6);
    parent.show();
    Pump();
    std::vector<WPARAM> commands;
    TWndProc old = SetWindowLong(&parent, GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_COMMAND)
            commands.push_back(m.WParam);
    });
    int clicked = 0;
    QObject::connect(plain, &QPushButton::clicked, [&] { ++clicked; });
    TSkinButton s(nullptr);
    s.InitHwnd(plain, Data.get(), nullptr, SkinForm.get());
    QTest::mouseClick(plain, Qt::LeftButton, {}, QPoint(8, 8));
    Pump();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0], static_cast<WPARAM>(GetWindowLong(plain, GWL_ID)));
    EXPECT_EQ(clicked, 1);
    const QImage painted = Grab(plain);
    EXPECT_EQ(CornerMismatches(painted, 0, 0, *Data->Buttons, s.ButtonFrame(), Face()), 0);

    // A class-library button's window skinned as a bare window: wParam 0.
    TButton* b = Button(QStringLiteral("Tisk"));
    b->SetParent(nullptr);
    QWidget host;
    b->Handle()->setParent(&host);
    b->Handle()->setGeometry(0, 0, 80, 24);
    host.show();
    Pump();
    ASSERT_EQ(GetClassName(b->Handle()), QStringLiteral("TButton"));
    std::vector<WPARAM> hostCommands;
    TWndProc oldHost = SetWindowLong(&host, GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_COMMAND)
            hostCommands.push_back(m.WParam);
    });
    TSkinButton sb(nullptr);
    sb.InitHwnd(b->Handle(), Data.get(), nullptr, nullptr);
    QTest::mouseClick(b->Handle(), Qt::LeftButton, {}, QPoint(8, 8));
    Pump();
    ASSERT_EQ(hostCommands.size(), 1u);
    EXPECT_EQ(hostCommands[0], 0u);
    SetWindowLong(&host, GWL_WNDPROC, oldHost);
    SetWindowLong(&parent, GWL_WNDPROC, old);
}

TEST_F(SkinButtons, SkinnedDialogButtonsAnswerEnterAndEscape)
{
    for (const int key : {Qt::Key_Return, Qt::Key_Escape}) {
        QDialog dialog;
        auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(box);
        QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        box->button(QDialogButtonBox::Ok)->setDefault(true);
        std::vector<std::unique_ptr<TSkinButton>> skinners;
        for (QAbstractButton* b : box->buttons()) {
            skinners.push_back(std::make_unique<TSkinButton>(nullptr));
            skinners.back()->InitHwnd(b, Data.get(), nullptr, SkinForm.get());
        }
        int result = -1;
        QObject::connect(&dialog, &QDialog::finished, [&](int r) { result = r; });
        dialog.show();
        Pump();
        box->button(QDialogButtonBox::Ok)->setFocus();
        QTest::keyClick(box->button(QDialogButtonBox::Ok), static_cast<Qt::Key>(key));
        Pump();
        EXPECT_EQ(result, key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected);
        for (auto& s : skinners)
            EXPECT_EQ(SendMessage(s->Hwnd(), WM_SKINQUERY), 1);
    }
}

TEST_F(SkinButtons, FlatSpeedButtonShowsTheSkinOnlyWhenHovered)
{
    auto* sb = Placed(new TSpeedButton(Form.get()), "SpeedButton1", Form.get(), 30, 30, 40, 30);
    sb->SetFlat(true);
    ShowForm();
    auto* s = new TSkinSpeedButton(sb);
    s->InitSpeedButton(SkinForm.get(), Data.get(), nullptr);
    QWidget* client = Form->ClientWidget();
    QImage painted = Grab(client);
    const QImage rest = painted.copy(30, 30, 40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(rest.pixel(x, y) & 0xFFFFFF, Face() & 0xFFFFFF) << x << "," << y;
    sb->Perform(CM_MOUSEENTER);
    EXPECT_EQ(s->ButtonFrame(), 4);
    painted = Grab(client);
    EXPECT_EQ(CornerMismatches(painted, 30, 30, *Data->Buttons, 4, Face()), 0);
    // Not flat: the resting frame 1.
    sb->Perform(CM_MOUSELEAVE);
    sb->SetFlat(false);
    painted = Grab(client);
    EXPECT_EQ(CornerMismatches(painted, 30, 30, *Data->Buttons, 1, Face()), 0);
    // The mouse still clicks it, pressed it shows frame 2.
    int clicks = 0;
    sb->OnClick = [&](TComponent*) { ++clicks; };
    QTest::mousePress(client, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_TRUE(s->MouseState() & TSkinControl::msPressed);
    EXPECT_EQ(CornerMismatches(Grab(client), 30, 30, *Data->Buttons, 2, Face()), 0);
    QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(s->MouseState() & TSkinControl::msPressed);
    delete s;
    EXPECT_EQ(sb->Perform(WM_SKINQUERY), 0);
}

TEST_F(SkinButtons, GlyphLayoutAndCells)
{
    // Centred group: margin is half of what glyph, spacing and text leave.
    auto l = TSkinBitButton::LayoutGlyph(TRect(0, 0, 100, 30), QSize(16, 16), QSize(30, 13),
                                         QStringLiteral("blGlyphLeft"), -1, 4, true);
    EXPECT_EQ(l.Glyph, Bounds(25, 7, 16, 16));
    EXPECT_EQ(l.Text, Bounds(45, 9, 30, 13));
    // Spacing -1 when centred: margin and spacing are each a third.
    l = TSkinBitButton::LayoutGlyph(TRect(0, 0, 100, 30), QSize(16, 16), QSize(29, 13), QStringLiteral("blglyphleft"),
                                    -1, -1, true);
    EXPECT_EQ(l.Glyph.Left, 2 + 17);
    EXPECT_EQ(l.Text.Left, 2 + 17 + 16 + 17);
    // Glyph on the right with a margin: text ends at the spacing before it.
    l = TSkinBitButton::LayoutGlyph(TRect(0, 0, 100, 30), QSize(16, 16), QSize(30, 13), QStringLiteral("blGlyphRight"),
                                    4, 4, false);
    EXPECT_EQ(l.Glyph.Right, 98 - 4);
    EXPECT_EQ(l.Text.Right, l.Glyph.Left - 4);
    EXPECT_TRUE(l.TextFlags & DT_RIGHT);

    RegisterBitBtn();
    auto* bb = Placed(new TTestBitBtn(Form.get()), "BitBtn1", Form.get(), 20, 20, 60, 30);
    bb->Glyph.SetSize(8, 8);
    bb->Glyph.Image().fill(qRgb(200, 40, 40));
    bb->Glyph.Image().setPixel(0, 7, qRgb(0, 255, 0)); // bottom-left: the key colour
    ShowForm();
    auto* s = new TSkinBitButton(bb);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    auto glyphColour = [&] {
        const QImage img = Grab(bb->Handle());
        // No caption, margin 4: the glyph at 2 + 4 from the left, centred across.
        return img.pixel(2 + 4 + 3, 2 + (26 - 8 + 1) / 2 + 3) & 0xFFFFFF;
    };
    EXPECT_EQ(glyphColour(), qRgb(200, 40, 40) & 0xFFFFFF);
    SendMessage(bb->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(2, 2));
    EXPECT_EQ(glyphColour(), qRgb(200, 40, 40) & 0xFFFFFF); // pressed: cell 3 is not there, cell 1
    SendMessage(bb->Handle(), CM_MOUSELEAVE);
    bb->SetEnabled(false);
    const int grey = (200 + 40 + 40) / 3;
    EXPECT_EQ(glyphColour(), qRgb(grey, grey, grey) & 0xFFFFFF);
}

TEST_F(SkinButtons, MenuButtonDrawsItsArrow)
{
    TButton* b = Button();
    ShowForm();
    auto* s = new TSkinMenuButton(b);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    b->SetFocus();
    Pump();
    EXPECT_EQ(s->ButtonFrame(), 4); // focus shows frame 4 on menu buttons
    const QImage img = Grab(b->Handle());
    const QImage face = ExpectedPart(*Data->Buttons, 4, b->Width(), b->Height(), Data->Colours.ButtonFace);
    const int mid = b->Height() / 2;
    EXPECT_GT(Differences(img, face, QRect(b->Width() - 15, mid - 3, 7, 4)), 0);
}

TEST_F(SkinButtons, SkinnedFormButtonsKeepKeyboardAndFocus)
{
    auto* edit = Placed(new TEdit(Form.get()), "Edit1", Form.get(), 20, 100, 120, 22);
    TButton* ok = Button(QStringLiteral("OK"));
    ok->SetDefault(true);
    TButton* cancel = Button(QStringLiteral("Storno"), 60);
    cancel->SetCancel(true);
    int oks = 0, cancels = 0;
    ok->OnClick = [&](TComponent*) { ++oks; };
    cancel->OnClick = [&](TComponent*) { ++cancels; };
    ShowForm();
    Skin(ok);
    Skin(cancel);
    QApplication::setActiveWindow(Form->Handle()->window());
    edit->SetFocus();
    Pump();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(oks, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(cancels, 1);
    // Tab moves the focus through the skinned buttons, which then show frame 5.
    ok->SetFocus();
    Pump();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    Pump();
    EXPECT_TRUE(cancel->Focused());
    const QImage img = Grab(cancel->Handle());
    EXPECT_EQ(CornerMismatches(img, 0, 0, *Data->Buttons, 5, Face()), 0);
}

namespace {
// Pressed at inside, dragged to outside and let go there: the pressed
// window keeps the mouse (Qt grabs it), so the release reaches it outside.
void PressAndLetGoOutside(QWidget* w, QPoint inside, QPoint outside)
{
    QTest::mousePress(w, Qt::LeftButton, {}, inside);
    QTest::mouseMove(w, outside);
    QTest::mouseRelease(w, Qt::LeftButton, {}, outside);
    Pump();
}
} // namespace

TEST_F(SkinButtons, ReleasedOutsideTheButtonGivesNoClick)
{
    RegisterBitBtn();
    TButton* push = Button(QStringLiteral("Smazat"));
    TButton* menu = Button(QStringLiteral("Další"), 60);
    auto* bit = Placed(new TTestBitBtn(Form.get()), "BitBtn1", Form.get(), 20, 100, 90, 28);
    auto* speed = Placed(new TSpeedButton(Form.get()), "SpeedButton1", Form.get(), 150, 20, 40, 30);
    int clicks[4] = {};
    push->OnClick = [&](TComponent*) { ++clicks[0]; };
    menu->OnClick = [&](TComponent*) { ++clicks[1]; };
    bit->OnClick = [&](TComponent*) { ++clicks[2]; };
    speed->OnClick = [&](TComponent*) { ++clicks[3]; };
    ShowForm();
    Skin(push);
    (new TSkinMenuButton(menu))->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    (new TSkinBitButton(bit))->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    (new TSkinSpeedButton(speed))->InitSpeedButton(SkinForm.get(), Data.get(), nullptr);

    const std::pair<QWidget*, int> windowed[] = {{push->Handle(), 0}, {menu->Handle(), 1}, {bit->Handle(), 2}};
    for (auto [w, i] : windowed) {
        PressAndLetGoOutside(w, QPoint(10, 10), QPoint(w->width() + 30, 10));
        EXPECT_EQ(clicks[i], 0) << i;
        PressAndLetGoOutside(w, QPoint(10, 10), QPoint(-5, -5));
        EXPECT_EQ(clicks[i], 0) << i;
        // Back inside before the release: the press had left, still no click.
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(w, QPoint(w->width() + 30, 10));
        QTest::mouseMove(w, QPoint(12, 10));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(12, 10));
        EXPECT_EQ(clicks[i], 0) << i;
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_EQ(clicks[i], 1) << i;
    }
    // The speed button has no window: its parent holds the mouse.
    QWidget* client = Form->ClientWidget();
    PressAndLetGoOutside(client, QPoint(160, 30), QPoint(300, 200));
    EXPECT_EQ(clicks[3], 0);
    QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(160, 30));
    EXPECT_EQ(clicks[3], 1);

    // A bare dialog button: no command and no click either.
    QWidget parent;
    auto* plain = new QPushButton(QStringLiteral("Pokračovat"), &parent);
    plain->setGeometry(10, 10, 100, 26);
    parent.resize(300, 100);
    parent.show();
    Pump();
    int commands = 0, clicked = 0;
    TWndProc old = SetWindowLong(&parent, GWL_WNDPROC, [&](TMessage& m) { commands += m.Msg == WM_COMMAND; });
    QObject::connect(plain, &QPushButton::clicked, [&] { ++clicked; });
    TSkinButton bare(nullptr);
    bare.InitHwnd(plain, Data.get(), nullptr, SkinForm.get());
    PressAndLetGoOutside(plain, QPoint(8, 8), QPoint(150, 60));
    EXPECT_EQ(commands, 0);
    EXPECT_EQ(clicked, 0);
    EXPECT_FALSE(bare.MouseState() & TSkinControl::msPressed);
    QTest::mouseClick(plain, Qt::LeftButton, {}, QPoint(8, 8));
    Pump();
    EXPECT_EQ(commands, 1);
    EXPECT_EQ(clicked, 1);
    SetWindowLong(&parent, GWL_WNDPROC, old);
}
