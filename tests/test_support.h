#pragma once
// Shared helpers of the test programs.
#include <QByteArray>
#include <QString>

class QApplication;
class QWidget;
#include <QPoint>
#include <Qt>

namespace TestSupport {
// Called by the test entry around the whole run.
void InitApplication(QApplication* app);
void FinishApplication();
// Folder of the shared test vectors (LZHUF archives and others).
QString TestDataDir();
// Folder of the built program, which holds the data files beside it.
QString BinDir();
QString SourceDir();
QByteArray ReadFile(const QString& path);
// A fresh empty folder that lives until the test program ends.
QString MakeTempDir();
// A folder where saving fails for want of room. Where the test may mount a
// file system (as root) it is a small tmpfs that Fill() fills to the last
// block, so writes fail with ENOSPC. Elsewhere, or with TV_TEST_NO_MOUNT set,
// the folder is an ordinary one and Fill() sets this process's file-size
// limit to 0 (SIGXFSZ ignored), so writes fail with EFBIG on the same path.
// Files written before Fill() stay readable; Release() (also at the end)
// gives the room back.
class TFullDisk {
public:
    explicit TFullDisk(const QString& dir);
    ~TFullDisk();
    TFullDisk(const TFullDisk&) = delete;
    TFullDisk& operator=(const TFullDisk&) = delete;
    bool Mounted() const { return FMounted; }
    void Fill();
    void Release();
    // The reason, in the program's Czech, that a save gives while full.
    QString Reason() const;

private:
    QString FDir;
    bool FMounted = false;
    bool FFull = false;
    unsigned long long FSavedLimit = 0;
    void (*FSavedHandler)(int) = nullptr;
};

// While it lives, the file may not be read by this thread: its mode is 000,
// and as root (who reads any file regardless) the thread's file-system user
// becomes "nobody", so opening it fails with EACCES as it would for a user.
// Its folder may be looked into meanwhile, so only the file itself refuses.
class TReadDenied {
public:
    explicit TReadDenied(const QString& file);
    ~TReadDenied();
    TReadDenied(const TReadDenied&) = delete;
    TReadDenied& operator=(const TReadDenied&) = delete;

private:
    QString FFile;
    int FSavedMode = 0;
    int FSavedFolderMode = 0;
    int FSavedFsUid = -1;
};

// Mouse input sent straight to a widget (positions in its coordinates), so a
// test does not depend on where the window system thinks the pointer is.
void MousePress(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {});
void MouseRelease(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {});
void MouseMove(QWidget* w, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton, Qt::KeyboardModifiers mods = {});
void MouseClick(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {});
void MouseDoubleClick(QWidget* w, QPoint pos);

// Mouse input as the window system hands it to Qt: through the widget's
// window, stamped with a clock the caller advances, so Qt itself routes it
// (grabs, the widget under the pointer) and makes double clicks from two
// presses close in time.
class TSystemMouse {
public:
    // Each call first moves the clock on by gapMs.
    void Press(QWidget* w, QPoint pos, int gapMs = 20, Qt::MouseButton button = Qt::LeftButton);
    void Release(QWidget* w, QPoint pos, int gapMs = 20, Qt::MouseButton button = Qt::LeftButton);
    void Move(QWidget* w, QPoint pos, int gapMs = 20);
    // Press and release; a second click within the double-click time is a double click.
    void Click(QWidget* w, QPoint pos, int gapMs = 20, Qt::MouseButton button = Qt::LeftButton);

private:
    void Send(QWidget* w, QPoint pos, int type, Qt::MouseButton button, int gapMs);
    Qt::MouseButtons FButtons;
};
} // namespace TestSupport
