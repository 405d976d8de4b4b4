#include "designer/forms/frm_ins_dir.h"

#include <QFileInfo>

TFrmInsDir* FrmInsDir = nullptr;

namespace {
// The dialog's result, shared by every showing.
bool gConfirmed = false;
} // namespace

TFrmInsDir::TFrmInsDir(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmInsDir"));
    SetCaption(QStringLiteral("Vložit seznam složek"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(497, 353);

    STree = Placed(new TShellTreeView(this), "STree", this, 8, 8, 233, 305);
    STree->OnChange = [this](TComponent* s) { STreeChange(s); };
    DirList = Placed(new TDirectoryListBox(this), "DirList", this, 8, 8, 97, 97);
    DirList->SetVisible(false);
    SList = Placed(new TMemo(this), "SList", this, 248, 8, 241, 305);
    SList->SetScrollBars(ssBoth);
    SList->SetWordWrap(false);
    btnVlozit = Placed(new TButton(this), "btnVlozit", this, 332, 320, 75, 25);
    btnVlozit->SetCaption(QStringLiteral("&Vložit"));
    btnVlozit->SetDefault(true);
    btnVlozit->OnClick = [this](TComponent* s) { btnVlozitClick(s); };
    btnStorno = Placed(new TButton(this), "btnStorno", this, 414, 320, 75, 25);
    btnStorno->SetCaption(QStringLiteral("&Storno"));
    btnStorno->SetCancel(true);
    btnStorno->OnClick = [this](TComponent* s) { btnStornoClick(s); };

    OnShow = [this](TComponent* s) { FormShow(s); };
    if (!FrmInsDir)
        FrmInsDir = this;
}

TFrmInsDir::~TFrmInsDir()
{
    if (FrmInsDir == this)
        FrmInsDir = nullptr;
}

bool TFrmInsDir::IsConfirmed() { return gConfirmed; }

void TFrmInsDir::STreeChange(TComponent*)
{
    const QString path = STree->Path();
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return;
    DirList->SetDirectory(path);
    QStringList lines = DirList->Items()->ToQStringList();
    if (!lines.isEmpty())
        lines.removeFirst(); // the root
    SList->Lines()->SetFromQStringList(lines);
}

void TFrmInsDir::FormShow(TComponent*) { gConfirmed = false; }

void TFrmInsDir::btnVlozitClick(TComponent*)
{
    gConfirmed = true;
    Close();
}

void TFrmInsDir::btnStornoClick(TComponent*)
{
    gConfirmed = false;
    Close();
}
