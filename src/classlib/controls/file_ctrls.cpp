#include "classlib/controls/file_ctrls.h"

#include "platform/window_proc.h"

#include <QCollator>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
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
// Windows-1250, the program's own Central European code page, from 0x80 up.
const char16_t kCp1250High[128] = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021,
    0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// A name as the file system stores it: UTF-8 when it is valid UTF-8,
// else bytes of the old Central European code page.
QString DecodeFileName(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString name = utf8.decode(bytes);
    if (!utf8.hasError())
        return name;
    name.clear();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        name += b < 0x80 ? QChar(b) : QChar(kCp1250High[b - 0x80]);
    }
    return name;
}

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
