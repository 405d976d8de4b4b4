#include "classlib/controls/file_ctrls.h"

#include "platform/window_proc.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>
#include <algorithm>

void SortFileNames(QStringList& names)
{
    QCollator collator(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
}

namespace {
// The name filters of a mask; "*.*" (any name, with or without a dot) is "*".
QStringList NameFilters(const QString& mask)
{
    QStringList out;
    for (QString m : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        m = m.trimmed();
        if (m == QLatin1String("*.*"))
            m = QStringLiteral("*");
        if (!m.isEmpty())
            out << m;
    }
    if (out.isEmpty())
        out << QStringLiteral("*");
    return out;
}

QStringList Entries(const QString& dir, QDir::Filters kind, const QStringList& filters = {})
{
    QDir d(dir);
    if (!filters.isEmpty())
        d.setNameFilters(filters);
    // Without QDir::CaseSensitive the masks match in any case, as on the disc's own system.
    QStringList names = d.entryList(kind | QDir::NoDotAndDotDot, QDir::NoSort);
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
        for (const QString& name : Entries(FDirectory, QDir::Files, NameFilters(FMask)))
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
    for (const QString& name : Entries(FDirectory, QDir::Dirs))
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
    FModel = new QFileSystemModel(tree);
    FModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    FModel->setRootPath(QDir::rootPath());
    tree->setModel(FModel);
    // The root itself is the top item, as a drive is in a shell tree.
    tree->setRootIndex(FModel->index(QDir::rootPath()).parent());
    for (int c = 1; c < FModel->columnCount(); ++c)
        tree->hideColumn(c);
    tree->header()->hide();
    QObject::connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, tree,
                     [this](const QModelIndex& current, const QModelIndex&) {
                         if (!FSyncing && current.isValid())
                             PathChosen(FModel->filePath(current));
                     });
    return tree;
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
