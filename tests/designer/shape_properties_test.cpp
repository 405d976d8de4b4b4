// The shape popup's settings dialog, hatching and colour commands.
#include "designer_fixture.h"

#include "classlib/forms/dialogs.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_nastav_objekt.h"
#include "designer/forms/frm_srafovani.h"

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

TEST(ShapeProperties, ApplyThenStornoKeepsTheChangeButLeavesTheDocumentUnmodified)
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
    EXPECT_FALSE(m->Modified);
    EXPECT_FALSE(TFrmNastavObjekt::IsConfirmed());

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
