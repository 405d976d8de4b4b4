// Project files: what a save writes, what an open rebuilds, and what survives
// a damaged or missing file.

#include "designer_fixture.h"
#include "surface_input.h"

#include "classlib/stream_test_bytes.h"
#include "classlib/forms/dialogs.h"
#include "classlib/forms/message_box.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "classlib/streaming/component_stream.h"
#include "classlib/sysutils.h"
#include "designer/objects/circ_text_image.h"
#include "designer/objects/text_image.h"
#include "skin/form/skin_manager.h"
#include "skin/skin_data.h"
#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <unistd.h>

using StreamTest::Bytes;
using StreamTest::Hex;

namespace {
struct TBox {
    QString Text, Caption;
};

class ProjectFiles : public ::testing::Test {
protected:
    ProjectFiles()
    {
        FDir = TestSupport::MakeTempDir();
        // The program folder with empty style and background folders.
        QDir(FDir).mkpath("Style");
        QDir(FDir).mkpath("Background");
        F.Main()->AppDir = FDir;
        F.ShowWindow();
        F.Main()->AppDir = FDir;
        SetMessageBoxHook([this](const QString& text, const QString& caption, unsigned) {
            Boxes.push_back({text, caption});
            return IDOK;
        });
    }
    ~ProjectFiles() override { SetMessageBoxHook(nullptr); }

    TFrmMain* Main() const { return F.Main(); }
    QString Path(const QString& name) const { return FDir + QLatin1Char('/') + name; }

    static QByteArray Read(const QString& path) { return TestSupport::ReadFile(path); }
    static void Write(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

    TLabel* AddText(const QString& text, int l, int t)
    {
        Main()->AddTextObject(text, 0);
        auto* o = static_cast<TLabel*>(Main()->SelectedObject);
        o->SetBounds(l, t, 120, 40);
        return o;
    }
    TShape* AddShape(TShapeType kind, int l, int t)
    {
        auto* s = new TShape(Main());
        s->SetTag(1);
        s->SetParent(Main()->ObjectParent);
        s->SetShape(kind);
        s->SetBounds(l, t, 60, 40);
        s->SetHint(QStringLiteral("Tvar"));
        Main()->SetObjectHandlers(s);
        Main()->FinishNewObject(s);
        return s;
    }
    TImage* AddPicture(const QString& file, int tag = 1)
    {
        auto* i = new TImage(Main());
        i->SetTag(tag);
        i->SetParent(Main()->ObjectParent);
        i->Picture()->LoadFromFile(file);
        i->SetBounds(40, 50, 90, 70);
        i->SetStretch(true);
        i->SetHint(ExtractFileName(file));
        Main()->SetObjectHandlers(i);
        Main()->FinishNewObject(i);
        return i;
    }

    // Classes and names of the objects, bottom first.
    QStringList Objects() const
    {
        QStringList r;
        for (int i = 0; i < Main()->ObjectCount(); ++i)
            r << Main()->Components(i)->ClassName() + QLatin1Char(':') + Main()->Components(i)->Name();
        return r;
    }

    TMainWindowFixture F;
    QString FDir;
    std::vector<TBox> Boxes;
};

// A design with every kind built so far, a background and a box template.
void MakeFullDesign(TFrmMain* m, const std::function<TLabel*(const QString&, int, int)>& text,
                    const std::function<TShape*(TShapeType, int, int)>& shape,
                    const std::function<TImage*(const QString&, int)>& picture)
{
    m->IMGBck->Picture()->LoadFromFile(TestSupport::BinDir() + "/Background/noc.jpg");
    m->DeleteTemplateParams();
    m->CreateTemplateParams(true, false, 119.5, 119.5, 45, 29.5, 48, 32.5, 113.5, 113.5, 2, "Booklet nahoře");
    m->SetupBoxSurface(false, 45, 29.5, 119.5, 119.5, 48, 32.5, 113.5, 113.5);
    TLabel* t = text(QString::fromUtf8("Žluťoučký kůň\r\nDruhý řádek"), 30, 40);
    t->Font()->SetColor(clRed);
    shape(stRectangle, 10, 10)->Brush()->SetStyle(bsClear);
    shape(stRoundRect, 100, 10)->Pen()->SetWidth(3);
    shape(stEllipse, 200, 10)->Brush()->SetColor(clYellow);
    picture(TestSupport::BinDir() + "/Loga/hvezda.gif", 1)->SetTransparent(true);
    picture(TestSupport::BinDir() + "/Background/papir.jpg", 2); // locked
    text("Hidden", 5, 300)->SetVisible(false);
}
} // namespace

TEST_F(ProjectFiles, SaveOpenAndSaveAgainGiveTheSameBytes)
{
    MakeFullDesign(
        Main(), [this](const QString& s, int l, int t) { return AddText(s, l, t); },
        [this](TShapeType k, int l, int t) { return AddShape(k, l, t); },
        [this](const QString& f, int tag) { return AddPicture(f, tag); });
    // The two picture texts, as their commands make them.
    TFont font;
    font.SetName("Arial");
    font.SetHeight(-24);
    font.SetColor(clBlue);
    auto* ti = new TFImage(Main());
    ti->SetTag(1);
    ti->SetParent(Main()->ObjectParent);
    ti->SetBounds(60, 200, 120, 30);
    ti->SetHint("Obraz");
    ti->SetHelpKeyword("1");
    ti->SetHelpContext(90);
    ti->SetStretch(true);
    ti->SetTransparent(true);
    Main()->SetObjectHandlers(ti);
    Main()->SelectedObject = ti;
    Main()->RenderTextImage(ti, &font, 90, "Obraz");
    Main()->FinishNewObject(ti);
    auto* ct = new TCFImage(Main());
    ct->SetTag(1);
    ct->SetParent(Main()->ObjectParent);
    ct->SetBounds(0, 0, Main()->PNLCD->Width(), Main()->PNLCD->Height());
    ct->SetTransparent(true);
    ct->SetHelpKeyword("200;210;150;30;");
    ct->SetHint(QString::fromUtf8("Kulatý"));
    ct->SetMFFont(&font);
    ct->Canvas()->SetFont(&font);
    Main()->SetCircTextHandlers(ct);
    Main()->RenderCircularText(ct, 150, 30, ct->Hint());
    Main()->FinishNewObject(ct, false);
    const QStringList before = Objects();
    ASSERT_EQ(before.size(), 9);

    Main()->SetDocumentFileName(Path("a.tvk"));
    Main()->SetModified();
    Main()->btnSaveClick(nullptr);
    EXPECT_FALSE(Main()->Modified);
    const QByteArray first = Read(Path("a.tvk"));
    ASSERT_FALSE(first.isEmpty());

    // Another design in between, so the reopen has to replace it.
    Main()->DeleteObjects(true);
    AddText("Other", 1, 1);
    Main()->Modified = false;
    Main()->OtevriSoubor(Path("a.tvk"));
    EXPECT_TRUE(Boxes.empty()) << Boxes[0].Text.toStdString();
    EXPECT_EQ(Objects(), before);
    EXPECT_FALSE(Main()->Modified);
    EXPECT_TRUE(Main()->NothingSelected());
    EXPECT_EQ(Main()->DocumentFileName, Path("a.tvk"));
    EXPECT_TRUE(Main()->Caption().startsWith("a.tvk - "));
    EXPECT_EQ(Main()->Vrstvy->Items()->Count(), 9);
    EXPECT_TRUE(Main()->GetTemplateFlag("isKrab"));
    EXPECT_EQ(Main()->GetTemplateParam("Okraj"), "119,5");
    EXPECT_EQ(Main()->StatusBar->PanelText(1), QString::fromUtf8("Booklet nahoře"));
    EXPECT_TRUE(Main()->C1Min->Visible());
    // A box surface of 119,5 + 4 mm.
    EXPECT_EQ(Main()->PNLCD->Width(), Main()->MmToPixels(123.5));
    auto* text = dynamic_cast<TLabel*>(Main()->Components(0));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->Caption(), QString::fromUtf8("Žluťoučký kůň\r\nDruhý řádek"));
    EXPECT_EQ(text->Font()->Color(), clRed);
    EXPECT_TRUE(text->Transparent());
    EXPECT_EQ(text->PopupMenu(), Main()->PopupMenuTxt);
    EXPECT_TRUE(text->OnDblClick);
    EXPECT_EQ(Main()->Components(5)->Tag(), 2);
    EXPECT_FALSE(static_cast<TControl*>(Main()->Components(6))->Visible());
    EXPECT_EQ(static_cast<TImage*>(Main()->Components(4))->PopupMenu(), Main()->PopupMenuIMG);
    EXPECT_EQ(static_cast<TImage*>(Main()->Components(7))->PopupMenu(), Main()->PopupMenuTxtImg);
    EXPECT_EQ(static_cast<TImage*>(Main()->Components(8))->PopupMenu(), Main()->PopupMenuCircl);

    Main()->UlozSoubor(Path("b.tvk"));
    EXPECT_EQ(Hex(Read(Path("b.tvk"))), Hex(first));
}

TEST_F(ProjectFiles, TextObjectWritesTheRecordOfTheFormat)
{
    Main()->DeleteTemplateParams();
    TLabel* l = AddText("Text", 10, 20);
    l->SetBounds(10, 20, 100, 30);
    l->Font()->SetCharset(1);
    l->Font()->SetName("Arial");
    l->Font()->SetSize(20);
    l->Font()->SetStyle(FontStyleBit(fsBold));
    l->Font()->SetColor(clRed);
    Main()->UlozSoubor(Path("t.tvk"));
    const QByteArray label = StreamTest::TextObjectRecord();
    const QByteArray file = Read(Path("t.tvk"));
    // The label, then the background picture: nothing else is saved.
    EXPECT_EQ(Hex(file.left(label.size())), Hex(label));
    EXPECT_TRUE(file.mid(label.size()).startsWith(QByteArray("TPF0\x06TImage\x06IMGBck")));
}

// Everything a failed open must leave as it was.
struct TDesignState {
    QStringList Objects;
    QStringList Params;
    QString FileName, Status;
    bool Modified = false;
    int SurfaceWidth = 0;
    friend bool operator==(const TDesignState&, const TDesignState&) = default;
};

TEST_F(ProjectFiles, AFailedOpenLeavesTheDesignAsItWas)
{
    AddText("Eins", 10, 10);
    AddText("Zwei", 10, 60);
    AddShape(stEllipse, 50, 50);
    AddText("Vier", 10, 120);
    Main()->UlozSoubor(Path("good.tvk"));
    const QByteArray good = Read(Path("good.tvk"));
    const int third = good.indexOf("TPF0\x06TShape");
    ASSERT_GT(third, 0);
    QByteArray unknownClass = good, unknownProperty = good, wrongTag = good;
    unknownClass.replace(third + 5, 6, "TShapX");
    const int shape = good.indexOf("\x05Shape\x07", third);
    ASSERT_GT(shape, 0);
    unknownProperty.replace(shape + 1, 5, "Shapo");
    wrongTag[shape + 6] = 6; // an enumeration written as a string
    QByteArray noise(4000, 0);
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);

    // The design in place: its own objects, a box template and a name, unsaved.
    Main()->DeleteObjects(true);
    AddText("Mine", 20, 20);
    AddShape(stRectangle, 30, 80);
    Main()->DeleteTemplateParams();
    Main()->CreateTemplateParams(true, false, 151, 121, 30, 29.5, 33, 32.5, 145, 115, 2, "Booklet");
    Main()->SetupBoxSurface(false, 30, 29.5, 151, 121, 33, 32.5, 145, 115);
    Main()->SetDocumentFileName(Path("mine.tvk"));
    Main()->StatusBar->SetPanelText(1, "Booklet");
    Main()->SetModified();
    auto state = [&] {
        TDesignState s{Objects(), {}, Main()->DocumentFileName, Main()->StatusBar->PanelText(1), Main()->Modified,
                       Main()->PNLCD->Width()};
        for (const char* k : {"Okraj", "Stred", "Left2", "isKrab", "sNazevSablony"})
            s.Params << Main()->GetTemplateParam(k);
        return s;
    };
    const TDesignState before = state();
    ASSERT_EQ(before.Objects.size(), 2);

    const struct {
        const char* Name;
        QByteArray Data;
    } cases[] = {
        {"cut short", good.left(third + 30)},
        {"unknown class", unknownClass},
        {"unknown property", unknownProperty},
        {"wrong tag", wrongTag},
        {"random bytes", noise},
    };
    SetMessageBoxHook([this](const QString& text, const QString& caption, unsigned) {
        Boxes.push_back({text, caption});
        return text == Main()->sSouborNeniUlozen ? IDNO : IDOK;
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Boxes.clear();
        const QString file = Path(QString::fromLatin1(c.Name) + ".tvk");
        if (!c.Data.isEmpty())
            Write(file, c.Data);
        // Ctrl+O: the open dialog answers with the file.
        TCommonDialog::ExecuteHook = [&](TCommonDialog* d) {
            static_cast<TOpenDialog*>(d)->FileName = file;
            return true;
        };
        Main()->btnOpenClick(Main());
        TCommonDialog::ExecuteHook = nullptr;
        ASSERT_EQ(Boxes.size(), 2u); // the save question (No), then the message
        EXPECT_EQ(Boxes[1].Text, Main()->sNelzePrecistObjekt);
        EXPECT_EQ(Boxes[1].Caption, "Chyba");
        EXPECT_TRUE(state() == before) << state().Objects.join(' ').toStdString() << " / "
                                       << state().Params.join(' ').toStdString();
        EXPECT_EQ(Main()->Vrstvy->Items()->Count(), 2);
    }
    // The good file still opens whole after all that.
    Boxes.clear();
    Main()->Modified = false;
    Main()->OtevriSoubor(Path("good.tvk"));
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(Objects(), QStringList({"TLabel:C0", "TLabel:C1", "TShape:C2", "TLabel:C3"}));
    EXPECT_EQ(Main()->DocumentFileName, Path("good.tvk"));
}

TEST(ProjectFileStart, AMissingStartFileLeavesTheFirstShowingsDisc)
{
    TMainWindowFixture f;
    std::vector<TBox> boxes;
    SetMessageBoxHook([&](const QString& text, const QString& caption, unsigned) {
        boxes.push_back({text, caption});
        return IDOK;
    });
    const QString file = TestSupport::MakeTempDir() + "/nowhere.tvk";
    f.ShowWindow(file);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().Text, QStringLiteral("Soubor \"%1\" nelze otevřít: soubor neexistuje.").arg(file));
    // The default disc with its template, untitled.
    EXPECT_EQ(f.Main()->GetTemplateParam("Okraj"), "118");
    EXPECT_EQ(f.Main()->GetTemplateParam("Stred"), "44");
    EXPECT_EQ(f.Main()->GetTemplateParam("sNazevSablony"), "None");
    EXPECT_EQ(f.Main()->PNLCD->Width(), f.Main()->MmToPixels(122));
    EXPECT_EQ(f.Main()->DocumentFileName, f.Main()->sUntitled);
    EXPECT_FALSE(f.Main()->Modified);
}

TEST_F(ProjectFiles, AnEmptyFileOpensAsABareDisc)
{
    AddText("Gone", 10, 10);
    Main()->DeleteTemplateParams();
    Main()->CreateTemplateParams(true, false, 151, 121, 30, 29.5, 33, 32.5, 145, 115, 2, "Booklet");
    Main()->SetupBoxSurface(false, 30, 29.5, 151, 121, 33, 32.5, 145, 115);
    Main()->Modified = false;
    Write(Path("empty.tvk"), QByteArray());
    Main()->OtevriSoubor(Path("empty.tvk"));
    EXPECT_TRUE(Boxes.empty()) << Boxes[0].Text.toStdString();
    EXPECT_EQ(Main()->ObjectCount(), 0);
    EXPECT_EQ(Main()->GetTemplateParam("Verze"), "0");
    EXPECT_EQ(Main()->StatusBar->PanelText(1), "0");
    EXPECT_EQ(Main()->PNLCD->Width(), Main()->MmToPixels(122));
    EXPECT_EQ(Main()->PNLCD->Height(), Main()->MmToPixels(122));
    EXPECT_FALSE(Main()->C1Min->Visible());
    EXPECT_EQ(Main()->DocumentFileName, Path("empty.tvk"));
}

TEST_F(ProjectFiles, OpenTakesTheDiscSizesAndTheLaterParameterSet)
{
    // Two parameter sets: the later one counts; "okraj" in another case is no disc size.
    auto params = [&](double okraj, double stred, const char* name) {
        Main()->CreateTemplateParams(false, false, okraj, stred, 0, 0, 0, 0, 0, 0, 0, name);
    };
    Main()->DeleteTemplateParams();
    params(100, 20, "First");
    params(80, 30, "Second");
    Main()->UlozSoubor(Path("two.tvk"));
    Main()->OtevriSoubor(Path("two.tvk"));
    EXPECT_EQ(Main()->StatusBar->PanelText(1), "Second");
    EXPECT_EQ(Main()->PNLCD->Width(), Main()->MmToPixels(84));
}

TEST_F(ProjectFiles, StyleObjectsComeBackFromAProjectAsOrdinaryObjects)
{
    TLabel* l = AddText("Styled", 10, 10);
    l->SetDragCursor(crHandPoint);
    Main()->UlozSoubor(Path("s.tvk"));
    Main()->OtevriSoubor(Path("s.tvk"));
    ASSERT_EQ(Main()->ObjectCount(), 1);
    EXPECT_NE(static_cast<TControl*>(Main()->Components(0))->DragCursor(), crHandPoint);
}

TEST_F(ProjectFiles, SaveAsWritesTheChosenNameAndCancelChangesNothing)
{
    AddText("Text", 10, 10);
    Main()->SetModified();
    QString chosen;
    TCommonDialog::ExecuteHook = [&](TCommonDialog* d) {
        if (chosen.isEmpty())
            return false;
        static_cast<TSaveDialog*>(d)->FileName = chosen;
        return true;
    };
    Main()->btnSaveClick(nullptr); // untitled: Save As, cancelled
    EXPECT_TRUE(Main()->Modified);
    EXPECT_EQ(Main()->DocumentFileName, Main()->sUntitled);
    chosen = Path("named.tvk");
    Main()->btnSaveClick(nullptr);
    EXPECT_FALSE(Main()->Modified);
    EXPECT_EQ(Main()->DocumentFileName, chosen);
    EXPECT_TRUE(Read(chosen).startsWith("TPF0"));
    // A folder that does not exist: the command fails and the old file stays as it was.
    const QByteArray old = Read(chosen);
    AddText("More", 10, 50);
    Main()->SetDocumentFileName(Path("no/such/folder/x.tvk"));
    EXPECT_THROW(Main()->btnSaveClick(nullptr), EFileError);
    EXPECT_EQ(Read(chosen), old);
    TCommonDialog::ExecuteHook = nullptr;
}

TEST_F(ProjectFiles, ObjectRecordsWithAnotherRoleComeBackAsObjects)
{
    // Only a foreign file holds these: a text with role 0 and a shape with role 5.
    QByteArray data;
    for (int tag : {0, 5}) {
        std::unique_ptr<TControl> c;
        if (tag == 0)
            c = std::make_unique<TLabel>(nullptr);
        else
            c = std::make_unique<TShape>(nullptr);
        c->SetTag(tag);
        c->SetName(QStringLiteral("X%1").arg(tag));
        data += ComponentRecordBytes(c.get());
    }
    Write(Path("roles.tvk"), data);
    Main()->OtevriSoubor(Path("roles.tvk"));
    EXPECT_TRUE(Boxes.empty());
    ASSERT_EQ(Objects(), QStringList({"TLabel:C0", "TShape:C1"}));
    EXPECT_EQ(Main()->Components(0)->Tag(), 1);
    EXPECT_EQ(Main()->Components(1)->Tag(), 1);
    EXPECT_EQ(Main()->GetTemplateParam("Verze"), "0");
    Main()->DeleteObjects(true);
    EXPECT_EQ(Main()->ObjectCount(), 0);
}

TEST_F(ProjectFiles, ExtremeBoundsAreHeldToTheCoordinateRangeAndTheObjectsCanBeClicked)
{
    // A foreign or damaged file: sizes and places at the ends of the integer range.
    auto label = [](const char* name, int64_t l, int64_t t, int64_t w, int64_t h) {
        return QByteArray(Bytes()
                              .signature().str("TLabel").str(name)
                              .name("Tag").int8(1)
                              .name("Left").int32(l).name("Top").int32(t)
                              .name("Width").int32(w).name("Height").int32(h)
                              .name("Caption").string("X")
                              .name("AutoSize").False()
                              .end().end());
    };
    Write(Path("extreme.tvk"), label("A", INT32_MAX, 0, INT32_MAX, INT32_MAX) +
                                   label("B", 10, INT32_MIN, 100, 30) +
                                   label("C", 0, 0, INT32_MAX, INT32_MAX));
    Main()->OtevriSoubor(Path("extreme.tvk"));
    EXPECT_TRUE(Boxes.empty());
    ASSERT_EQ(Main()->ObjectCount(), 3);
    auto* a = static_cast<TControl*>(Main()->Components(0));
    auto* b = static_cast<TControl*>(Main()->Components(1));
    auto* c = static_cast<TControl*>(Main()->Components(2));
    EXPECT_EQ(a->BoundsRect(), Bounds(32767, 0, 32767, 32767));
    EXPECT_EQ(b->BoundsRect(), Bounds(10, -32768, 100, 30));
    EXPECT_EQ(c->BoundsRect(), Bounds(0, 0, 32767, 32767));

    // C covers the surface: a press on it, on the disc between hole and edge,
    // selects it and frames it.
    TSurfaceMouse mouse(Main()->PNLCD->Handle());
    mouse.Click(QPoint(Main()->PNLCD->Width() / 2 + 120, Main()->PNLCD->Height() / 2));
    ASSERT_EQ(Main()->SelectedObject, c);
    EXPECT_EQ(Main()->PRB->BoundsRect(), Bounds(32765, 32765, 5, 5));
    EXPECT_EQ(Main()->RT->BoundsRect(), Bounds(-1, -1, 32768, 1));
    EXPECT_EQ(Main()->RR->BoundsRect(), Bounds(32767, 0, 1, 32767));
    // B lies far above the surface: its layer line, pressed, frames it there.
    const int line = Main()->ObjectCount() - 1 - 1;
    TestSupport::MouseClick(Main()->Vrstvy->Handle(),
                            QPoint(20, line * Main()->Vrstvy->ItemHeight() + Main()->Vrstvy->ItemHeight() / 2));
    ASSERT_EQ(Main()->SelectedObject, b);
    EXPECT_EQ(Main()->PL->BoundsRect(), Bounds(8, -32770, 5, 5));
    EXPECT_EQ(Main()->RT->BoundsRect(), Bounds(9, -32769, 101, 1));
    EXPECT_EQ(Main()->TOPClk->BoundsRect(), Bounds(9, -32769, 100, 30));
    // Saved again, the held values are what the file keeps.
    Main()->UlozSoubor(Path("again.tvk"));
    Main()->Modified = false;
    Main()->OtevriSoubor(Path("again.tvk"));
    ASSERT_EQ(Main()->ObjectCount(), 3);
    EXPECT_EQ(static_cast<TControl*>(Main()->Components(0))->BoundsRect(), Bounds(32767, 0, 32767, 32767));
}

TEST_F(ProjectFiles, TemplateSizesThatAreNoLabelSheetMakeADamagedFile)
{
    AddText("Kept", 10, 10);
    const int width = Main()->PNLCD->Width();
    for (bool box : {false, true}) {
        SCOPED_TRACE(box);
        Boxes.clear();
        Main()->DeleteTemplateParams();
        Main()->CreateTemplateParams(box, false, box ? 100 : 1e9, 40, box ? 1e12 : 0, 0, 0, 0, 0, 0, 0, "Obr");
        Main()->UlozSoubor(Path("huge.tvk"));
        Main()->OtevriSoubor(Path("huge.tvk"));
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_EQ(Boxes[0].Text, Main()->sNelzePrecistObjekt);
        EXPECT_EQ(Main()->PNLCD->Width(), width);
        EXPECT_EQ(Objects(), QStringList({"TLabel:C0"}));
        EXPECT_EQ(Main()->DocumentFileName, Main()->sUntitled);
    }
}

namespace {
QString SaveError(const std::function<void()>& save)
{
    try {
        save();
    } catch (const EFileError& e) {
        return e.Message();
    }
    return QString();
}
} // namespace

TEST_F(ProjectFiles, AReadOnlyProjectFileIsNotReplaced)
{
    AddText("Text", 10, 10);
    const QString file = Path("jen-cteni.tvk");
    Main()->UlozSoubor(file);
    const QByteArray old = Read(file);
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    Main()->SetDocumentFileName(file);
    AddText("More", 10, 50);
    Main()->SetModified();
    const QString message = SaveError([this] { Main()->btnSaveClick(nullptr); });
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(message, QStringLiteral("Soubor \"%1\" nelze uložit: soubor je jen pro čtení. "
                                      "Původní soubor zůstal beze změny.").arg(file));
    EXPECT_EQ(Read(file), old);
    EXPECT_TRUE(Main()->Modified);
    EXPECT_EQ(Main()->ObjectCount(), 2);
}

TEST_F(ProjectFiles, ASmallProjectSavedOntoAFullDiskKeepsTheOldFileSaysWhyAndClosingStillAsks)
{
    const QString dir = Path("plny-disk");
    TestSupport::TFullDisk disk(dir);
    const QString file = dir + QStringLiteral("/navrh.tvk");
    // A design without a background picture makes a file of a few kilobytes.
    Main()->IMGBck->Picture()->SetGraphic(nullptr);
    AddText("Stary", 10, 10);
    Main()->UlozSoubor(file);
    const QByteArray old = Read(file);
    ASSERT_FALSE(old.isEmpty());
    ASSERT_LT(old.size(), 16 * 1024);
    Main()->SetDocumentFileName(file);
    AddText("Novy", 10, 60);
    Main()->SetModified();
    disk.Fill();
    // Ctrl+S: the error ends the command and the application shows it.
    Boxes.clear();
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Main()->Window();
    QKeyEvent ctrlS(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::sendEvent(target, &ctrlS);
    const QString expected = QStringLiteral("Soubor \"%1\" nelze uložit: %2. Původní soubor zůstal beze změny.")
                                 .arg(file, disk.Reason());
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, expected);
    EXPECT_TRUE(Main()->Modified);
    // Save As onto the same disk: nothing made, the design still unsaved under its old name.
    const QString other = dir + QStringLiteral("/jiny.tvk");
    TCommonDialog::ExecuteHook = [&](TCommonDialog* d) {
        static_cast<TSaveDialog*>(d)->FileName = other;
        return true;
    };
    EXPECT_EQ(SaveError([this] { Main()->mnuSaveAsClick(nullptr); }),
              QStringLiteral("Soubor \"%1\" nelze uložit: %2.").arg(other, disk.Reason()));
    TCommonDialog::ExecuteHook = nullptr;
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_EQ(Main()->DocumentFileName, file);
    EXPECT_TRUE(Main()->Modified);
    // Closing asks; Yes tries the save again, which fails the same way and keeps the window.
    Boxes.clear();
    SetMessageBoxHook([this](const QString& text, const QString& caption, unsigned) {
        Boxes.push_back({text, caption});
        return IDYES;
    });
    bool canClose = false;
    EXPECT_EQ(SaveError([&] { Main()->FormCloseQuery(Main(), canClose); }), expected);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, Main()->sSouborNeniUlozen);
    EXPECT_FALSE(canClose);
    EXPECT_TRUE(Main()->Modified);
    // An exported bitmap the size of a small label says the same and keeps its old file.
    const QString bmp = dir + QStringLiteral("/export.bmp");
    disk.Release();
    Write(bmp, "old picture");
    disk.Fill();
    TBitmap small;
    small.SetSize(20, 20);
    EXPECT_EQ(SaveError([&] { small.SaveToFile(bmp); }),
              QStringLiteral("Soubor \"%1\" nelze uložit: %2. Původní soubor zůstal beze změny.").arg(bmp, disk.Reason()));
    disk.Release();
    EXPECT_EQ(Read(file), old);
    EXPECT_EQ(Read(bmp), QByteArray("old picture"));
}

TEST_F(ProjectFiles, AProjectOrStyleThatCannotBeOpenedSaysWhatIsWrongWithIt)
{
    AddText("Moje", 20, 20);
    Main()->UlozSoubor(Path("moje.tvk"));
    Main()->SetDocumentFileName(Path("moje.tvk"));
    Main()->Modified = false;
    const QString missing = Path("chybi.tvk"), folder = Path("slozka.tvk"), loop = Path("smycka.tvk"),
                  locked = Path("zamceny.tvk");
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_TRUE(QFile::link(loop, loop));
    Main()->UlozSoubor(locked);
    auto expected = [](const QString& name, const char* reason) {
        return QStringLiteral("Soubor \"%1\" nelze otevřít: %2.").arg(name, QString::fromUtf8(reason));
    };
    auto open = [&](const QString& file) {
        Boxes.clear();
        Main()->OtevriSoubor(file);
        EXPECT_EQ(Objects(), QStringList({"TLabel:C0"}));
        EXPECT_EQ(Main()->DocumentFileName, Path("moje.tvk"));
        return Boxes.size() == 1u ? Boxes[0].Text : QString::number(Boxes.size()) + " boxes";
    };
    EXPECT_EQ(open(missing), expected(missing, "soubor neexistuje"));
    EXPECT_EQ(open(folder), expected(folder, "je to složka, ne soubor"));
    EXPECT_EQ(open(loop), expected(loop, "symbolické odkazy tvoří smyčku"));
    {
        TestSupport::TReadDenied denied(locked);
        EXPECT_EQ(open(locked), expected(locked, "nemáte oprávnění ke čtení tohoto souboru"));
    }
    EXPECT_EQ(Boxes[0].Caption, "Chyba");
    // A style whose link leads nowhere says so.
    const QString style = Path("Style/Ztraceny.cd");
    ASSERT_TRUE(QFile::link(Path("nikde.cd"), style));
    Main()->FillStyleList();
    Boxes.clear();
    Main()->lComboStyly->SetItemIndex(Main()->lComboStyly->Items()->IndexOf("Ztraceny.cd"));
    Main()->lComboStylyChange(Main()->lComboStyly);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, expected(style, "symbolický odkaz vede na soubor, který neexistuje"));
    EXPECT_EQ(Objects(), QStringList({"TLabel:C0"}));
}

TEST_F(ProjectFiles, ATemplateNumberThatIsNoNumberLeavesTheOpenDesignAndCtrlSKeepsItsFile)
{
    // The user's own design, saved under its name.
    AddText("Moje", 20, 20);
    Main()->UlozSoubor(Path("moje.tvk"));
    Main()->SetDocumentFileName(Path("moje.tvk"));
    Main()->Modified = false;
    const QByteArray mine = Read(Path("moje.tvk"));
    const QStringList mineObjects = Objects();

    // Another file whose one parameter is damaged; the rest of it is sound.
    const QString other = Path("cizi.tvk");
    auto writeOther = [&](const QString& key, const QString& text) {
        auto* foreign = new TLabel(Main());
        foreign->SetTag(1);
        foreign->SetCaption("Cizi");
        QFile f(other);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        WriteComponentRecord(f, foreign);
        delete foreign;
        // A box reads its place and inner rectangle as it opens; a disc does not.
        if (key.endsWith('2') || key.compare("Left", Qt::CaseInsensitive) == 0) {
            TCheckBox box(Main());
            box.SetTag(5);
            box.SetName("isKrab");
            box.SetChecked(true);
            WriteComponentRecord(f, &box);
        }
        TCheckBox param(Main());
        param.SetTag(5);
        param.SetName(key);
        param.SetCaption(text);
        WriteComponentRecord(f, &param);
    };
    auto key = [&](Qt::Key k) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Main()->Window();
        QKeyEvent press(QEvent::KeyPress, k, Qt::ControlModifier);
        QCoreApplication::sendEvent(target, &press);
    };
    const struct {
        const char* Key;
        const char* Text;
    } cases[] = {{"Typ", "abc"}, {"Typ", ""},       {"Typ", "1.5"},   {"Typ", "2147483648"},
                 {"typ", "x"},   {"Left", "abc"},   {"top2", "1e400"}, {"Height2", "nic"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Key) + "=" + c.Text);
        writeOther(c.Key, c.Text);
        const QByteArray otherBytes = Read(other);
        Boxes.clear();
        TCommonDialog::ExecuteHook = [&](TCommonDialog* d) {
            static_cast<TOpenDialog*>(d)->FileName = other;
            return true;
        };
        key(Qt::Key_O);
        TCommonDialog::ExecuteHook = nullptr;
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_EQ(Boxes[0].Text, Main()->sNelzePrecistObjekt);
        EXPECT_EQ(Objects(), mineObjects);
        EXPECT_EQ(Main()->DocumentFileName, Path("moje.tvk"));
        EXPECT_FALSE(Main()->Modified);
        // Ctrl+S writes the user's own design to the user's own file.
        key(Qt::Key_S);
        EXPECT_EQ(Read(Path("moje.tvk")), mine);
        EXPECT_EQ(Read(other), otherBytes);
    }
}

TEST_F(ProjectFiles, ADiscWhosePlaceOnTheSheetIsNoNumberOpensWholeAndKeepsTheValue)
{
    for (bool box : {false, true}) {
        for (const char* key : {"Left", "Top", "Left2", "Top2", "Width2", "Height2"}) {
            SCOPED_TRACE(std::string(key) + (box ? " box" : " disc"));
            Main()->DeleteObjects(true);
            AddText("Prvni", 10, 10);
            AddShape(stEllipse, 40, 40);
            Main()->DeleteTemplateParams();
            Main()->CreateTemplateParams(box, false, box ? 120 : 117, box ? 118 : 41, 46, 21.8, box ? 50 : 0,
                                         box ? 25 : 0, box ? 100 : 0, box ? 90 : 0, 0, "Arch");
            auto* param = dynamic_cast<TCheckBox*>(Main()->FindComponent(key));
            ASSERT_NE(param, nullptr);
            param->SetCaption("abc");
            const QString file = Path("poskozeny.tvk");
            Main()->UlozSoubor(file);
            Main()->DeleteObjects(true);
            Main()->SetDocumentFileName(Main()->sUntitled);
            Boxes.clear();
            Main()->OtevriSoubor(file);
            if (box) {
                // A box's surface is laid out from these numbers: still refused.
                ASSERT_EQ(Boxes.size(), 1u);
                EXPECT_EQ(Boxes[0].Text, Main()->sNelzePrecistObjekt);
                EXPECT_EQ(Main()->DocumentFileName, Main()->sUntitled);
                continue;
            }
            EXPECT_TRUE(Boxes.empty()) << (Boxes.empty() ? "" : Boxes[0].Text.toStdString());
            EXPECT_EQ(Objects(), QStringList({"TLabel:C0", "TShape:C1"}));
            EXPECT_EQ(Main()->DocumentFileName, file);
            EXPECT_EQ(Main()->PNLCD->Width(), Main()->MmToPixels(121));
            EXPECT_EQ(Main()->GetTemplateParam(key), "abc");
            // Saved again and opened, the value is still there to be seen.
            Main()->UlozSoubor(file);
            Main()->OtevriSoubor(file);
            EXPECT_EQ(Main()->GetTemplateParam(key), "abc");
            EXPECT_EQ(Objects(), QStringList({"TLabel:C0", "TShape:C1"}));
        }
    }
}

TEST_F(ProjectFiles, TheSavedBytesDoNotDependOnTheSkin)
{
    AddText("Text", 10, 10);
    AddShape(stEllipse, 40, 40);
    auto chooseTemplate = [this] {
        Main()->DeleteTemplateParams();
        Main()->CreateTemplateParams(true, false, 119.5, 119.5, 45, 29.5, 48, 32.5, 113.5, 113.5, 2, "Obal");
    };
    chooseTemplate();
    QByteArray first;
    QStringList differing;
    auto save = [&](const QString& when) {
        Main()->UlozSoubor(Path("navrh.tvk"));
        const QByteArray bytes = Read(Path("navrh.tvk"));
        if (first.isEmpty())
            first = bytes;
        else if (bytes != first)
            differing << when;
    };
    // Off, each skin in turn, and off again, as the skin chooser switches them.
    for (const QString skin : {"", "mxskin20.skn", "zelena.skn", "grafit.skn", ""}) {
        const QString under = skin.isEmpty() ? QStringLiteral("bez vzhledu") : skin;
        Main()->SkinData1->SetActive(false);
        QTest::qWait(300);
        if (!skin.isEmpty()) {
            Main()->SkinData1->SetSkinFile(TestSupport::BinDir() + "/skiny/" + skin);
            ASSERT_TRUE(Main()->SkinData1->SkinRead()) << skin.toStdString();
            Main()->SkinData1->SetActive(true);
            QTest::qWait(400);
            ASSERT_NE(SkinManager()->FindForm(Main()->Window()), nullptr) << skin.toStdString();
        }
        // The parameters made before the skin came, then a template chosen under it.
        save(under + " (dřívější šablona)");
        chooseTemplate();
        QTest::qWait(300);
        save(under);
    }
    EXPECT_TRUE(differing.isEmpty()) << differing.join(", ").toStdString();
    Main()->SkinData1->SetActive(false);
    QTest::qWait(300);
}

TEST_F(ProjectFiles, AProjectOrStyleTooLargeOrNoPlainFileIsRefusedNamingItBeforeReading)
{
    AddText("Moje", 20, 20);
    Main()->UlozSoubor(Path("moje.tvk"));
    Main()->SetDocumentFileName(Path("moje.tvk"));
    Main()->Modified = false;
    // A sound project made too large by a sparse tail, and a device.
    const QString large = Path("velky.tvk"), zero = Path("nula.tvk");
    Main()->UlozSoubor(large);
    ASSERT_TRUE(QFile::resize(large, MaxProjectFileBytes + 1));
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    for (const QString& file : {large, zero}) {
        SCOPED_TRACE(file.toStdString());
        Boxes.clear();
        Main()->OtevriSoubor(file);
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_TRUE(Boxes[0].Text.contains(file)) << Boxes[0].Text.toStdString();
        EXPECT_EQ(Objects(), QStringList({"TLabel:C0"}));
        EXPECT_EQ(Main()->DocumentFileName, Path("moje.tvk"));
    }
    // A style file the same: the message names it and the design keeps its objects.
    ASSERT_TRUE(QFile::link("/dev/zero", Path("Style/Nula.cd")));
    Main()->FillStyleList();
    Boxes.clear();
    Main()->lComboStyly->SetItemIndex(Main()->lComboStyly->Items()->IndexOf("Nula.cd"));
    Main()->lComboStylyChange(Main()->lComboStyly);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_TRUE(Boxes[0].Text.contains("Nula.cd")) << Boxes[0].Text.toStdString();
    EXPECT_EQ(Objects(), QStringList({"TLabel:C0"}));
}
