#pragma once
// Controls over the file system: a list of the files of a folder matching a
// mask, a list of the folder chain and subfolders of a folder, and a tree of
// the folders under the file system's root. Names are listed as the file
// system gives them (bytes that are no UTF-8 read as Windows-1250, the
// program's Central European code page); hidden entries (dot names) are left out.

#include "classlib/controls/control.h"
#include "classlib/controls/ext_controls.h"

class QFileSystemModel;
class QTreeView;

// The files of Directory matching Mask ("*.mp3", several joined by ";";
// "*.*" matches every file), case-insensitively, in the list's sorted order.
class TFileListBox : public TListBox {
public:
    TV_CLASS_NAME(TFileListBox)
    explicit TFileListBox(TComponent* owner);
    const QString& Directory() const { return FDirectory; }
    void SetDirectory(const QString& dir);
    const QString& Mask() const { return FMask; }
    void SetMask(const QString& mask);
    // Reads the folder again.
    void Update();

private:
    QString FDirectory;
    QString FMask = QStringLiteral("*.*");
};

// Line 0 is the root, then one line per folder down to Directory, then the
// subfolders of Directory in sorted order.
class TDirectoryListBox : public TListBox {
public:
    TV_CLASS_NAME(TDirectoryListBox)
    explicit TDirectoryListBox(TComponent* owner);
    const QString& Directory() const { return FDirectory; }
    // A folder that does not exist leaves the list as it is.
    void SetDirectory(const QString& dir);

private:
    QString FDirectory;
};

// The folders under the file system's root as a tree; Path is the chosen one.
// The tree reads the folders when it is first shown.
class TShellTreeView : public TWinControl {
public:
    TV_CLASS_NAME(TShellTreeView)
    explicit TShellTreeView(TComponent* owner);
    const QString& Path() const { return FPath; }
    // Chooses the folder (opening the tree down to it); OnChange follows.
    void SetPath(const QString& path);
    QTreeView* Tree();
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void InitWidget() override;
    void WndProc(TMessage& message) override;

private:
    void Populate(QTreeView* tree);
    void ShowPath();
    void PathChosen(const QString& path);
    QFileSystemModel* FModel = nullptr; // made when the tree is first shown
    QString FPath;
    bool FSyncing = false;
};

// Names sorted as the lists show them: Czech collation, case ignored.
void SortFileNames(QStringList& names);
