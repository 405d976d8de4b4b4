#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

#include "classlib/graphics/canvas.h"
#include "classlib/sysutils.h"
#include "platform/system_metrics.h"
#include "skin/skin_data.h"
#include "skin/form/skin_manager.h"
#include "skin/skin_reader.h"
#include "skin_test_helpers.h"
#include "test_support.h"

using namespace SkinTest;
using namespace TestSupport;

namespace {
class SkinData : public ::testing::Test {
protected:
    void SetUp() override { FreeSkinManager(); }
    void TearDown() override { FreeSkinManager(); }

    static QString ShippedSkin(const QString& name) { return BinDir() + QStringLiteral("/skiny/") + name; }

    static void LoadProperty(TSkinData& data, const QByteArray& archive)
    {
        QByteArray prop = Property(archive);
        QDataStream in(prop);
        data.ReadSkinStream(in);
    }
};
} // namespace

TEST_F(SkinData, ConstructorValues)
{
    TSkinData data(nullptr);
    EXPECT_FALSE(data.Active());
    EXPECT_EQ(data.DisableTag(), 99);
    for (int i = xcMainMenu; i <= xcFastReport; ++i) {
        const auto t = static_cast<TSkinControlType>(i);
        EXPECT_EQ(data.SkinControls().Contains(t), t != xcMenuItem && t != xcFastReport) << i;
    }
    EXPECT_EQ(data.Options(), TSkinOptions({xoPreview, xoToolbarBK}));
    EXPECT_EQ(data.SkinFormtype(), sfMainform);
    EXPECT_TRUE(data.MenuUpdate());
    EXPECT_FALSE(data.MenuMerge());
    EXPECT_TRUE(data.SkinFile().isEmpty());
    EXPECT_TRUE(data.SkinLoading());
    EXPECT_EQ(data.SkinStore(), QStringLiteral("(none)"));
    EXPECT_EQ(data.Version(), QStringLiteral("4.13.08.38"));
    data.SetVersion(QStringLiteral("1.0"));
    data.SetSkinStore(QStringLiteral("(Good)"));
    EXPECT_EQ(data.Version(), QStringLiteral("4.13.08.38"));
    EXPECT_EQ(data.SkinStore(), QStringLiteral("(none)"));
    EXPECT_EQ(data.Buttons->Name, QStringLiteral("Buttons"));
    EXPECT_EQ(data.Top->Name, QStringLiteral("Top"));
    EXPECT_EQ(data.MaximizedWidth, GetSystemMetrics(SM_CXMAXIMIZED));
    // The menu glyphs: restore, maximise, minimise, close; white is see-through.
    ASSERT_EQ(data.MenuImages->Count(), 4);
    EXPECT_EQ(data.MenuImages->Image(0).size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(data.MenuImages->Image(3).pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(data.MenuImages->Image(3).pixel(5, 5)), 255);
}

TEST_F(SkinData, DefaultSkin3rdList)
{
    const QStringList list = TSkinData(nullptr).Skin3rd();
    ASSERT_EQ(list.size(), 117);
    EXPECT_EQ(QSet<QString>(list.begin(), list.end()).size(), 114);
    EXPECT_EQ(list.first(), QStringLiteral("TCategoryButtons=scrollbar"));
    EXPECT_EQ(list.last(), QStringLiteral("TOVCDBNUMERICFIELD=Edit"));
    QMap<QString, int> perType;
    for (const QString& line : list)
        ++perType[line.section(QLatin1Char('='), 1).toLower()];
    EXPECT_EQ(perType["combobox"], 39);
    EXPECT_EQ(perType["edit"], 26);
    EXPECT_EQ(perType["panel"], 15);
    EXPECT_EQ(perType["scrollbar"], 10);
    EXPECT_EQ(perType["radiogroup"], 7);
    EXPECT_EQ(perType["checkbox"], 4);
    EXPECT_EQ(perType["speedbutton"], 3);
    EXPECT_EQ(perType["bitbtn"], 3);
    EXPECT_EQ(perType["checkgroup"], 3);
    EXPECT_EQ(perType["radiobutton"], 2);
    EXPECT_EQ(perType["groupbox"], 2);
    EXPECT_EQ(perType["pngbitbtn"], 1);
    EXPECT_EQ(perType["button"], 1);
    EXPECT_EQ(perType["menubtn"], 1);
    // The first line naming a class decides: TLMDGroupBox is a group box, not a panel.
    auto typeOf = [&](const QString& cls) {
        const QString prefix = cls.toLower() + QLatin1Char('=');
        for (const QString& line : list)
            if (line.toLower().startsWith(prefix))
                return line.section(QLatin1Char('='), 1).toLower();
        return QString();
    };
    EXPECT_EQ(typeOf("TLMDGroupBox"), QStringLiteral("groupbox"));
    EXPECT_EQ(typeOf("TRzButton"), QStringLiteral("button"));
    EXPECT_LT(list.indexOf("TCategoryButtons=scrollbar"), list.indexOf("TPngBitBtn=pngbitbtn"));
    EXPECT_LT(list.indexOf("TDBAdvMemo=scrollbar"), list.indexOf("TcxDBLookupComboBox=Combobox"));
    EXPECT_LT(list.indexOf("TcxGroupbox=Groupbox"), list.indexOf("TOVCPICTUREFIELD=Edit"));
}

TEST_F(SkinData, EmbeddedDefaultSkin)
{
    const QByteArray archive = DefaultSkinArchive();
    ASSERT_GT(archive.size(), 1000);
    const QByteArray prop = DefaultSkinStreamProperty();
    EXPECT_EQ(prop.size(), archive.size() + 4);
    EXPECT_EQ(prop.mid(4), archive);

    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(archive));
    EXPECT_EQ(reader.Count(), 43);
    int64_t sum = 0;
    for (int i = 0; i < reader.Count(); ++i)
        sum += reader.Size(i);
    EXPECT_EQ(sum, reader.Data().size());
    int inis = 0;
    int bitmaps = 0;
    for (const QString& name : reader.Names()) {
        inis += name.contains(QLatin1String(".ini")) ? 1 : 0;
        bitmaps += name.endsWith(QLatin1String(".bmp")) ? 1 : 0;
    }
    EXPECT_EQ(inis, 1);
    EXPECT_EQ(bitmaps, 42);

    // Loaded through the property, as the main window's skin component is.
    TSkinData data(nullptr);
    QByteArray bytes = prop;
    QDataStream in(bytes);
    data.ReadSkinStream(in);
    EXPECT_FALSE(data.SkinLoading());
    EXPECT_EQ(data.SkinName, QStringLiteral("Tessavik"));
    EXPECT_EQ(data.CaptionButtons.size(), 8u);  // 5 from the description, 3 for MDI children
    EXPECT_EQ(data.ColourTable.size(), 6u);
    // Every element the engine reads is there.
    const std::vector<const TDataSkinObject*> elements = {
        data.Progress.get(), data.ProgressChunk.get(), data.MenuBar.get(), data.GroupBoxEdge.get(),
        data.GroupBox.get(), data.Tabs.get(), data.StatusBarEdges.get(), data.TabPane.get(), data.ToolBars.get(),
        data.ComboButton.get(), data.SunkEdge.get(), data.ExtraImages.get(), data.Headerbar.get(),
        data.MenuItem.get(), data.MenuBackground.get(), data.Scrollbar.get(), data.HorzScroll.get(),
        data.VertScroll.get(), data.HorzScrollThumb.get(), data.VertScrollThumb.get(),
        data.TrackbarThumbHorz.get(), data.TrackbarThumbVert.get(), data.TrackbarThumbLeft.get(),
        data.TrackbarThumbRight.get(), data.TrackbarThumbUp.get(), data.TrackbarThumbDown.get(),
        data.UpDownHorz.get(), data.UpDownVert.get(), data.Track.get(), data.TrackVert.get()};
    for (const TDataSkinObject* o : elements) {
        ASSERT_TRUE(o);
        EXPECT_FALSE(o->Image.isNull()) << qPrintable(o->Name);
    }
    for (const TDataSkinBorder* side : {data.Left.get(), data.Right.get(), data.Top.get(), data.Bottom.get()}) {
        EXPECT_FALSE(side->Image.isNull()) << qPrintable(side->Name);
        EXPECT_EQ(side->Frame, 2);
    }
    EXPECT_FALSE(data.Title->Image.isNull());
    EXPECT_FALSE(data.Buttons->CheckImage.isNull());
    EXPECT_EQ(data.TabPane->LeftWidth, 4);
    // The property is written back byte for byte.
    QByteArray written;
    QDataStream out(&written, QIODevice::WriteOnly);
    data.WriteSkinStream(out);
    EXPECT_EQ(written, prop);
}

TEST_F(SkinData, SkinStreamFraming)
{
    TSkinData data(nullptr);
    QByteArray written;
    {
        QDataStream out(&written, QIODevice::WriteOnly);
        data.WriteSkinStream(out);
    }
    EXPECT_EQ(written, QByteArray(4, '\0'));  // always written, 0 without a skin

    // A length below 1 ends the property.
    QByteArray zero("\0\0\0\0rest", 8);
    QDataStream in0(zero);
    data.ReadSkinStream(in0);
    EXPECT_TRUE(data.SkinStream().isEmpty());
    QByteArray negative("\xFF\xFF\xFF\xFF", 4);
    QDataStream inNeg(negative);
    data.ReadSkinStream(inNeg);
    EXPECT_TRUE(data.SkinLoading());

    // Fewer bytes than the length: a read error, nothing taken.
    QByteArray shortProp = Property(QByteArray(100, 'x')).left(50);
    QDataStream inShort(shortProp);
    EXPECT_THROW(data.ReadSkinStream(inShort), EReadError);
    QByteArray tiny("\x01\x00", 2);
    QDataStream inTiny(tiny);
    EXPECT_THROW(data.ReadSkinStream(inTiny), EReadError);
    EXPECT_TRUE(data.SkinStream().isEmpty());
}

TEST_F(SkinData, OldVersionIsRefusedAndTheHeldSkinStays)
{
    TMessages messages;
    TSkinData data(nullptr);
    data.SetSkinFile(ShippedSkin("mxskin20.skn"));
    ASSERT_FALSE(data.SkinLoading());
    EXPECT_EQ(data.SkinName, QStringLiteral("MX 2.0"));
    const QImage top = data.Top->Image;

    const QString older = TestDataDir() + QStringLiteral("/lzhuf/skin-old-version.skn");
    data.SetSkinFile(older);
    ASSERT_EQ(messages.Texts.size(), 1);
    EXPECT_TRUE(messages.Texts[0].contains(older));
    EXPECT_TRUE(messages.Texts[0].contains(QStringLiteral("This is Older Skin File\rPlease update to new version !")));
    // The held skin stays in effect, and stays the one named.
    EXPECT_TRUE(data.SkinRead());
    EXPECT_EQ(data.SkinFile(), ShippedSkin("mxskin20.skn"));
    EXPECT_EQ(data.SkinName, QStringLiteral("MX 2.0"));
    EXPECT_EQ(data.Top->Image, top);
    EXPECT_TRUE(data.LoadSkin());
}

TEST_F(SkinData, ADamagedSkinFileIsNamedInTheMessageAndTheHeldSkinStays)
{
    TMessages messages;
    TSkinData data(nullptr);
    const QString good = ShippedSkin("zelena.skn");
    data.SetSkinFile(good);
    ASSERT_TRUE(data.SkinRead());
    const QByteArray stream = data.SkinStream();
    const QImage top = data.Top->Image;
    const QString dir = MakeTempDir();
    QStringList files = DamagedSkinFiles(dir, TestDataDir() + QStringLiteral("/lzhuf/skin-old-version.skn"));
    // 100 MB of noise is refused by its size, before it is read.
    {
        const QString big = dir + QStringLiteral("/noise.skn");
        QFile out(big);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        const QByteArray block = ReadFile(files.last());
        for (int i = 0; i < 100 * 16; ++i)
            ASSERT_EQ(out.write(block), block.size());
        files << big;
    }
    // A device never ends: it must not be read at all.
    files << QStringLiteral("/dev/zero");
    for (const QString& file : files) {
        messages.Texts.clear();
        data.SetSkinFile(file);
        ASSERT_EQ(messages.Texts.size(), 1) << file.toStdString();
        EXPECT_TRUE(messages.Texts[0].contains(file)) << messages.Texts[0].toStdString();
        // The old-version text only for the archive of an older version.
        EXPECT_EQ(messages.Texts[0].contains(QStringLiteral("This is Older Skin File")), file.endsWith("older.skn"))
            << messages.Texts[0].toStdString();
        EXPECT_TRUE(data.SkinRead()) << file.toStdString();
        EXPECT_EQ(data.SkinFile(), good);
        EXPECT_EQ(data.SkinStream(), stream);
        EXPECT_EQ(data.SkinName, QString::fromUtf8("Zelená"));
        EXPECT_EQ(data.Top->Image, top);
    }
}

TEST_F(SkinData, ASkinThatCannotServeTheWindowsIsRefusedBeforeItReplacesTheHeldOne)
{
    TMessages messages;
    TSkinData data(nullptr);
    const QString good = ShippedSkin("zelena.skn");
    data.SetSkinFile(good);
    ASSERT_TRUE(data.SkinRead());
    const QByteArray stream = data.SkinStream();
    const QImage left = data.Left->Image;
    const QImage top = data.Top->Image;
    const QImage menuBar = data.MenuBar->Image;
    const size_t buttons = data.CaptionButtons.size();
    const QString dir = MakeTempDir();
    // The fault-free version of the small skin below is taken: the check
    // refuses only what would leave a window blank.
    {
        const QByteArray ini = UsableSkinIni();
        const QString usable = dir + QStringLiteral("/usable.skn");
        QFile out(usable);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(SkinArchiveOf(&ini, UsableSkinBitmaps()));
        out.close();
        TSkinData other(nullptr);
        other.SetSkinFile(usable);
        EXPECT_TRUE(messages.Texts.isEmpty()) << messages.Texts.join("\n").toStdString();
        EXPECT_TRUE(other.SkinRead());
        EXPECT_EQ(other.Top->Image.height(), 40);
        ASSERT_TRUE(other.MenuBar);
        EXPECT_EQ(other.CaptionButtons.size(), 4u);
    }
    for (const auto& [file, reason] : UnusableSkinFiles(dir)) {
        messages.Texts.clear();
        data.SetSkinFile(file);
        ASSERT_EQ(messages.Texts.size(), 1) << file.toStdString();
        const QString& text = messages.Texts[0];
        EXPECT_TRUE(text.contains(QStringLiteral("Skin \"%1\" nelze použít.").arg(file))) << text.toStdString();
        EXPECT_TRUE(text.contains(reason)) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QString::fromUtf8("Zůstává dosavadní vzhled programu."))) << text.toStdString();
        // Nothing of the refused skin reached the held one.
        EXPECT_TRUE(data.SkinRead()) << file.toStdString();
        EXPECT_EQ(data.SkinFile(), good);
        EXPECT_EQ(data.SkinStream(), stream);
        EXPECT_EQ(data.SkinName, QString::fromUtf8("Zelená"));
        EXPECT_EQ(data.Left->Image, left);
        EXPECT_EQ(data.Top->Image, top);
        ASSERT_TRUE(data.MenuBar);
        EXPECT_EQ(data.MenuBar->Image, menuBar);
        EXPECT_EQ(data.CaptionButtons.size(), buttons);
    }
}

TEST_F(SkinData, MissingFileKeepsTheSkinButCountsAsNone)
{
    TMessages messages;
    TSkinData data(nullptr);
    data.SetSkinFile(ShippedSkin("zelena.skn"));
    ASSERT_FALSE(data.SkinLoading());
    data.SetSkinFile(ShippedSkin("missing.skn"));
    EXPECT_TRUE(messages.Texts.isEmpty());
    EXPECT_EQ(data.SkinFile(), ShippedSkin("missing.skn"));
    EXPECT_TRUE(data.SkinLoading());
    EXPECT_EQ(data.SkinName, QString::fromUtf8("Zelená"));
    // Active := True schedules nothing for a component without a skin.
    TSkinManage* manager = SkinManager();
    ASSERT_TRUE(manager);  // made by the first load's skin change
    manager->SetPendingSkinData(nullptr);
    manager->SetSkinOnState(1);
    data.SetActive(true);
    EXPECT_FALSE(manager->TimerActive());
    EXPECT_EQ(manager->PendingSkinData(), nullptr);
}

TEST_F(SkinData, SkinFileNamesResolveLetterCaseAndBackslashes)
{
    const QString dir = MakeTempDir();
    QDir().mkpath(dir + QStringLiteral("/Skiny"));
    QFile::copy(ShippedSkin("grafit.skn"), dir + QStringLiteral("/Skiny/Grafit.skn"));
    TSkinData data(nullptr);
    data.SetSkinFile(dir + QStringLiteral("\\skiny\\grafit.skn"));
    EXPECT_FALSE(data.SkinLoading());
    EXPECT_EQ(data.SkinName, QStringLiteral("Grafit"));
}

TEST_F(SkinData, EveryShippedSkinLoadsAndSwitchingReloads)
{
    QDir dir(BinDir() + QStringLiteral("/skiny"));
    const QStringList skins = dir.entryList({QStringLiteral("*.skn")}, QDir::Files, QDir::Name);
    ASSERT_GE(skins.size(), 3);
    EXPECT_TRUE(skins.contains(QStringLiteral("mxskin20.skn")));
    TSkinData data(nullptr);
    data.Loaded();
    int changed = 0;
    data.OnSkinChanged = [&](TComponent*) { ++changed; };
    QStringList names;
    QList<QImage> tops;
    for (const QString& skin : skins) {
        data.SetSkinFile(dir.filePath(skin));
        EXPECT_FALSE(data.SkinLoading()) << qPrintable(skin);
        EXPECT_FALSE(data.SkinName.isEmpty());
        EXPECT_FALSE(data.Top->Image.isNull());
        EXPECT_EQ(SkinManager()->PendingSkinData(), &data);
        names << data.SkinName;
        tops << data.Top->Image;
        // Every skin comes with its preview.
        const QString preview = dir.filePath(QFileInfo(skin).completeBaseName() + QStringLiteral(".jpg"));
        EXPECT_FALSE(QImage(preview).isNull()) << qPrintable(preview);
    }
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), skins.size());
    EXPECT_NE(tops[0], tops[1]);
    // Switching back reloads the first skin's elements.
    data.SetSkinFile(dir.filePath(skins[0]));
    EXPECT_EQ(data.SkinName, names[0]);
    EXPECT_EQ(data.Top->Image, tops[0]);
    // Grafit has no sunken combo edge, no MDI strip and no track of its own.
    data.SetSkinFile(dir.filePath(QStringLiteral("grafit.skn")));
    EXPECT_FALSE(data.SunkEdge);
    EXPECT_TRUE(data.ComboButton);
    EXPECT_TRUE(data.CaptionButtons.back()->Image.isNull());
    EXPECT_EQ(data.Track->Image, SkinResourceBitmap(QStringLiteral("TRACK")));
    data.SetSkinFile(dir.filePath(QStringLiteral("zelena.skn")));
    EXPECT_EQ(data.Progress->Style, 1);
    EXPECT_EQ(data.Progress->Frame, 1);
    EXPECT_TRUE(data.SunkEdge);
    // Nothing was skinned yet, so no reskin was scheduled.
    EXPECT_FALSE(SkinManager()->TimerActive());
    EXPECT_EQ(changed, 0);
}

TEST_F(SkinData, LoadedRegistersAndAdjustsControls)
{
    TSkinData data(nullptr);
    LoadProperty(data, DefaultSkinArchive());
    data.SetActive(true);  // no manager yet: only the switch
    data.Loaded();
    TSkinManage* manager = SkinManager();
    ASSERT_TRUE(manager);
    EXPECT_EQ(manager->CurrentSkinData(), &data);
    EXPECT_TRUE(manager->HookInstalled());
    EXPECT_TRUE(data.Active());
    // Before any window was activated the skin-all only allows skinning.
    EXPECT_TRUE(manager->Running());
    EXPECT_FALSE(manager->TimerActive());
    EXPECT_FALSE(data.SkinControls().Contains(xcMenuItem));
    EXPECT_TRUE(data.SkinControls().Contains(xcSystemMenu));
    EXPECT_EQ(data.AppIcon.size(), QSize(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
    EXPECT_EQ(data.CaptionFont.Name(), QStringLiteral("Tahoma"));

    // Without the main menu kind, the system menu kind goes.
    TSkinData other(nullptr);
    TSkinControlTypes types = other.SkinControls();
    types.Exclude(xcMainMenu);
    types.Include(xcMenuItem);
    other.SetSkinControls(types);
    other.Loaded();
    EXPECT_TRUE(other.SkinControls().Contains(xcMenuItem));
    EXPECT_FALSE(other.SkinControls().Contains(xcSystemMenu));

    // A component that has read no skin turns Active off at Loaded.
    TSkinData empty(nullptr);
    empty.SetActive(true);
    EXPECT_TRUE(empty.Active());
    empty.Loaded();
    EXPECT_FALSE(empty.Active());

    // Other form types switch the running flag on and count up the skin-on state.
    TSkinData dialog(nullptr);
    dialog.SetSkinFormtype(sfDialog);
    manager->SetRunning(false);
    dialog.Loaded();
    EXPECT_TRUE(manager->Running());
    EXPECT_EQ(manager->SkinOnState(), 1);
    EXPECT_EQ(manager->CurrentSkinData(), &data);
    EXPECT_EQ(manager->SkinDataList().size(), 4u);
}

TEST_F(SkinData, ActiveSchedulesOnlyTheLastRequest)
{
    TSkinData data(nullptr);
    LoadProperty(data, DefaultSkinArchive());
    data.Loaded();
    TSkinManage* manager = SkinManager();
    int changed = 0;
    data.OnSkinChanged = [&](TComponent* sender) {
        EXPECT_EQ(sender, &data);
        ++changed;
    };

    // Setting Active to its own value schedules nothing.
    data.SetActive(false);
    EXPECT_FALSE(manager->TimerActive());
    EXPECT_EQ(manager->PendingSkinData(), nullptr);

    // Before skinning began: True only switches the running flag, and the state becomes 1.
    data.SetActive(true);
    EXPECT_FALSE(manager->TimerActive());
    EXPECT_EQ(manager->SkinOnState(), 1);
    // Now False then True within 250 ms: one tick, carrying out the last request.
    data.SetActive(false);
    EXPECT_TRUE(manager->TimerActive());
    EXPECT_EQ(manager->TimerInterval(), 250);
    EXPECT_EQ(manager->PendingAction(), TSkinManage::saUnskinAll);
    data.SetActive(true);
    EXPECT_EQ(manager->PendingAction(), TSkinManage::saSkinAll);
    manager->SetRunning(false);
    QTest::qWait(400);
    EXPECT_FALSE(manager->TimerActive());
    EXPECT_TRUE(manager->Running());
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(manager->PendingSkinData(), nullptr);

    // Active := False after skinning began clears the running flag at the tick.
    data.SetActive(false);
    manager->TimerTick();
    EXPECT_FALSE(manager->Running());
    EXPECT_EQ(changed, 2);

    // A skin-file load reskins once skinning has begun.
    data.SetSkinFile(BinDir() + QStringLiteral("/skiny/grafit.skn"));
    EXPECT_TRUE(manager->TimerActive());
    EXPECT_EQ(manager->PendingAction(), TSkinManage::saReskin);
    EXPECT_EQ(manager->PendingSkinData(), &data);
    manager->TimerTick();
    EXPECT_EQ(changed, 3);
}

TEST_F(SkinData, OnlyThisFormAndDialogScheduling)
{
    TSkinData data(nullptr);
    data.SetSkinFormtype(sfOnlyThisForm);
    data.Loaded();
    TSkinManage* manager = SkinManager();
    ASSERT_EQ(manager->SkinOnState(), 1);
    // No skin: True makes it pending but schedules nothing; False schedules unskin.
    data.SetActive(true);
    EXPECT_EQ(manager->PendingSkinData(), &data);
    EXPECT_FALSE(manager->TimerActive());
    data.SetActive(false);
    EXPECT_TRUE(manager->TimerActive());
    EXPECT_EQ(manager->PendingAction(), TSkinManage::saUnskinAll);
    manager->TimerTick();
    LoadProperty(data, DefaultSkinArchive());
    data.SetActive(true);
    EXPECT_EQ(manager->PendingAction(), TSkinManage::saSkinAll);
    EXPECT_TRUE(manager->TimerActive());
    manager->TimerTick();

    TSkinData dialog(nullptr);
    dialog.SetSkinFormtype(sfDialog);
    LoadProperty(dialog, DefaultSkinArchive());
    dialog.Loaded();
    dialog.SetActive(true);
    EXPECT_FALSE(manager->TimerActive());
    EXPECT_EQ(manager->PendingSkinData(), nullptr);
}

TEST_F(SkinData, FormSkinQuestion)
{
    TSkinData data(nullptr);
    bool doSkin = true;
    data.DoFormSkin(nullptr, QStringLiteral("SysMonthCal32"), doSkin);
    EXPECT_FALSE(doSkin);
    doSkin = true;
    data.DoFormSkin(nullptr, QStringLiteral("TfrPreviewForm"), doSkin);
    EXPECT_TRUE(doSkin);
    TSkinControlTypes types = data.SkinControls();
    types.Include(xcFastReport);
    data.SetSkinControls(types);
    data.DoFormSkin(nullptr, QStringLiteral("TfrPreviewForm"), doSkin);
    EXPECT_FALSE(doSkin);
    doSkin = true;
    data.DoFormSkin(nullptr, QStringLiteral("TFrmMain"), doSkin);
    EXPECT_TRUE(doSkin);

    // A handler alone decides, and learns the class name.
    QString asked;
    data.OnFormSkin = [&](TObject* sender, const QString& aName, bool& skin) {
        EXPECT_EQ(sender, &data);
        asked = aName;
        skin = true;
    };
    QWidget window;
    doSkin = false;
    data.DoFormSkin(&window, QStringLiteral("SysMonthCal32"), doSkin);
    EXPECT_TRUE(doSkin);
    EXPECT_EQ(asked, QStringLiteral("SysMonthCal32"));
    EXPECT_EQ(data.LastFormSkinWindow(), &window);
}

TEST_F(SkinData, TextHelpers)
{
    const char16_t text[] = u"Skin\0rest";
    EXPECT_EQ(WideCopy(text, -1), QStringLiteral("Skin"));
    EXPECT_EQ(WideCopy(text, 2), QStringLiteral("Sk"));
    EXPECT_EQ(WideCopy(nullptr, -1), QString());
    EXPECT_EQ(AnsiToWide(QByteArray("\x8A\xE8", 2)), QString::fromUtf8("Šč"));

    QImage img(80, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas canvas;
    canvas.BindImage(&img);
    TRect r(0, 0, 80, 20);
    const int height = SkinDrawText(&canvas, QString::fromUtf8("Žluť"), r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_GT(height, 0);
    EXPECT_GT(r.Width(), 0);
    EXPECT_EQ(SkinDrawText(nullptr, QStringLiteral("x"), r, 0), 0);
}
