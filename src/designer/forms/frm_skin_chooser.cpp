#include "designer/forms/frm_skin_chooser.h"

#include "classlib/forms/application.h"
#include "classlib/inifiles.h"
#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_start.h"
#include "designer/main/frm_main.h"
#include "platform/shell.h"
#include "skin/skin_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

TForm21* Form21 = nullptr;

namespace {
const QString kSetting = QStringLiteral("Setting");

QString SettingsFile() { return FrmMain ? FrmMain->SettingsFileName() : QString(); }
} // namespace

TForm21::TForm21(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("Form21"));
    SetCaption(QStringLiteral("Form21"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(677, 446);

    auto place = [this](auto* c, const char* name, int l, int t, int w, int h) {
        return Placed(c, name, this, l, t, w, h);
    };
    auto label = [&](const char* name, const QString& text, int l, int t) {
        TLabel* lbl = place(new TLabel(this), name, l, t, 60, 13);
        lbl->SetCaption(text);
        return lbl;
    };
    auto button = [&](const char* name, const QString& text, int l, int w) {
        TButton* b = place(new TButton(this), name, l, 368, w, 25);
        b->SetCaption(text);
        return b;
    };

    Label1 = label("Label1", QStringLiteral("Skiny programu:"), 16, 16);
    ListBox = place(new TListBox(this), "ListBox", 16, 32, 249, 324);
    ListBox->SetItemHeight(18);
    ListBox->OnClick = [this](TComponent* s) { ListBoxClick(s); };
    Label2 = label("Label2", QStringLiteral("Náhled:"), 280, 16);
    ImageNahled = place(new TImage(this), "ImageNahled", 280, 32, 363, 324);
    ImageNahled->SetAutoSize(true);
    Label3 = label("Label3", QStringLiteral("Více vzhledů"), 580, 8);
    Label3->Font()->SetStyle(FontStyleBit(fsUnderline));
    Label3->Font()->SetColor(RGB(0, 0, 160));
    Label3->SetCursor(crHandPoint);
    Label3->OnClick = [this](TComponent* s) { Label3Click(s); };

    btnOK = button("btnOK", QStringLiteral("OK"), 16, 75);
    btnOK->OnClick = [this](TComponent* s) { btnOKClick(s); };
    ButtonVypnout = button("ButtonVypnout", QStringLiteral("Vypnout skin"), 280, 107);
    ButtonVypnout->OnClick = [this](TComponent* s) { ButtonVypnoutClick(s); };
    ButtonZapnout = button("ButtonZapnout", QStringLiteral("Zapnout skin"), 392, 107);
    ButtonZapnout->OnClick = [this](TComponent* s) { ButtonZapnoutClick(s); };
    ButtonPouzit = button("ButtonPouzit", QStringLiteral("Použít skin"), 536, 107);
    ButtonPouzit->OnClick = [this](TComponent* s) { ButtonPouzitClick(s); };

    FileListBox = place(new TFileListBox(this), "FileListBox", 16, 400, 97, 33);
    FileListBox->SetVisible(false);
    FileListBox->SetMask(QStringLiteral("*.skn"));

    OnShow = [this](TComponent* s) { FormShow(s); };
    if (!Form21)
        Form21 = this;
}

TForm21::~TForm21()
{
    if (Form21 == this)
        Form21 = nullptr;
}

QString TForm21::SkinFolder()
{
    // Beside the program, wherever it was started from.
    const QString dir = FrmMain ? FrmMain->GetAppDir() : QCoreApplication::applicationDirPath();
    return dir + QStringLiteral("/skiny");
}

QString TForm21::SelectedSkin() const
{
    TListBox* list = ListBox;
    return list->Items()->Strings(list->ItemIndex());
}

void TForm21::FormShow(TComponent*)
{
    FileListBox->SetDirectory(ResolvePathCase(SkinFolder()));
    ListBox->Items()->Clear();
    for (int i = 0; i < FileListBox->Items()->Count(); ++i)
        ListBox->Items()->Add(FileListBox->Items()->Strings(i).chopped(4));
    ListBox->SetItemIndex(0);
    // The stored choice is a position in the list, not a name. It holds only
    // where it names the skin in effect: with none stored yet, or after the
    // folder changed, the chooser opens on the skin in effect, so that "Použít
    // skin" never switches to a skin nobody chose. A position beyond the list
    // (a skin deleted) leaves the first entry.
    const int count = ListBox->Items()->Count();
    const TIniFile ini(SettingsFile());
    const QString key = QStringLiteral("SkinIndex");
    const int stored = ini.ValueExists(kSetting, key) ? ini.ReadInteger(kSetting, key, -1) : -1;
    const int inEffect = EntryInEffect();
    if (inEffect >= 0 && stored != inEffect)
        ListBox->SetItemIndex(inEffect);
    else if (stored >= 0 && stored < count)
        ListBox->SetItemIndex(stored);
    // A missing preview is reported; the window still opens, so another skin
    // can be chosen.
    if (ListBox->ItemIndex() >= 0)
        ReportAndGoOn([this] { ListBoxClick(ListBox); });
}

int TForm21::EntryInEffect() const
{
    if (!FrmMain || !FrmMain->SkinData1 || FrmMain->SkinData1->SkinFile().isEmpty())
        return -1;
    // The same file, whatever way its path is written ("Skiny" or "skiny").
    auto same = [](const QString& a, const QString& b) {
        const QFileInfo fa(ResolvePathCase(a)), fb(ResolvePathCase(b));
        return fa.exists() && fb.exists() ? fa.canonicalFilePath() == fb.canonicalFilePath()
                                          : fa.absoluteFilePath() == fb.absoluteFilePath();
    };
    const QString file = FrmMain->SkinData1->SkinFile();
    for (int i = 0; i < ListBox->Items()->Count(); ++i)
        if (same(file, SkinFolder() + QLatin1Char('/') + ListBox->Items()->Strings(i) + QStringLiteral(".skn")))
            return i;
    return -1;
}

void TForm21::ListBoxClick(TComponent*)
{
    ImageNahled->Picture()->LoadFromFile(SkinFolder() + QLatin1Char('/') + SelectedSkin() + QStringLiteral(".jpg"));
}

void TForm21::ButtonPouzitClick(TComponent*)
{
    const QString path = SkinFolder() + QLatin1Char('/') + SelectedSkin() + QStringLiteral(".skn");
    if (!FrmMain || !FrmMain->SkinData1)
        return;
    TSkinData* skin = FrmMain->SkinData1;
    skin->SetSkinFile(path);
    // A skin that could not be used is not remembered for the next start.
    if (skin->SkinFile() != path || skin->SkinLoading())
        return;
    TIniFile ini(SettingsFile());
    ini.WriteString(kSetting, QStringLiteral("SkinFileName"), path);
    ini.WriteBool(kSetting, QStringLiteral("SkinEnabled"), skin->Active());
    ini.WriteInteger(kSetting, QStringLiteral("SkinIndex"), ListBox->ItemIndex());
}

void TForm21::ButtonVypnoutClick(TComponent*)
{
    if (FrmMain && FrmMain->SkinData1)
        FrmMain->SkinData1->SetActive(false);
}

void TForm21::ButtonZapnoutClick(TComponent*)
{
    if (FrmMain && FrmMain->SkinData1)
        FrmMain->SkinData1->SetActive(true);
}

void TForm21::btnOKClick(TComponent*)
{
    Close();
    if (FrmMain && FrmMain->SkinData1)
        TIniFile(SettingsFile()).WriteBool(kSetting, QStringLiteral("SkinEnabled"), FrmMain->SkinData1->Active());
}

void TForm21::Label3Click(TComponent*) { ShellOpen(MakerWebAddress); }
