// The real program started without a screen with skinning on: each window it
// activates gets its skinned form once, and switching the skin off takes the
// skinned forms away again; under an X server, how its windows reach the
// screen. In the test's own process: every window of the program, skinned,
// sitting idle.

#include "catalogue/cd_database.h"
#include "catalogue/cd_database_form.h"
#include "classlib/forms/message_box.h"
#include "designer/forms/frm_edit_sablona.h"
#include "designer/forms/frm_edit_sablona_box.h"
#include "designer/forms/frm_export.h"
#include "designer/forms/frm_ins_dir.h"
#include "designer/forms/frm_ins_files.h"
#include "designer/forms/frm_ins_text.h"
#include "designer/forms/frm_invisible.h"
#include "designer/forms/frm_korekce.h"
#include "designer/forms/frm_nastav_objekt.h"
#include "designer/forms/frm_new.h"
#include "designer/forms/frm_o_programu.h"
#include "designer/forms/frm_progress.h"
#include "designer/forms/frm_roz_obr.h"
#include "designer/forms/frm_skin_chooser.h"
#include "designer/forms/frm_srafovani.h"
#include "designer/forms/frm_start.h"
#include "designer/forms/frm_vlastnosti_img.h"
#include "designer/main/frm_main.h"
#include "skin/form/skin_manager.h"
#include "classlib/controls/std_controls.h"
#include "classlib/streaming/component_stream.h"
#include "skin/skin_data.h"
#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QSet>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <map>
#include <memory>
#include <optional>
#include <vector>
#include <gtest/gtest.h>

namespace {
QString RunSkinned(const QStringList& args, int quitAfterMs, int skinOffAfterMs, QByteArray skinFile = {})
{
    if (skinFile.isEmpty())
        skinFile = (TestSupport::BinDir() + "/skiny/mxskin20.skn").toUtf8();
    const QString config = TestSupport::MakeTempDir();
    QDir().mkpath(config + "/tessavik");
    {
        QFile ini(config + "/tessavik/velkaro3.ini");
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Setting]\nSkinFileName=" + skinFile + "\nSkinEnabled=1\n");
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TESSAVIK_TRACE", "1");
    env.insert("TESSAVIK_QUIT_AFTER", QString::number(quitAfterMs));
    if (skinOffAfterMs > 0)
        env.insert("TESSAVIK_SKIN_OFF_AFTER", QString::number(skinOffAfterMs));
    env.insert("XDG_CONFIG_HOME", config);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(TestSupport::MakeTempDir());
    p.start(TestSupport::BinDir() + "/tessavik", args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
    }
    EXPECT_EQ(p.exitCode(), 0);
    return QString::fromUtf8(p.readAllStandardError());
}

QString EmptyProject()
{
    const QString file = TestSupport::MakeTempDir() + "/prazdny.tvk";
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    return file;
}

// A design with no objects on the disc template of the first label sheet
// ("Disk 117/41 mm"), so that it can be printed.
QString TemplatedProject()
{
    const QString file = TestSupport::MakeTempDir() + "/prazdny.tvk"; // the name the helper looks for
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    const std::pair<const char*, const char*> params[] = {
        {"Verze", "1"}, {"Okraj", "117"}, {"Stred", "41"},   {"Left", "46"},   {"Top", "15"},
        {"Left2", "0"}, {"Top2", "0"},    {"Width2", "0"},   {"Height2", "0"}, {"isKrab", ""},
        {"Sirka", ""},  {"Typ", "0"},     {"sNazevSablony", "Disk 117/41 mm"}};
    for (const auto& [name, caption] : params) {
        TCheckBox param(nullptr);
        param.SetTag(5);
        param.SetName(QString::fromLatin1(name));
        param.SetCaption(QString::fromUtf8(caption));
        WriteComponentRecord(f, &param);
    }
    return file;
}
} // namespace

TEST(SkinnedProgram, EachActivatedWindowIsSkinnedOnceAndNoneAfterSwitchingOff)
{
    // Without a file the start window is the first one shown and activated
    // (the main window shows only when it closes, here at the end).
    const QString start = RunSkinned({}, 2000, 0);
    EXPECT_EQ(start.count("skinned FrmStart\n"), 1) << start.toStdString();
    EXPECT_EQ(start.section("quit\n", 0, 0).count("skinned "), 1) << start.toStdString();
    EXPECT_LE(start.count("skinned FrmMain\n"), 1) << start.toStdString();

    // With a file the main window is; it stays skinned to the end.
    const QString main = RunSkinned({EmptyProject()}, 2000, 0);
    EXPECT_EQ(main.count("skinned FrmMain\n"), 1) << main.toStdString();
    EXPECT_EQ(main.count("skinned "), 1) << main.toStdString();
    EXPECT_TRUE(main.contains("skinforms 1\n")) << main.toStdString();

    // Switched off on the way: no window is skinned at the end.
    const QString off = RunSkinned({EmptyProject()}, 2500, 1200);
    EXPECT_EQ(off.count("skinned FrmMain\n"), 1) << off.toStdString();
    EXPECT_TRUE(off.contains("skin off\n")) << off.toStdString();
    EXPECT_TRUE(off.contains("skinforms 0\n")) << off.toStdString();
}

TEST(SkinnedProgram, NoWindowOfTheProgramPaintsWhileItSitsIdle)
{
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QString config = TestSupport::MakeTempDir();
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    TCDDatabase::SetDefaultFolder(TestSupport::MakeTempDir());
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
    QDir().mkpath(config + "/tessavik");
    {
        QFile ini(config + "/tessavik/velkaro3.ini");
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Setting]\nSkinFileName=" + (TestSupport::BinDir() + "/skiny/zelena.skn").toUtf8() +
                  "\nSkinEnabled=1\n");
    }
    {
        // Every window the program makes, each shown.
        TFrmMain main(nullptr);
        main.DoCreate();
        main.FirstShow = false;
        main.Show();
        std::vector<std::unique_ptr<TForm>> windows;
        windows.emplace_back(new TFrmInsText(nullptr));
        windows.emplace_back(new TFrmNew(nullptr));
        windows.emplace_back(new TFrmNastavObjekt(nullptr));
        windows.emplace_back(new TFrmSrafovani(nullptr));
        windows.emplace_back(new TFrmVlastnostiIMG(nullptr));
        windows.emplace_back(new TFrmProgress(nullptr));
        windows.emplace_back(new TFrmInsDir(nullptr));
        windows.emplace_back(new TFrmKorekce(nullptr));
        windows.emplace_back(new TFrmRozObr(nullptr));
        windows.emplace_back(new TFrmEditSablona(nullptr));
        windows.emplace_back(new TFrmStart(nullptr));
        windows.emplace_back(new TFrmOProgramu(nullptr));
        windows.emplace_back(new TFrmInvisible(nullptr));
        windows.emplace_back(new TFrmExport(nullptr));
        windows.emplace_back(new TFrmInsFiles(nullptr));
        windows.emplace_back(new TForm21(nullptr));
        windows.emplace_back(new TCDDatabaseForm(nullptr));
        windows.emplace_back(new TFrmEditSablonaBox(nullptr));
        for (const auto& w : windows)
            w->Show();
        QTest::qWait(800);
        ASSERT_TRUE(SkinManager());
        std::map<QWidget*, QString> names{{main.Window(), main.Name()}};
        for (const auto& w : windows) {
            names[w->Window()] = w->Name();
            EXPECT_TRUE(SkinManager()->FindForm(w->Window())) << w->Name().toStdString() << " is not skinned";
        }

        // One idle second: not a paint anywhere (the text caret, which
        // blinks in the active window's edit, is held still).
        const int flashTime = QApplication::cursorFlashTime();
        QApplication::setCursorFlashTime(0);
        QTest::qWait(100);
        struct TPaints : QObject {
            std::map<QString, int> Count;
            const std::map<QWidget*, QString>* Names = nullptr;
            bool eventFilter(QObject* o, QEvent* e) override
            {
                if (e->type() == QEvent::Paint && o->isWidgetType()) {
                    const auto it = Names->find(static_cast<QWidget*>(o)->window());
                    ++Count[it == Names->end() ? QStringLiteral("?") : it->second];
                }
                return false;
            }
        } paints;
        paints.Names = &names;
        qApp->installEventFilter(&paints);
        QTest::qWait(1000);
        qApp->removeEventFilter(&paints);
        QApplication::setCursorFlashTime(flashTime);
        for (const auto& [name, count] : paints.Count)
            ADD_FAILURE() << name.toStdString() << " painted " << count << " times while idle";
        for (const auto& w : windows)
            w->Hide();
    }
    FreeSkinManager();
    SetMessageBoxHook(nullptr);
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

namespace {
// A process of the test, ended with the test.
struct TChild {
    QProcess Process;
    ~TChild()
    {
        // Asked first: the X server removes its lock file as it ends.
        if (Process.state() != QProcess::NotRunning) {
            Process.terminate();
            if (!Process.waitForFinished(3000)) {
                Process.kill();
                Process.waitForFinished(3000);
            }
        }
    }
};

QString RunTool(const QProcessEnvironment& env, const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The place and size of the visible window, from xdotool.
std::optional<QRect> WindowRect(const QProcessEnvironment& env, const QString& window)
{
    const QString out = RunTool(env, "xdotool", {"getwindowgeometry", "--shell", window});
    QRect r;
    int found = 0;
    for (const QString& line : out.split('\n')) {
        const int value = line.section('=', 1).toInt();
        found += line.startsWith("X=") || line.startsWith("Y=") || line.startsWith("WIDTH=") || line.startsWith("HEIGHT=");
        if (line.startsWith("X="))
            r.moveLeft(value);
        else if (line.startsWith("Y="))
            r.moveTop(value);
        else if (line.startsWith("WIDTH="))
            r.setWidth(value);
        else if (line.startsWith("HEIGHT="))
            r.setHeight(value);
    }
    return found == 4 ? std::optional<QRect>(r) : std::nullopt;
}

std::optional<QPoint> WindowPos(const QProcessEnvironment& env, const QString& window)
{
    const std::optional<QRect> r = WindowRect(env, window);
    return r ? std::optional<QPoint>(r->topLeft()) : std::nullopt;
}

// A display of its own for a test: an X server, with a window manager when asked.
struct TDisplay {
    TChild Server;
    TChild Wm;
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    QString Xdotool = QStandardPaths::findExecutable("xdotool");

    // Empty when it started, else what is missing.
    QString Start(bool windowManager)
    {
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        const QString openbox = QStandardPaths::findExecutable("openbox");
        if (xvfb.isEmpty() || Xdotool.isEmpty() || (windowManager && openbox.isEmpty()))
            return "needs Xvfb, openbox and xdotool";
        // The server takes a free display itself and names it once it is
        // ready: tests running side by side never pick the same one.
        Server.Process.start(xvfb, {"-displayfd", "1", "-screen", "0", "1280x1024x24"});
        QByteArray number;
        for (int i = 0; i < 100 && !number.contains('\n'); ++i)
            if (Server.Process.waitForReadyRead(50))
                number += Server.Process.readAllStandardOutput();
        bool ok = false;
        const int display = number.trimmed().toInt(&ok);
        if (!ok)
            return "the X server did not start";
        const QString name = QString(":%1").arg(display);
        Env.insert("DISPLAY", name);
        if (windowManager) {
            Wm.Process.setProcessEnvironment(Env);
            Wm.Process.start(openbox, {});
            QThread::msleep(800);
        }
        return {};
    }

    // Starts the program on an empty project with the skin; the id of its
    // main window, empty when it did not appear.
    QString StartProgram(TChild& program, const QString& skin, const QStringList& extraEnv = {},
                         QString project = {})
    {
        const QString config = TestSupport::MakeTempDir();
        QDir().mkpath(config + "/tessavik");
        QFile ini(config + "/tessavik/velkaro3.ini");
        if (!ini.open(QIODevice::WriteOnly))
            return {};
        ini.write("[Setting]\nSkinFileName=" + (TestSupport::BinDir() + "/skiny/" + skin + ".skn").toUtf8() +
                  "\nSkinEnabled=1\n");
        ini.close();
        QProcessEnvironment programEnv = Env;
        programEnv.insert("QT_QPA_PLATFORM", "xcb");
        programEnv.insert("XDG_CONFIG_HOME", config);
        programEnv.insert("TESSAVIK_QUIT_AFTER", "30000");
        for (const QString& pair : extraEnv)
            programEnv.insert(pair.section('=', 0, 0), pair.section('=', 1));
        program.Process.setProcessEnvironment(programEnv);
        program.Process.setWorkingDirectory(TestSupport::MakeTempDir());
        if (project.isEmpty())
            project = EmptyProject();
        program.Process.start(TestSupport::BinDir() + "/tessavik", {project});
        QString window; // a sanitizer build on a busy machine can take many seconds to start
        for (int i = 0; i < 300 && window.isEmpty(); ++i) {
            QThread::msleep(100);
            window = RunTool(Env, Xdotool, {"search", "--onlyvisible", "--name", "prazdny"}).split('\n').first().trimmed();
        }
        return window;
    }
};
} // namespace

TEST(SkinnedProgram, UnderAWindowManagerACaptionDragMovesTheWindowWithThePointerFromThePress)
{
    TDisplay screen;
    if (const QString missing = screen.Start(true); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    const QProcessEnvironment& env = screen.Env;
    const QString& xdotool = screen.Xdotool;
    TChild program;
    const QString window = screen.StartProgram(program, "grafit");
    ASSERT_FALSE(window.isEmpty()) << "the main window did not appear";

    QThread::msleep(1500);
    const std::optional<QPoint> start = WindowPos(env, window);
    ASSERT_TRUE(start);

    // Pressed on the caption and dragged by (50, 30) in small steps: the first
    // steps lie inside the drag rectangle, before the move begins.
    const QPoint press = *start + QPoint(300, 10);
    auto xdo = [&](const QStringList& args) {
        RunTool(env, xdotool, args);
        QThread::msleep(60);
    };
    xdo({"mousemove", QString::number(press.x()), QString::number(press.y())});
    xdo({"mousedown", "1"});
    for (int i = 1; i <= 10; ++i)
        xdo({"mousemove", QString::number(press.x() + 5 * i), QString::number(press.y() + 3 * i)});
    QThread::msleep(400);
    const std::optional<QPoint> during = WindowPos(env, window);
    xdo({"mouseup", "1"});
    QThread::msleep(400);
    const std::optional<QPoint> after = WindowPos(env, window);
    ASSERT_TRUE(during && after);
    EXPECT_EQ(*during - *start, QPoint(50, 30));
    EXPECT_EQ(*after - *start, QPoint(50, 30));

    // A click on the caption still moves nothing.
    const QPoint at = *after + QPoint(300, 10);
    xdo({"mousemove", QString::number(at.x()), QString::number(at.y())});
    xdo({"click", "1"});
    QThread::msleep(400);
    EXPECT_EQ(WindowPos(env, window), after);

    // The window manager took the release of the drag: a double click on the
    // caption still reaches the window and maximizes it.
    RunTool(env, xdotool, {"click", "--repeat", "2", "--delay", "80", "1"});
    QThread::msleep(800);
    EXPECT_EQ(WindowPos(env, window), std::optional<QPoint>(QPoint(0, 0)));
}

TEST(SkinnedProgram, WithoutAWindowManagerAMaximisedWindowStaysMaximisedWhenTheSkinGoesOff)
{
    // Nobody maximises a window with its frame back when no window manager runs.
    TDisplay screen;
    if (const QString missing = screen.Start(false); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    TChild program;
    const QString window = screen.StartProgram(program, "mxskin20", {"TESSAVIK_TRACE=1", "TESSAVIK_SKIN_OFF_AFTER=5000"});
    ASSERT_FALSE(window.isEmpty()) << "the main window did not appear";
    QThread::msleep(800);
    const std::optional<QRect> normal = WindowRect(screen.Env, window);
    ASSERT_TRUE(normal);
    const QPoint caption = normal->topLeft() + QPoint(300, 8);
    RunTool(screen.Env, screen.Xdotool, {"mousemove", QString::number(caption.x()), QString::number(caption.y())});
    RunTool(screen.Env, screen.Xdotool, {"click", "--repeat", "2", "--delay", "80", "1"});
    QThread::msleep(600);
    const QRect whole(0, 0, 1280, 1024);
    ASSERT_EQ(WindowRect(screen.Env, window), std::optional<QRect>(whole)) << "the double click did not maximise";
    QString trace;
    for (int i = 0; i < 100 && !trace.contains("skin off\n"); ++i) {
        program.Process.waitForReadyRead(100);
        trace += QString::fromUtf8(program.Process.readAllStandardError());
    }
    ASSERT_TRUE(trace.contains("skin off\n")) << trace.toStdString();
    QThread::msleep(800);
    EXPECT_EQ(WindowRect(screen.Env, window), std::optional<QRect>(whole));
}

TEST(SkinnedProgram, StartedFromAnotherFolderItFindsItsSkinBesideItself)
{
    auto run = [](const QByteArray& settings) {
        const QString config = TestSupport::MakeTempDir();
        if (!settings.isEmpty()) {
            QDir().mkpath(config + "/tessavik");
            QFile ini(config + "/tessavik/velkaro3.ini");
            EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write(settings);
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TESSAVIK_TRACE", "1");
        env.insert("TESSAVIK_QUIT_AFTER", "2000");
        env.insert("XDG_CONFIG_HOME", config);
        p.setProcessEnvironment(env);
        // A folder with nothing of the program's in it, as "cd ~" gives.
        p.setWorkingDirectory(TestSupport::MakeTempDir());
        p.start(TestSupport::BinDir() + "/tessavik", QStringList());
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished();
        }
        EXPECT_EQ(p.exitCode(), 0);
        return QString::fromUtf8(p.readAllStandardError());
    };
    // No settings: the default skin file beside the program skins the start window.
    const QString fresh = run(QByteArray());
    EXPECT_EQ(fresh.count("skinned FrmStart\n"), 1) << fresh.toStdString();
    EXPECT_FALSE(fresh.contains("message ")) << fresh.toStdString();

    // A name relative to the program's folder.
    const QString relative = run("[Setting]\nSkinFileName=skiny/zelena.skn\nSkinEnabled=1\n");
    EXPECT_EQ(relative.count("skinned FrmStart\n"), 1) << relative.toStdString();
    EXPECT_FALSE(relative.contains("message ")) << relative.toStdString();

    // A file that is not there is named once.
    const QString missing = run("[Setting]\nSkinFileName=/nikde/neni.skn\nSkinEnabled=1\n");
    EXPECT_EQ(missing.count("message "), 1) << missing.toStdString();
    EXPECT_TRUE(missing.contains(QString::fromUtf8("message Soubor vzhledu \"/nikde/neni.skn\" nelze načíst")))
        << missing.toStdString();
}

TEST(SkinnedProgram, ADeviceAsTheSkinFileIsRefusedAndTheStartGoesOn)
{
    // A device never ends: read whole it would hold the start for ever.
    QElapsedTimer clock;
    clock.start();
    const QString out = RunSkinned({EmptyProject()}, 2000, 0, "/dev/zero");
    EXPECT_LT(clock.elapsed(), 20000);
    // The message about the file holds the start until it is answered; the
    // main window shows behind it.
    EXPECT_TRUE(out.contains("quit\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("shown FrmMain")) << out.toStdString();
}

TEST(SkinnedProgram, UnderAWindowManagerAClickOnTheBorderSizesNothingAndADragSizesUntilTheRelease)
{
    TDisplay screen;
    if (const QString missing = screen.Start(true); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    TChild program;
    const QString window = screen.StartProgram(program, "grafit");
    ASSERT_FALSE(window.isEmpty()) << "the main window did not appear";
    QThread::msleep(1500);
    auto xdo = [&](const QStringList& args) {
        RunTool(screen.Env, screen.Xdotool, args);
        QThread::msleep(60);
    };
    auto moveTo = [&](QPoint at) { xdo({"mousemove", QString::number(at.x()), QString::number(at.y())}); };
    auto geometry = [&] { return WindowRect(screen.Env, window).value_or(QRect()); };
    const QRect start = geometry();
    ASSERT_GT(start.width(), 100);
    // The window manager's size, once started, would follow the pointer until the next click.
    const QPoint borders[] = {{start.center().x(), start.bottom()}, {start.right(), start.center().y()},
                              {start.left(), start.center().y()}, {start.right() - 2, start.bottom() - 2}};
    for (const QPoint at : borders) {
        moveTo(at);
        xdo({"click", "1"});
        QThread::msleep(300);
        moveTo(start.center() - QPoint(150, 150));
        QThread::msleep(400);
        EXPECT_EQ(geometry(), start) << at.x() << "," << at.y();
    }

    // Dragged down by 40 in small steps: the bottom follows, and stays where released.
    const QPoint press(start.center().x(), start.bottom());
    moveTo(press);
    xdo({"mousedown", "1"});
    for (int i = 1; i <= 10; ++i)
        moveTo(press + QPoint(0, 4 * i));
    QThread::msleep(400);
    xdo({"mouseup", "1"});
    QThread::msleep(300);
    const QRect sized = geometry();
    moveTo(press + QPoint(0, 120));
    QThread::msleep(400);
    EXPECT_EQ(geometry(), sized);
    EXPECT_EQ(sized.topLeft(), start.topLeft());
    EXPECT_EQ(sized.width(), start.width());
    // The size counts from the press: the drag rectangle's pixels are not lost.
    EXPECT_EQ(sized.height(), start.height() + 40);
}

TEST(SkinnedProgram, UnderAWindowManagerABorderOrCornerDragWithALargeFirstStepSizesByTheWholeWay)
{
    TDisplay screen;
    if (const QString missing = screen.Start(true); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    TChild program;
    const QString window = screen.StartProgram(program, "grafit");
    ASSERT_FALSE(window.isEmpty()) << "the main window did not appear";
    QThread::msleep(1500);
    auto xdo = [&](const QStringList& args) {
        RunTool(screen.Env, screen.Xdotool, args);
        QThread::msleep(60);
    };
    auto moveTo = [&](QPoint at) { xdo({"mousemove", QString::number(at.x()), QString::number(at.y())}); };
    auto geometry = [&] { return WindowRect(screen.Env, window).value_or(QRect()); };
    // Pressed at at, then two steps: half the way at once, then the rest.
    auto drag = [&](QPoint at, QPoint way) {
        moveTo(at);
        xdo({"mousedown", "1"});
        moveTo(at + way / 2);
        QThread::msleep(200);
        moveTo(at + way);
        QThread::msleep(400);
        xdo({"mouseup", "1"});
        QThread::msleep(400);
    };
    const QRect start = geometry();
    ASSERT_GT(start.width(), 200);
    drag(QPoint(start.center().x(), start.bottom()), QPoint(0, 40));
    QRect sized = geometry();
    EXPECT_EQ(sized.topLeft(), start.topLeft());
    EXPECT_EQ(sized.size(), start.size() + QSize(0, 40));

    const QRect before = sized;
    drag(QPoint(before.right() - 1, before.bottom() - 1), QPoint(-20, -30));
    sized = geometry();
    EXPECT_EQ(sized.topLeft(), before.topLeft());
    EXPECT_EQ(sized.size(), before.size() - QSize(20, 30));
}

TEST(SkinnedProgram, WithoutAWindowManagerTheMainWindowIsActiveAgainWhenTheSkinChooserCloses)
{
    TDisplay screen;
    if (const QString missing = screen.Start(false); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    const QString import = QStandardPaths::findExecutable("import");
    if (import.isEmpty())
        GTEST_SKIP() << "needs import";
    TChild program;
    const QString window = screen.StartProgram(program, "zelena");
    ASSERT_FALSE(window.isEmpty()) << "the main window did not appear";
    QThread::msleep(1500);
    const std::optional<QRect> frame = WindowRect(screen.Env, window);
    ASSERT_TRUE(frame);
    const QString shot = TestSupport::MakeTempDir() + "/screen.png";
    // The caption's middle, clear of the title and the buttons.
    auto caption = [&] {
        RunTool(screen.Env, import, {"-window", "root", shot});
        return QImage(shot).copy(frame->left() + frame->width() / 2 - 100, frame->top() + 4, 200, 14);
    };
    auto click = [&](QPoint at) {
        RunTool(screen.Env, screen.Xdotool, {"mousemove", QString::number(at.x()), QString::number(at.y())});
        RunTool(screen.Env, screen.Xdotool, {"click", "1"});
        QThread::msleep(700);
    };
    const QImage active = caption();
    ASSERT_FALSE(active.isNull());
    // Each row of the active caption is made of the colours of that row of the
    // skin's caption strip, its first (active) frame.
    TSkinData skin(nullptr);
    skin.SetSkinFile(TestSupport::BinDir() + "/skiny/zelena.skn");
    ASSERT_TRUE(skin.SkinRead());
    const QImage strip = skin.Top->Image;
    auto drawnActive = [&](const QImage& grab) {
        for (int y = 0; y < grab.height(); ++y) {
            QSet<QRgb> colours;
            for (int x = 0; x < strip.width(); ++x)
                colours.insert(strip.pixel(x, y + 4) & 0xFFFFFF);
            for (int x = 0; x < grab.width(); ++x)
                if (!colours.contains(grab.pixel(x, y) & 0xFFFFFF))
                    return false;
        }
        return true;
    };
    ASSERT_TRUE(drawnActive(active));

    // "Nastavení", then "Vzhled programu": the chooser takes the keyboard.
    click(frame->topLeft() + QPoint(143, 33));
    click(frame->topLeft() + QPoint(181, 86));
    const QString chooser =
        RunTool(screen.Env, screen.Xdotool, {"search", "--onlyvisible", "--name", "Form21"}).split('\n').first().trimmed();
    ASSERT_FALSE(chooser.isEmpty()) << "the skin chooser did not open";
    EXPECT_EQ(RunTool(screen.Env, screen.Xdotool, {"getwindowfocus"}).trimmed().toStdString(), chooser.toStdString());
    EXPECT_FALSE(drawnActive(caption())) << "the main window's caption did not turn inactive";

    // Its OK closes it; the main window has the keyboard and its active caption back.
    const std::optional<QRect> dialog = WindowRect(screen.Env, chooser);
    ASSERT_TRUE(dialog);
    click(dialog->topLeft() + QPoint(56, 404));
    EXPECT_TRUE(RunTool(screen.Env, screen.Xdotool, {"search", "--onlyvisible", "--name", "Form21"}).trimmed().isEmpty());
    EXPECT_EQ(RunTool(screen.Env, screen.Xdotool, {"getwindowfocus"}).trimmed().toStdString(), window.toStdString());
    EXPECT_TRUE(drawnActive(caption())) << "the main window's caption stayed inactive";
}

TEST(SkinnedProgram, UnderAnXServerTheMainWindowAndTheStartWindowReachTheScreenSkinned)
{
    for (const bool windowManager : {false, true}) {
        TDisplay screen;
        if (const QString missing = screen.Start(windowManager); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        // With a file the main window is the first shown; without one the
        // start window, a dialog shown modally from the main window's show.
        for (const bool withFile : {true, false}) {
            const QString config = TestSupport::MakeTempDir();
            QDir().mkpath(config + "/tessavik");
            QFile ini(config + "/tessavik/velkaro3.ini");
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write("[Setting]\nSkinFileName=" + (TestSupport::BinDir() + "/skiny/grafit.skn").toUtf8() +
                      "\nSkinEnabled=1\n");
            ini.close();
            QProcessEnvironment env = screen.Env;
            env.insert("QT_QPA_PLATFORM", "xcb");
            env.insert("XDG_CONFIG_HOME", config);
            env.insert("TESSAVIK_TRACE", "1");
            env.insert("TESSAVIK_QUIT_AFTER", "2500");
            QProcess p;
            p.setProcessEnvironment(env);
            p.setWorkingDirectory(TestSupport::MakeTempDir());
            p.start(TestSupport::BinDir() + "/tessavik", withFile ? QStringList{EmptyProject()} : QStringList());
            if (!p.waitForFinished(30000)) {
                p.kill();
                p.waitForFinished();
            }
            const QString trace = QString::fromUtf8(p.readAllStandardError());
            const QString name = withFile ? "FrmMain" : "FrmStart";
            const std::string where = (windowManager ? "with" : "without") + std::string(" a window manager: ") +
                                      trace.toStdString();
            EXPECT_TRUE(trace.contains("mapped " + name + " frameless\n")) << where;
            EXPECT_TRUE(trace.contains("painted " + name + " skinned\n")) << where;
            EXPECT_FALSE(trace.contains(" framed\n")) << where;
            EXPECT_FALSE(trace.contains(" plain\n")) << where;
        }
    }
}
namespace {
// What the program has written to standard error so far (TESSAVIK_TRACE=1).
struct TTrace {
    TChild& Program;
    QString Text;
    QString Read()
    {
        Program.Process.waitForReadyRead(50);
        Text += QString::fromUtf8(Program.Process.readAllStandardError());
        return Text;
    }
    bool WaitFor(const QString& line, int ms = 8000)
    {
        QElapsedTimer t;
        t.start();
        while (!Read().contains(line) && t.elapsed() < ms)
            QThread::msleep(50);
        return Text.contains(line);
    }
};

// Draws a rectangle on the design surface: the design is changed.
void ChangeTheDesign(const TDisplay& screen, const QString& window)
{
    const std::optional<QRect> frame = WindowRect(screen.Env, window);
    if (!frame)
        return;
    const QPoint from = frame->topLeft() + QPoint(300, 300);
    auto xdo = [&](const QStringList& args) {
        RunTool(screen.Env, screen.Xdotool, args);
        QThread::msleep(80);
    };
    xdo({"key", "alt+r"});
    xdo({"mousemove", QString::number(from.x()), QString::number(from.y())});
    xdo({"mousedown", "1"});
    for (int i = 1; i <= 4; ++i)
        xdo({"mousemove", QString::number(from.x() + 15 * i), QString::number(from.y() + 10 * i)});
    xdo({"mouseup", "1"});
}
} // namespace

// The question about unsaved changes answered with Alt and a button's letter
// as xdotool types it (Alt, the letter, both let go at once): the answer and
// nothing else. The Alt release reaches the main window once the question has
// gone; no menu opens there. "Ne" on closing ends the program, "Ano" on
// Ctrl+N saves and goes on to the template chooser, "Storno" keeps the window
// with the keyboard, where Enter runs no menu item.
TEST(SkinnedProgram, TheQuestionAboutChangesAnsweredWithAltAndALetterOpensNoMenu)
{
    for (const bool windowManager : {false, true}) {
        SCOPED_TRACE(windowManager ? "openbox" : "no window manager");
        TDisplay screen;
        if (const QString missing = screen.Start(windowManager); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        for (const char* letter : {"n", "a", "s"}) {
            SCOPED_TRACE(letter);
            TChild program;
            const QString window = screen.StartProgram(program, "zelena", {"TESSAVIK_TRACE=1"});
            ASSERT_FALSE(window.isEmpty()) << "the main window did not appear";
            TTrace trace{program, {}};
            ASSERT_TRUE(trace.WaitFor("ready FrmMain"));
            QThread::msleep(800);
            ChangeTheDesign(screen, window);
            RunTool(screen.Env, screen.Xdotool, {"key", *letter == 'a' ? "ctrl+n" : "alt+F4"});
            ASSERT_TRUE(trace.WaitFor("message ")) << "no question: " << trace.Text.toStdString();
            QThread::msleep(300);
            const qsizetype asked = trace.Text.size();
            RunTool(screen.Env, screen.Xdotool, {"key", QStringLiteral("alt+") + letter});
            QThread::msleep(1000);
            if (*letter == 'n') {
                EXPECT_TRUE(program.Process.waitForFinished(5000)) << "the program did not end";
                trace.Text += QString::fromUtf8(program.Process.readAllStandardError());
            } else if (*letter == 'a') {
                EXPECT_TRUE(trace.WaitFor("shown FrmNew")) << trace.Text.toStdString();
            } else {
                EXPECT_EQ(program.Process.state(), QProcess::Running);
                EXPECT_EQ(RunTool(screen.Env, screen.Xdotool, {"getwindowfocus"}).trimmed().toStdString(),
                          window.toStdString());
                RunTool(screen.Env, screen.Xdotool, {"key", "Return"});
                QThread::msleep(800);
                trace.Read();
                EXPECT_FALSE(trace.Text.mid(asked).contains("shown FrmNew")) << trace.Text.toStdString();
            }
            EXPECT_FALSE(trace.Text.mid(asked).contains("popup")) << trace.Text.toStdString();
        }
    }
}

// After a print (Qt's print dialog, then the progress window the program
// shows and hides itself) the main window has the keyboard again, its
// caption drawn active, with or without a window manager: Ctrl+S saves
// without a click first.
TEST(SkinnedProgram, AfterAPrintTheMainWindowHasTheKeyboardAgain)
{
    const QString import = QStandardPaths::findExecutable("import");
    if (import.isEmpty())
        GTEST_SKIP() << "needs import";
    TSkinData skin(nullptr);
    skin.SetSkinFile(TestSupport::BinDir() + "/skiny/zelena.skn");
    ASSERT_TRUE(skin.SkinRead());
    const QImage strip = skin.Top->Image;
    for (const bool windowManager : {false, true}) {
        SCOPED_TRACE(windowManager ? "openbox" : "no window manager");
        TDisplay screen;
        if (const QString missing = screen.Start(windowManager); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        TChild program;
        // Qt's print dialog offers a PDF file in the home folder.
        const QString home = TestSupport::MakeTempDir();
        const QString project = TemplatedProject();
        const QString window =
            screen.StartProgram(program, "zelena", {"TESSAVIK_TRACE=1", "HOME=" + home}, project);
        ASSERT_FALSE(window.isEmpty()) << "the main window did not appear";
        TTrace trace{program, {}};
        ASSERT_TRUE(trace.WaitFor("ready FrmMain"));
        QThread::msleep(1000);
        const std::optional<QRect> frame = WindowRect(screen.Env, window);
        ASSERT_TRUE(frame);
        const QString shot = TestSupport::MakeTempDir() + "/screen.png";
        // Each row of the caption's middle made of the colours of that row of
        // the skin's caption strip, its first (active) frame.
        auto captionActive = [&] {
            RunTool(screen.Env, import, {"-window", "root", shot});
            const QImage grab =
                QImage(shot).copy(frame->left() + frame->width() / 2 - 100, frame->top() + 4, 200, 14);
            if (grab.isNull())
                return false;
            for (int y = 0; y < grab.height(); ++y) {
                QSet<QRgb> colours;
                for (int x = 0; x < strip.width(); ++x)
                    colours.insert(strip.pixel(x, y + 4) & 0xFFFFFF);
                for (int x = 0; x < grab.width(); ++x)
                    if (!colours.contains(grab.pixel(x, y) & 0xFFFFFF))
                        return false;
            }
            return true;
        };
        ASSERT_TRUE(captionActive());

        RunTool(screen.Env, screen.Xdotool, {"key", "ctrl+p"});
        ASSERT_TRUE(trace.WaitFor("dialog ")) << trace.Text.toStdString();
        QThread::msleep(800);
        EXPECT_FALSE(captionActive());
        RunTool(screen.Env, screen.Xdotool, {"key", "Return"});
        EXPECT_TRUE(trace.WaitFor("shown FrmProgress")) << trace.Text.toStdString();
        // The page is written, the progress window gone.
        QElapsedTimer printing;
        printing.start();
        while (!QFileInfo::exists(home + "/print.pdf") && printing.elapsed() < 10000)
            QThread::msleep(100);
        EXPECT_TRUE(QFileInfo::exists(home + "/print.pdf"));
        QThread::msleep(1500);
        EXPECT_EQ(RunTool(screen.Env, screen.Xdotool, {"getwindowfocus"}).trimmed().toStdString(), window.toStdString());
        EXPECT_TRUE(captionActive()) << "the main window's caption stayed inactive";
        // Ctrl+S writes the design's file again.
        ASSERT_TRUE(QFile::remove(project));
        RunTool(screen.Env, screen.Xdotool, {"key", "ctrl+s"});
        QThread::msleep(800);
        EXPECT_TRUE(QFileInfo::exists(project)) << "Ctrl+S did not reach the main window";
    }
}
