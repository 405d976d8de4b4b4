#include "test_support.h"

#include <QApplication>

#include "classlib/forms/application.h"
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <unistd.h>
#include <algorithm>
#include <memory>
#include <vector>

Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace TestSupport {

void InitApplication(QApplication* app)
{
    Q_UNUSED(app);
    TApplication::InitializeExisting();
}

void FinishApplication() { TApplication::Finalize(); }

QString TestDataDir() { return QStringLiteral(TV_TESTDATA_DIR); }
QString BinDir() { return QStringLiteral(TV_BIN_DIR); }
QString SourceDir() { return QStringLiteral(TV_SOURCE_DIR); }

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString MakeTempDir()
{
    static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    dirs.push_back(std::make_unique<QTemporaryDir>());
    return dirs.back()->path();
}

TFullDisk::TFullDisk(const QString& dir) : FDir(dir)
{
    QDir().mkpath(dir);
    if (qEnvironmentVariableIsEmpty("TV_TEST_NO_MOUNT"))
        FMounted = mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, "size=64k") == 0;
}

TFullDisk::~TFullDisk()
{
    Release();
    if (FMounted)
        umount2(QFile::encodeName(FDir).constData(), MNT_DETACH);
}

void TFullDisk::Fill()
{
    if (FFull)
        return;
    FFull = true;
    if (FMounted) {
        const QByteArray filler = QFile::encodeName(FDir + QStringLiteral("/.zaplneno"));
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const QByteArray block(4096, 'x');
        while (fd >= 0 && ::write(fd, block.constData(), block.size()) > 0) {
        }
        // The last blocks may be smaller than a page.
        while (fd >= 0 && ::write(fd, block.constData(), 1) > 0) {
        }
        if (fd >= 0)
            ::close(fd);
        return;
    }
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    FSavedLimit = limit.rlim_cur;
    FSavedHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &limit);
}

void TFullDisk::Release()
{
    if (!FFull)
        return;
    FFull = false;
    if (FMounted) {
        QFile::remove(FDir + QStringLiteral("/.zaplneno"));
        return;
    }
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = FSavedLimit;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, FSavedHandler);
}

QString TFullDisk::Reason() const
{
    return FMounted ? QStringLiteral("na disku není dost místa") : QStringLiteral("soubor je příliš velký");
}

TReadDenied::TReadDenied(const QString& file) : FFile(file)
{
    struct stat st {};
    ::stat(QFile::encodeName(file).constData(), &st);
    FSavedMode = static_cast<int>(st.st_mode & 07777);
    ::chmod(QFile::encodeName(file).constData(), 0);
    // The file, not its folder, refuses: the folder may be looked into as a user's own may.
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    ::stat(folder.constData(), &st);
    FSavedFolderMode = static_cast<int>(st.st_mode & 07777);
    ::chmod(folder.constData(), static_cast<mode_t>(FSavedFolderMode | 0555));
    if (geteuid() == 0)
        FSavedFsUid = setfsuid(65534); // per thread: the rest of the process stays root
}

TReadDenied::~TReadDenied()
{
    if (FSavedFsUid >= 0)
        setfsuid(static_cast<uid_t>(FSavedFsUid));
    ::chmod(QFile::encodeName(FFile).constData(), static_cast<mode_t>(FSavedMode));
    ::chmod(QFile::encodeName(QFileInfo(FFile).absolutePath()).constData(), static_cast<mode_t>(FSavedFolderMode));
}

namespace {
void Send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, mods);
    QCoreApplication::sendEvent(w, &e);
}
} // namespace

void MousePress(QWidget* w, QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    Send(w, QEvent::MouseButtonPress, pos, button, button, mods);
}

void MouseRelease(QWidget* w, QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    Send(w, QEvent::MouseButtonRelease, pos, button, Qt::NoButton, mods);
}

void MouseMove(QWidget* w, QPoint pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    Send(w, QEvent::MouseMove, pos, Qt::NoButton, buttons, mods);
}

void MouseClick(QWidget* w, QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    MousePress(w, pos, button, mods);
    MouseRelease(w, pos, button, mods);
}

void MouseDoubleClick(QWidget* w, QPoint pos)
{
    MousePress(w, pos);
    MouseRelease(w, pos);
    Send(w, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton, {});
    MouseRelease(w, pos);
}

namespace {
// One clock for every simulated pointer, well past the stamps of earlier input.
int gMouseClock = 1000000;
} // namespace

void TSystemMouse::Send(QWidget* w, QPoint pos, int type, Qt::MouseButton button, int gapMs)
{
    QWindow* window = w->window()->windowHandle();
    if (!window)
        return;
    gMouseClock += std::max(1, gapMs);
    const QPoint global = w->mapToGlobal(pos);
    qt_handleMouseEvent(window, QPointF(window->mapFromGlobal(global)), QPointF(global), FButtons, button,
                        static_cast<QEvent::Type>(type), Qt::NoModifier, gMouseClock);
    QCoreApplication::processEvents();
}

void TSystemMouse::Press(QWidget* w, QPoint pos, int gapMs, Qt::MouseButton button)
{
    FButtons |= button;
    Send(w, pos, QEvent::MouseButtonPress, button, gapMs);
}

void TSystemMouse::Release(QWidget* w, QPoint pos, int gapMs, Qt::MouseButton button)
{
    FButtons &= ~Qt::MouseButtons(button);
    Send(w, pos, QEvent::MouseButtonRelease, button, gapMs);
}

void TSystemMouse::Move(QWidget* w, QPoint pos, int gapMs) { Send(w, pos, QEvent::MouseMove, Qt::NoButton, gapMs); }

void TSystemMouse::Click(QWidget* w, QPoint pos, int gapMs, Qt::MouseButton button)
{
    Press(w, pos, gapMs, button);
    Release(w, pos, 20, button);
}

} // namespace TestSupport
