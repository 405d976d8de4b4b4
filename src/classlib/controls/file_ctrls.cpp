#include "classlib/controls/file_ctrls.h"

#include "classlib/sysutils.h"
#include "platform/window_proc.h"

#include <QCollator>
#include <QFile>
#include <QRegularExpression>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>
#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

void SortFileNames(QStringList& names)
{
    QCollator collator(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
}

namespace {
// A name as the file system stores it: UTF-8 when it is valid UTF-8,
// else bytes of the old Central European code page.
QString DecodeFileName(const QByteArray& bytes) { return DecodeText(bytes); }

// The patterns of a mask; "*.*" (any name, with or without a dot) is "*".
// Masks match in any case, as on the discs' own systems.
std::vector<QRegularExpression> MaskPatterns(const QString& mask)
{
    std::vector<QRegularExpression> out;
    for (QString m : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        m = m.trimmed();
        if (m == QLatin1String("*.*"))
            m = QStringLiteral("*");
        if (!m.isEmpty())
            out.emplace_back(QRegularExpression::wildcardToRegularExpression(m),
                             QRegularExpression::CaseInsensitiveOption);
    }
    return out;
}

enum class TEntryKind { File, Folder };

// The entries of a folder read byte for byte (Qt leaves out names that are
// no valid UTF-8); dot names are hidden. Links count as what they point to.
QStringList Entries(const QString& dir, TEntryKind kind, const std::vector<QRegularExpression>& patterns = {})
{
    QStringList names;
    DIR* d = opendir(QFile::encodeName(dir).constData());
    if (!d)
        return names;
    const int fd = dirfd(d);
    while (const dirent* e = readdir(d)) {
        if (e->d_name[0] == '.')
            continue;
        struct stat st {};
        if (fstatat(fd, e->d_name, &st, 0) != 0)
            continue;
        if (kind == TEntryKind::File ? !S_ISREG(st.st_mode) : !S_ISDIR(st.st_mode))
            continue;
        const QString name = DecodeFileName(QByteArray(e->d_name));
        if (!patterns.empty() && std::none_of(patterns.begin(), patterns.end(), [&name](const QRegularExpression& p) {
                return p.match(name).hasMatch();
            }))
            continue;
        names << name;
    }
    closedir(d);
    SortFileNames(names);
    return names;
}
} // namespace

// ---------------------------------------------------------------- TFileListBox

TFileListBox::TFileListBox(TComponent* owner) : TListBox(owner) {}

void TFileListBox::SetDirectory(const QString& dir)
{
    FDirectory = dir;
    Update();
}

void TFileListBox::SetMask(const QString& mask)
{
    FMask = mask;
    Update();
}

void TFileListBox::Update()
{
    Items()->BeginUpdate();
    Items()->Clear();
    if (!FDirectory.isEmpty() && QFileInfo(FDirectory).isDir())
        for (const QString& name : Entries(FDirectory, TEntryKind::File, MaskPatterns(FMask)))
            Items()->Add(name);
    Items()->EndUpdate();
}

// ---------------------------------------------------------------- TDirectoryListBox

TDirectoryListBox::TDirectoryListBox(TComponent* owner) : TListBox(owner) {}

void TDirectoryListBox::SetDirectory(const QString& dir)
{
    const QFileInfo info(dir);
    if (dir.isEmpty() || !info.isDir())
        return;
    FDirectory = QDir::cleanPath(info.absoluteFilePath());
    Items()->BeginUpdate();
    Items()->Clear();
    Items()->Add(QDir::rootPath());
    for (const QString& part : FDirectory.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        Items()->Add(part);
    for (const QString& name : Entries(FDirectory, TEntryKind::Folder))
        Items()->Add(name);
    Items()->EndUpdate();
}

// ---------------------------------------------------------------- TShellTreeView

TShellTreeView::TShellTreeView(TComponent* owner) : TWinControl(owner)
{
    FWidth = 200;
    FHeight = 200;
    FTabStop = true;
}

QTreeView* TShellTreeView::Tree() { return static_cast<QTreeView*>(Handle()); }

QWidget* TShellTreeView::CreateWidget(QWidget* parent)
{
    auto* tree = new QTreeView(parent);
    tree->header()->hide();
    return tree;
}

void TShellTreeView::WndProc(TMessage& message)
{
    // The folders are read when the tree is first shown: a window made at
    // start and perhaps never opened does not scan the disk.
    if (message.Msg == WM_SHOWWINDOW && message.WParam && !FModel && HandleAllocated())
        Populate(Tree());
    TWinControl::WndProc(message);
}

void TShellTreeView::Populate(QTreeView* tree)
{
    FModel = new QFileSystemModel(tree);
    FModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    FModel->setRootPath(QDir::rootPath());
    tree->setModel(FModel);
    // The root itself is the top item, as a drive is in a shell tree.
    tree->setRootIndex(FModel->index(QDir::rootPath()).parent());
    for (int c = 1; c < FModel->columnCount(); ++c)
        tree->hideColumn(c);
    QObject::connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, tree,
                     [this](const QModelIndex& current, const QModelIndex&) {
                         if (!FSyncing && current.isValid())
                             PathChosen(FModel->filePath(current));
                     });
    ShowPath();
}

void TShellTreeView::InitWidget()
{
    TWinControl::InitWidget();
    ShowPath();
}

void TShellTreeView::ShowPath()
{
    if (!HandleAllocated() || !FModel || FPath.isEmpty())
        return;
    const QModelIndex index = FModel->index(FPath);
    if (!index.isValid())
        return;
    FSyncing = true;
    Tree()->setCurrentIndex(index);
    Tree()->scrollTo(index);
    FSyncing = false;
}

void TShellTreeView::SetPath(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return;
    FPath = QDir::cleanPath(info.absoluteFilePath());
    ShowPath();
    if (OnChange)
        OnChange(this);
}

void TShellTreeView::PathChosen(const QString& path)
{
    if (path == FPath)
        return;
    FPath = path;
    if (OnChange)
        SafeCall([this] { OnChange(this); });
}
