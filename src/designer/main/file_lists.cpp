// Inserting the list of the files of a chosen folder, or of chosen folders,
// as one text object.

#include "designer/main/frm_main.h"

#include "classlib/controls/file_ctrls.h"
#include "designer/forms/frm_ins_dir.h"
#include "designer/forms/frm_ins_files.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace {
constexpr int BIF_RETURNONLYFSDIRS = 1;

// Centres the browser on the work area, at its own size.
void CentreOnWorkArea(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    window->move((area.width() - frame.width()) / 2, (area.height() - frame.height()) / 2);
}
} // namespace

void TFrmMain::CreateFileListControls()
{
    FileListBox = Named(new TFileListBox(this), "FileListBox");
    FileListBox->SetParent(PanelStyl);
    FileListBox->SetVisible(false);
    FileMemo = Named(new TMemo(this), "FileMemo");
    FileMemo->SetParent(PanelStyl);
    FileMemo->SetVisible(false);
    FileMemo->SetWordWrap(false);
    upr1->OnClick = [this](TComponent* s) { upr1Click(s); };
    upr2->OnClick = [this](TComponent* s) { upr2Click(s); };
}

void TFrmMain::BrowseForFolder(const QString& title, int flags, QString& path)
{
    path.clear();
    if (SelectDirectoryHook) {
        path = SelectDirectoryHook(title, QString());
        return;
    }
    QFileDialog dialog(Window(), title);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, (flags & BIF_RETURNONLYFSDIRS) != 0);
    dialog.setDirectory(QDir::rootPath());
    dialog.adjustSize();
    CentreOnWorkArea(&dialog);
    // Once shown its frame is known: centred again at its real size.
    QTimer::singleShot(0, &dialog, [&dialog] { CentreOnWorkArea(&dialog); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    path = dialog.selectedFiles().constFirst();
}

void TFrmMain::StripFileExtensions(TMemo* memo)
{
    QStringList lines = memo->Lines()->ToQStringList();
    for (QString& line : lines) {
        // Four characters, a pair of surrogates counting as one.
        int keep = static_cast<int>(line.size());
        for (int n = 0; n < 4 && keep > 0; ++n) {
            --keep;
            if (keep > 0 && line[keep].isLowSurrogate() && line[keep - 1].isHighSurrogate())
                --keep;
        }
        line.truncate(keep);
    }
    memo->Lines()->SetFromQStringList(lines);
}

void TFrmMain::upr1Click(TComponent*)
{
    if (!FrmInsFiles)
        return;
    FrmInsFiles->ShowModal();
    FileListBox->SetMask(FrmInsFiles->maska->Text());
    FileMemo->Lines()->Clear();
    QString dir;
    BrowseForFolder(sVyberteSlozku, BIF_RETURNONLYFSDIRS, dir);
    if (dir.isEmpty())
        return;
    FileListBox->SetDirectory(dir);
    FileMemo->Lines()->Assign(FileListBox->Items());
    if (FrmInsFiles->delext->Checked())
        StripFileExtensions(FileMemo);
    AddTextObject(FileMemo->Text(), 8);
    SetModified();
}

void TFrmMain::upr2Click(TComponent*)
{
    if (!FrmInsDir)
        return;
    // The file system's root stands where a shell tree has its drive.
    FrmInsDir->DirList->SetDirectory(QDir::rootPath());
    FrmInsDir->STree->SetPath(QDir::rootPath());
    FrmInsDir->ShowModal();
    if (!TFrmInsDir::IsConfirmed())
        return;
    AddTextObject(FrmInsDir->SList->Text(), 8);
    SetModified();
}
