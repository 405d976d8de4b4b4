// The shape popup's settings dialog, hatching and colour commands.
#include "designer_fixture.h"

#include "classlib/forms/dialogs.h"
#include "classlib/forms/message_box.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_nastav_objekt.h"
#include "designer/forms/frm_srafovani.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_manager.h"
#include "skin/skin_data.h"
#include "test_support.h"

#include <QTest>
#include <QTimer>
#include <optional>
#include <gtest/gtest.h>

namespace {
TShape* AddSelectedShape(TFrmMain* m)
{
    auto* s = new TShape(m);
    s->SetTag(1);
    s->SetParent(m->PNLCD);
    s->SetBounds(100, 50, 40, 20);
    s->SetShape(stRoundRect);
    s->Pen()->SetWidth(4);
    s->Brush()->SetColor(clLime);
    m->SetObjectHandlers(s);
    m->FinishNewObject(s, true, false);
    m->Modified = false;
    return s;
}

// Runs act on the settings dialog once it shows (act must close it).
void WhenSettingsShown(std::function<void(TFrmNastavObjekt&)> act)
{
    QTimer::singleShot(10, [act] { act(*FrmNastavObjekt); });
}

// Answers colour dialogs with this colour (no colour: cancel).
void AnswerColour(std::optional<TColor> colour)
{
    TCommonDialog::ExecuteHook = [colour](TCommonDialog* d) {
        auto* c = dynamic_cast<TColorDialog*>(d);
        if (!c || !colour)
            return false;
        c->Color = *colour;
        return true;
    };
}

struct HookReset {
    ~HookReset() { TCommonDialog::ExecuteHook = nullptr; }
};
} // namespace

TEST(ShapeProperties, OutlineOffKeepsTheWidthAndCrossHatchingTakesTheFillColour)
{
    TMainWindowFixture f;
    TFrmNastavObjekt settings(nullptr);
    TFrmSrafovani hatching(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* s = AddSelectedShape(m);
    EXPECT_TRUE(m->shp1->Enabled());
    EXPECT_TRUE(m->shp2->Enabled());
    EXPECT_TRUE(m->shp3->Enabled());

    bool shownAsShape = false;
    TBrushStyle previewStyle = bsSolid;
    TColor previewColour = clNone;
    WhenSettingsShown([&](TFrmNastavObjekt& d) {
        shownAsShape = d.SpinEdit->Value() == 4 && d.VizRam->Checked() && !d.PrPozadi->Checked() &&
                       d.top->Text() == QLatin1String("50") && d.left->Text() == QLatin1String("100") &&
                       d.width->Text() == QLatin1String("40") && d.height->Text() == QLatin1String("20") &&
                       d.PShape->Shape() == stRoundRect;
        d.VizRam->SetChecked(false);
        d.PrPozadi->SetChecked(true);
        QTimer::singleShot(10, [&] {
            hatching.SpeedButtons[4]->Click(); // diagonal cross first, then the cross
            hatching.SpeedButtons[5]->Click();
            previewStyle = hatching.PShape->Brush()->Style();
            previewColour = hatching.PShape->Brush()->Color();
            hatching.btnOK->Click();
        });
        d.btnSraf->Click();
        d.btnOK->Click();
    });
    m->shp1Click(m);
    EXPECT_TRUE(shownAsShape);
    EXPECT_EQ(previewStyle, bsCross);
    EXPECT_EQ(previewColour, clLime);
    EXPECT_EQ(s->Pen()->Style(), psClear);
    EXPECT_EQ(s->Pen()->Width(), 4);
    EXPECT_EQ(s->Pen()->Mode(), pmMask);
    EXPECT_EQ(s->Brush()->Style(), bsCross);
    EXPECT_EQ(s->Brush()->Color(), clLime);
    EXPECT_EQ(s->Shape(), stRoundRect);
    EXPECT_TRUE(m->Modified);

    // Storno in the hatching keeps the fill; every button has its own pattern.
    m->Modified = false;
    WhenSettingsShown([&](TFrmNastavObjekt& d) {
        QTimer::singleShot(10, [&] {
            hatching.SpeedButtons[6]->Click();
            hatching.btnStorno->Click();
        });
        d.btnSraf->Click();
        d.btnStorno->Click();
    });
    m->shp1Click(m);
    EXPECT_EQ(s->Brush()->Style(), bsCross);
    EXPECT_FALSE(m->Modified);
    const TBrushStyle expected[8] = {bsHorizontal, bsSolid, bsVertical, bsBDiagonal,
                                     bsDiagCross, bsCross, bsClear, bsFDiagonal};
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(HatchStyleOfButton(n), expected[n - 1]) << n;
}

TEST(ShapeProperties, ApplyThenStornoKeepsTheChangeAndMarksTheDocument)
{
    HookReset reset;
    TMainWindowFixture f;
    TFrmNastavObjekt settings(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* s = AddSelectedShape(m);
    WhenSettingsShown([&](TFrmNastavObjekt& d) {
        AnswerColour(clRed);
        d.btnClPozadi->Click();
        AnswerColour(std::nullopt); // a cancelled colour changes nothing
        d.btnClOkraj->Click();
        d.SpinEdit->SetValue(7);
        d.top->SetText(QStringLiteral("12"));
        d.width->SetText(QStringLiteral("70"));
        d.btnPouzit2->Click();
        d.btnStorno->Click();
    });
    m->shp1Click(m);
    EXPECT_EQ(s->Brush()->Color(), clRed);
    EXPECT_EQ(s->Pen()->Color(), clBlack);
    EXPECT_EQ(s->Pen()->Width(), 7);
    EXPECT_EQ(s->BoundsRect(), Bounds(100, 12, 70, 20));
    EXPECT_EQ(m->RB->BoundsRect(), Bounds(100, 32, 70, 1));
    // What was applied is a change of the design, kept after Storno.
    EXPECT_TRUE(m->Modified);
    EXPECT_FALSE(TFrmNastavObjekt::IsConfirmed());
    m->Modified = false;

    // The colour commands of the popup: confirmed sets and marks, cancelled leaves.
    AnswerColour(std::nullopt);
    m->shp2Click(m);
    EXPECT_EQ(s->Brush()->Color(), clRed);
    EXPECT_FALSE(m->Modified);
    AnswerColour(clYellow);
    m->shp3->Click();
    EXPECT_EQ(s->Pen()->Color(), clYellow);
    EXPECT_TRUE(m->Modified);
    AnswerColour(clNavy);
    m->shp2->Click();
    EXPECT_EQ(s->Brush()->Color(), clNavy);
}

TEST(ShapeProperties, ApplyThenStornoThenClosingAsksToSave)
{
    TMainWindowFixture f;
    TFrmNastavObjekt settings(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* s = AddSelectedShape(m);
    int asked = 0;
    SetMessageBoxHook([&](const QString&, const QString&, unsigned flags) {
        if (flags == unsigned(MB_YESNOCANCEL | MB_ICONQUESTION))
            ++asked;
        return IDCANCEL;
    });
    bool stillOpen = false;
    WhenSettingsShown([&](TFrmNastavObjekt& d) {
        d.SpinEdit->SetValue(6);
        TestSupport::MouseClick(d.btnPouzit->Handle(), QPoint(5, 5));
        stillOpen = d.Visible();
        TestSupport::MouseClick(d.btnStorno->Handle(), QPoint(5, 5));
    });
    QTimer giveUp; // a failure ends, not hangs
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [&settings] { settings.Close(); });
    giveUp.start(5000);
    m->shp1Click(m);
    giveUp.stop();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(s->Pen()->Width(), 6);

    // Alt+F4 on the main window: the question comes, Cancel keeps it open.
    m->Window()->activateWindow();
    QTest::keyClick(m->Window(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(m->Visible());
    EXPECT_EQ(s->Pen()->Width(), 6);
    SetMessageBoxHook(nullptr);
}

TEST(ShapeProperties, ABadBoundStopsTheApplyAfterWhatCameBefore)
{
    TMainWindowFixture f;
    TFrmNastavObjekt settings(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* s = AddSelectedShape(m);
    bool applyThrew = false;
    WhenSettingsShown([&](TFrmNastavObjekt& d) {
        d.SpinEdit->SetValue(9);
        d.top->SetText(QStringLiteral("30"));
        d.left->SetText(QStringLiteral("12x"));
        d.width->SetText(QStringLiteral("99"));
        try {
            d.btnPouzit->Click();
        } catch (const EConvertError&) {
            applyThrew = true;
        }
        // The dialog is still there; OK applies again and fails the same way.
        d.btnOK->Click();
    });
    EXPECT_THROW(m->shp1Click(m), EConvertError);
    EXPECT_TRUE(applyThrew);
    EXPECT_EQ(s->Pen()->Width(), 9);
    EXPECT_EQ(s->BoundsRect(), Bounds(100, 30, 40, 20));
    // What was applied is a change of the design.
    EXPECT_TRUE(m->Modified);

    // Numbers past the window coordinates are refused too, not applied.
    m->Modified = false;
    WhenSettingsShown([&](TFrmNastavObjekt& d) {
        d.height->SetText(QStringLiteral("2147483647"));
        d.btnOK->Click();
    });
    EXPECT_THROW(m->shp1Click(m), EConvertError);
    EXPECT_EQ(s->Height(), 20);

    // A selection that is no shape opens nothing.
    m->SelectedObject = m->SizeLabel;
    bool shown = false;
    WhenSettingsShown([&](TFrmNastavObjekt& d) {
        shown = d.Visible();
        if (shown)
            d.btnStorno->Click();
    });
    m->shp1Click(m);
    QTest::qWait(30);
    EXPECT_FALSE(shown);
}

namespace {
QImage GrabPatterns(TFrmSrafovani& d)
{
    return d.OGroupBox2->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}
// Where the sample of button i is black, inside its outline.
QImage SampleMask(const QImage& patterns, const TShape* sample)
{
    const QRect r(sample->Left() + 1, sample->Top() + 1, sample->Width() - 2, sample->Height() - 2);
    QImage mask(r.size(), QImage::Format_Mono);
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            mask.setPixel(x, y, (patterns.pixel(r.left() + x, r.top() + y) & 0xFFFFFF) == 0 ? 1 : 0);
    return mask;
}
} // namespace

TEST(ShapeProperties, SkinnedHatchingButtonsShowTheirPatternSamples)
{
    QImage plain;
    std::vector<QImage> plainMasks;
    {
        TFrmSrafovani d(nullptr);
        d.Show();
        QTest::qWait(50);
        plain = GrabPatterns(d);
        for (const TShape* s : d.Samples)
            plainMasks.push_back(SampleMask(plain, s));
    }
    FreeSkinManager();
    TSkinData data(nullptr);
    data.ReadDefaultSkin();
    data.SetActive(true);
    data.Loaded();
    ASSERT_TRUE(SkinManager() && SkinManager()->Running());
    {
        TFrmSrafovani d(nullptr);
        d.Show();
        QTest::qWait(400);
        TWinSkinForm* sf = SkinManager()->FindForm(d.Window());
        ASSERT_TRUE(sf);
        ASSERT_EQ(sf->State(), TWinSkinForm::stSkinned);
        const QImage skinned = GrabPatterns(d);
        const TDataSkinButton& e = *data.Buttons;
        const QImage frame = e.Image.copy(0, 0, e.Image.width() / std::max(1, e.Frame), e.Image.height())
                                 .convertToFormat(QImage::Format_RGB32);
        for (int i = 0; i < 8; ++i) {
            // The button shows the skin's frame 1 around its sample (corner pixels off the key colour)...
            const TSpeedButton* b = d.SpeedButtons[i];
            int corner = 0, same = 0;
            for (int y = 0; y < std::max(1, e.TopHeight); ++y)
                for (int x = 0; x < std::max(1, e.LeftWidth); ++x) {
                    const QRgb want = frame.pixel(x, y) & 0xFFFFFF;
                    if (e.Trans == 1 && want == 0xFF00FF)
                        continue;
                    ++corner;
                    same += (skinned.pixel(b->Left() + x, b->Top() + y) & 0xFFFFFF) == want;
                }
            EXPECT_GT(corner, 0);
            EXPECT_EQ(same, corner) << "button " << i + 1;
            // ...and the sample in it as the plain look has it.
            EXPECT_EQ(SampleMask(skinned, d.Samples[i]), plainMasks[i]) << "sample " << i + 1;
        }
    }
    FreeSkinManager();
}
