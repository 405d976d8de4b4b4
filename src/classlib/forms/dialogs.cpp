#include "classlib/forms/dialogs.h"

#include "classlib/printers.h"
#include "classlib/sysutils.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QGridLayout>
#include <QLabel>
#include <QImageReader>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <climits>
#include <cstdlib>

std::function<bool(TCommonDialog*)> TCommonDialog::ExecuteHook;
std::function<QString(const QString&, const QString&)> SelectDirectoryHook;

namespace {
QLocale Czech() { return QLocale(QLocale::Czech, QLocale::CzechRepublic); }

// Qt's file dialog lists sizes and dates as the system's locale writes them
// and calls a folder "Folder" whatever the language: the list passes through
// this model, which gives them in Czech.
class TCzechFileList : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override
    {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        switch (index.column()) {
        case 1: // size
            if (!files->isDir(source))
                return Czech().formattedDataSize(files->size(source));
            break;
        case 2: // kind
            if (files->isDir(source))
                return QStringLiteral("Složka");
            break;
        case 3: // date of change
            return Czech().toString(files->lastModified(source), QLocale::ShortFormat);
        default:
            break;
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// Czech for the time a Qt dialog runs: the kinds of files are named in the
// default locale's language.
class TCzechDialog {
public:
    explicit TCzechDialog(QWidget& dialog) : FOld(QLocale())
    {
        QLocale::setDefault(Czech());
        dialog.setLocale(Czech());
    }
    ~TCzechDialog() { QLocale::setDefault(FOld); }
    TCzechDialog(const TCzechDialog&) = delete;
    TCzechDialog& operator=(const TCzechDialog&) = delete;

private:
    QLocale FOld;
};

void SpeakCzech(QFileDialog& dialog) { dialog.setProxyModel(new TCzechFileList(&dialog)); }
} // namespace

QStringList TOpenDialog::NameFilters() const
{
    QStringList out;
    const QStringList parts = Filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString masks = parts[i + 1];
        masks.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString desc = parts[i];
        // Qt shows the masks itself when they are not in the description.
        out << QStringLiteral("%1 (%2)").arg(desc, masks);
    }
    return out;
}

bool TOpenDialog::Execute()
{
    if (ExecuteHook)
        return ExecuteHook(this);
    QFileDialog dlg(QApplication::activeWindow(), Title);
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    const TCzechDialog czech(dlg);
    SpeakCzech(dlg);
    dlg.setAcceptMode(IsSave() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(IsSave() ? QFileDialog::AnyFile : ((Options & ofAllowMultiSelect) ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile));
    if (IsSave() && !(Options & ofOverwritePrompt))
        dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = NameFilters();
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        if (FilterIndex >= 1 && FilterIndex <= filters.size())
            dlg.selectNameFilter(filters[FilterIndex - 1]);
    }
    QString ext = DefaultExt;
    ext.remove(QLatin1String("*."));
    ext.remove(QLatin1Char('.'));
    if (!ext.isEmpty())
        dlg.setDefaultSuffix(ext);
    const QString dir = !FileName.isEmpty() ? ExtractFileDir(FileName) : InitialDir;
    if (!dir.isEmpty())
        dlg.setDirectory(ResolvePathCase(dir));
    if (!FileName.isEmpty())
        dlg.selectFile(ExtractFileName(FileName));
    QLabel* preview = nullptr;
    if (HasPreview()) {
        // A preview column to the right of the file list.
        if (auto* grid = qobject_cast<QGridLayout*>(dlg.layout())) {
            preview = new QLabel(&dlg);
            preview->setFixedSize(160, 160);
            preview->setAlignment(Qt::AlignCenter);
            preview->setFrameShape(QFrame::StyledPanel);
            grid->addWidget(preview, 1, grid->columnCount(), grid->rowCount() - 1, 1);
            QObject::connect(&dlg, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
                QImageReader reader(path);
                reader.setAutoTransform(true);
                const QImage img = reader.read();
                preview->setPixmap(img.isNull() ? QPixmap() : QPixmap::fromImage(img.scaled(156, 156, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
            });
        }
    }
    if (dlg.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dlg.selectedFiles();
    if (chosen.isEmpty())
        return false;
    FileName = chosen.first();
    Files.SetFromQStringList(chosen);
    FilterIndex = std::max(1, static_cast<int>(filters.indexOf(dlg.selectedNameFilter())) + 1);
    return true;
}

bool TColorDialog::Execute()
{
    if (ExecuteHook)
        return ExecuteHook(this);
    QColorDialog dlg(ToQColor(Color), QApplication::activeWindow());
    dlg.setOption(QColorDialog::DontUseNativeDialog, true);
    if (!Title.isEmpty())
        dlg.setWindowTitle(Title);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    Color = FromQColor(dlg.selectedColor());
    return true;
}

namespace {
// The size the font dialog shows, in whole points: the font's own size, or
// for a cell height the size of the face it draws with.
int ShownPointSize(const TFont& font, const QFont& drawn)
{
    if (font.Size() > 0)
        return font.Size();
    const int pixels = QFontInfo(drawn).pixelSize();
    return std::max(1, MulDiv(pixels, 72, 96));
}

// The family's own name of the style that is bold and italic as asked
// ("Bold", "Italic"...). The dialog matches the style by name, and the name
// Qt makes from a weight is translated ("Tučné"), so it would match none of
// the family's styles and fall on the first one listed.
QString FamilyStyleName(const QString& family, bool bold, bool italic)
{
    QString best;
    int bestDistance = INT_MAX;
    const int wanted = bold ? QFont::Bold : QFont::Normal;
    for (const QString& style : QFontDatabase::styles(family)) {
        if (QFontDatabase::italic(family, style) != italic)
            continue;
        const int weight = QFontDatabase::weight(family, style);
        if ((weight >= QFont::DemiBold) != bold)
            continue;
        const int distance = std::abs(weight - wanted);
        if (distance < bestDistance) {
            best = style;
            bestDistance = distance;
        }
    }
    return best;
}
} // namespace

bool TFontDialog::Execute()
{
    if (ExecuteHook)
        return ExecuteHook(this);
    // The dialog lists only the faces fontconfig has. A stored face that is
    // drawn with a substitute ("Arial" as Liberation Sans) opens on that
    // substitute and keeps its own name unless another face is picked; the
    // size likewise keeps its exact height unless another size is picked.
    const QFont drawn = FFont.ToQFont();
    const QString shownFamily = QFontInfo(drawn).family();
    const int shownSize = ShownPointSize(FFont, drawn);
    QFont shown(shownFamily);
    shown.setPointSize(shownSize);
    shown.setBold(FFont.HasStyle(fsBold));
    shown.setItalic(FFont.HasStyle(fsItalic));
    shown.setUnderline(FFont.HasStyle(fsUnderline));
    shown.setStrikeOut(FFont.HasStyle(fsStrikeOut));
    shown.setStyleName(FamilyStyleName(shownFamily, shown.bold(), shown.italic()));
    QFontDialog dlg(shown, QApplication::activeWindow());
    dlg.setOption(QFontDialog::DontUseNativeDialog, true);
    if (!Title.isEmpty())
        dlg.setWindowTitle(Title);
    // A face without the stored style (no italic file on this machine) opens
    // on one of the styles it has; unless another style is picked, the
    // stored one stays.
    const QFont opened = dlg.currentFont();
    if (dlg.exec() != QDialog::Accepted)
        return false;
    const QFont f = dlg.selectedFont();
    const bool styleKept = f.family() == opened.family() && f.styleName() == opened.styleName() &&
                           f.bold() == opened.bold() && f.italic() == opened.italic();
    if (f.family() != shownFamily)
        FFont.SetName(f.family());
    // Point sizes at the program's 96 pixels per inch.
    if (f.pointSize() > 0) {
        if (f.pointSize() != shownSize)
            FFont.SetSize(f.pointSize());
    } else if (f.pixelSize() > 0) {
        FFont.SetHeight(-f.pixelSize());
    }
    TFontStyles st = 0;
    if (styleKept ? FFont.HasStyle(fsBold) : f.bold())
        st |= FontStyleBit(fsBold);
    if (styleKept ? FFont.HasStyle(fsItalic) : f.italic())
        st |= FontStyleBit(fsItalic);
    if (f.underline())
        st |= FontStyleBit(fsUnderline);
    if (f.strikeOut())
        st |= FontStyleBit(fsStrikeOut);
    FFont.SetStyle(st);
    return true;
}

bool TPrintDialog::Execute()
{
    if (ExecuteHook)
        return ExecuteHook(this);
    // A printer device without a Qt printer still gets the dialog for its copies.
    QPrinter scratch;
    QPrinter* printer = Printer()->Device()->QtPrinter();
    if (!printer)
        printer = &scratch;
    printer->setCopyCount(std::max(1, Copies));
    QPrintDialog dlg(printer, QApplication::activeWindow());
    if (!Title.isEmpty())
        dlg.setWindowTitle(Title);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    Copies = printer->copyCount();
    return true;
}

QString SelectDirectory(const QString& caption, const QString& start)
{
    if (SelectDirectoryHook)
        return SelectDirectoryHook(caption, start);
    QFileDialog dlg(QApplication::activeWindow(), caption, start);
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    const TCzechDialog czech(dlg);
    SpeakCzech(dlg);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().first();
}
