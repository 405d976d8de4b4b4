// The print correction: what the window writes and which values stay in effect.

#include "designer_fixture.h"

#include "classlib/inifiles.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_korekce.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QSpinBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {
class PrintCorrection : public ::testing::Test {
protected:
    PrintCorrection() : FWindow(std::make_unique<TFrmKorekce>(nullptr)) {}

    TFrmMain* Main() const { return F.Main(); }
    QString Settings() const { return Main()->SettingsFileName(); }
    QString Read(const char* key) const { return TIniFile(Settings()).ReadString("Setting", key, "(none)"); }

    // Runs the command; while its window is open, act does what the user does.
    void Run(const std::function<void(TFrmKorekce*)>& act)
    {
        TFrmKorekce* w = FWindow.get();
        QTimer::singleShot(10, [w, act] { act(w); });
        Main()->mnKorTiskClick(nullptr);
        EXPECT_FALSE(w->Visible());
    }

    TMainWindowFixture F;
    std::unique_ptr<TFrmKorekce> FWindow;
};

void ClickButton(TButton* b) { TestSupport::MouseClick(b->Handle(), QPoint(5, 5)); }
} // namespace

TEST_F(PrintCorrection, OkWritesBothValuesAndPutsThemInEffect)
{
    Main()->PrintCorrX = 2;
    Main()->PrintCorrY = 1;
    QString shownX, shownY;
    Run([&](TFrmKorekce* w) {
        shownX = w->offx->Text();
        shownY = w->offy->Text();
        w->offx->SetValue(-3);
        w->offy->SetValue(5);
        ClickButton(w->btnOK1);
    });
    // The window opened with the correction in effect.
    EXPECT_EQ(shownX, "2");
    EXPECT_EQ(shownY, "1");
    EXPECT_TRUE(FWindow->IsConfirmed());
    EXPECT_EQ(Read("KorX"), "-3");
    EXPECT_EQ(Read("KorY"), "5");
    EXPECT_EQ(Main()->PrintCorrX, -3);
    EXPECT_EQ(Main()->PrintCorrY, 5);
}

TEST_F(PrintCorrection, StornoOrTheTitleBarWritesNothingAndKeepsTheFilesValues)
{
    TIniFile(Settings()).WriteInteger("Setting", "KorX", 4);
    TIniFile(Settings()).WriteInteger("Setting", "KorY", -2);
    Main()->PrintCorrX = 4;
    Main()->PrintCorrY = -2;
    const QByteArray before = TestSupport::ReadFile(Settings());
    Run([](TFrmKorekce* w) {
        w->offx->SetValue(9);
        w->offy->SetValue(9);
        ClickButton(w->btnStorno1);
    });
    EXPECT_FALSE(FWindow->IsConfirmed());
    EXPECT_EQ(TestSupport::ReadFile(Settings()), before);
    EXPECT_EQ(Main()->PrintCorrX, 4);
    EXPECT_EQ(Main()->PrintCorrY, -2);

    // A value changed by hand in the file is picked up when the window closes.
    TIniFile(Settings()).WriteInteger("Setting", "KorY", 7);
    Run([](TFrmKorekce* w) {
        w->offx->SetValue(1);
        w->Window()->close();
    });
    EXPECT_FALSE(FWindow->IsConfirmed());
    EXPECT_EQ(Read("KorX"), "4");
    EXPECT_EQ(Main()->PrintCorrX, 4);
    EXPECT_EQ(Main()->PrintCorrY, 7);
}

TEST_F(PrintCorrection, MissingKeysResetTheCorrectionToZero)
{
    TIniFile ini(Settings());
    ini.WriteString("Setting", "SkinIndex", "3");
    Main()->PrintCorrX = -6;
    Main()->PrintCorrY = 12;
    Run([](TFrmKorekce* w) { ClickButton(w->btnStorno1); });
    EXPECT_EQ(Main()->PrintCorrX, 0);
    EXPECT_EQ(Main()->PrintCorrY, 0);
    EXPECT_EQ(Read("KorX"), "(none)");
    // The rest of the file stays.
    EXPECT_EQ(Read("SkinIndex"), "3");
}

TEST_F(PrintCorrection, TextThatIsNoWholeNumberIsStoredAsZero)
{
    Main()->PrintCorrX = 3;
    Run([](TFrmKorekce* w) {
        w->offx->SetText("abc");
        w->offy->SetText("-");
        ClickButton(w->btnOK1);
    });
    EXPECT_EQ(Read("KorX"), "0");
    EXPECT_EQ(Read("KorY"), "0");
    EXPECT_EQ(Main()->PrintCorrX, 0);
}

TEST_F(PrintCorrection, AnUnwritableSettingsFileEndsTheCommandAndKeepsTheOldCorrection)
{
    // A folder where the file should be: it can be neither written nor read.
    ASSERT_TRUE(QDir().mkpath(Settings()));
    Main()->PrintCorrX = 2;
    Main()->PrintCorrY = 3;
    TFrmKorekce* w = FWindow.get();
    QTimer::singleShot(10, [w] {
        w->offx->SetValue(8);
        ClickButton(w->btnOK1);
    });
    EXPECT_THROW(Main()->mnKorTiskClick(nullptr), EFileError);
    EXPECT_EQ(Main()->PrintCorrX, 2);
    EXPECT_EQ(Main()->PrintCorrY, 3);
}

TEST(SpinEdit, ValuesComeFromTheTextWithLimitsOnlyWhenSet)
{
    TFrmKorekce w(nullptr);
    TSpinEdit* s = w.offx;
    s->SetValue(-2147483647);
    EXPECT_EQ(s->Value(), -2147483647);
    s->SetText(" 42");
    EXPECT_EQ(s->Value(), 42);
    s->SetText("4,5");
    EXPECT_EQ(s->Value(), 0);
    s->SetMinValue(-5);
    s->SetMaxValue(5);
    EXPECT_EQ(s->Value(), -5); // no number: the minimum
    s->SetValue(17);
    EXPECT_EQ(s->Value(), 5);
    EXPECT_EQ(s->Text(), "5");
    // Stepping with the arrows changes the value by the increment.
    s->SetMinValue(0);
    s->SetMaxValue(0);
    s->SetValue(3);
    s->SpinBox()->stepUp();
    EXPECT_EQ(s->Value(), 4);
    s->SetIncrement(10);
    s->SpinBox()->stepDown();
    EXPECT_EQ(s->Value(), -6);
}

TEST(PrintCorrectionWindow, TheExplanationsOfTheLanguageFileShowWhole)
{
    TFrmKorekce w(nullptr);
    const TIniFile language(TestSupport::BinDir() + "/language.ini");
    int bottom = 0;
    for (TLabel* l : {w.lbPrKor1, w.lbPrKor2}) {
        const QString text = language.ReadString("Czech", l->Name(), QString());
        ASSERT_FALSE(text.isEmpty()) << l->Name().toStdString();
        l->SetCaption(text);
        // The height the wrapped text needs at the label's width.
        TLabel needed(nullptr);
        needed.Font()->Assign(l->Font());
        needed.SetWordWrap(true);
        needed.SetWidth(l->Width());
        needed.SetCaption(text);
        needed.SetAutoSize(true);
        needed.AdjustBounds();
        EXPECT_LE(needed.Height(), l->Height()) << l->Name().toStdString();
        EXPECT_GE(l->Top(), bottom) << l->Name().toStdString();
        bottom = l->Top() + l->Height();
    }
    EXPECT_LE(bottom, w.offx->Top());
    EXPECT_LE(bottom, w.Image1->Top());
}

TEST_F(PrintCorrection, OkOntoAFullDiskSaysWhyAndKeepsTheSettingsFileAndTheCorrection)
{
    const QString dir = TestSupport::MakeTempDir() + "/plny";
    TestSupport::TFullDisk disk(dir);
    Main()->WinDir = dir;
    const QByteArray settings("[Setting]\r\nKorX=1\r\nKorY=2\r\nSkinFileName=skiny/Modra.skn\r\nSkinEnabled=1\r\n");
    {
        QFile f(Settings());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(settings);
    }
    Main()->PrintCorrX = 1;
    Main()->PrintCorrY = 2;
    disk.Fill();
    TFrmKorekce* w = FWindow.get();
    QTimer::singleShot(10, [w] {
        w->offx->SetValue(-4);
        ClickButton(w->btnOK1);
    });
    QString message;
    try {
        Main()->mnKorTiskClick(nullptr);
    } catch (const EFileError& e) {
        message = e.Message();
    }
    disk.Release();
    EXPECT_EQ(message, QStringLiteral("Soubor \"%1\" nelze uložit: %2. Původní soubor zůstal beze změny.")
                           .arg(Settings(), disk.Reason()));
    EXPECT_EQ(TestSupport::ReadFile(Settings()), settings);
    EXPECT_EQ(Main()->PrintCorrX, 1);
    EXPECT_EQ(Main()->PrintCorrY, 2);
}
