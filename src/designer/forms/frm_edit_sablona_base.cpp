#include "designer/forms/frm_edit_sablona_base.h"

#include "classlib/forms/message_box.h"
#include "classlib/inifiles.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_new.h"

namespace {
const QString kCountKey = QStringLiteral("ComboSize");
const QString kNameKey = QStringLiteral("Combo");
} // namespace

TTemplateEditor::TTemplateEditor(TComponent* owner, const QString& section, const QString& defaultCount)
    : TForm(owner), FSection(section), FDefaultCount(defaultCount)
{
    SetCaption(QStringLiteral("Editace šablony"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    OnShow = [this](TComponent* s) { FormShow(s); };
}

TLabel* TTemplateEditor::AddLabel(const char* name, const QString& text, TWinControl* parent, int left, int top)
{
    TLabel* lbl = Placed(new TLabel(this), name, parent, left, top, 40, 13);
    lbl->SetCaption(text);
    return lbl;
}

TEdit* TTemplateEditor::AddField(const char* name, const QString& key, const QString& title, bool size,
                                 TWinControl* parent, int left, int top)
{
    TEdit* e = Placed(new TEdit(this), name, parent, left, top, 70, 21);
    FFields.push_back({e, key, title, size});
    return e;
}

void TTemplateEditor::CreateNameField()
{
    lbNazev = AddLabel("lbNazev", QStringLiteral("Název:"), this, 16, 16);
    Nazev = Placed(new TEdit(this), "Nazev", this, 112, 12, 249, 21);
}

void TTemplateEditor::CreateButtons(int buttonsTop)
{
    auto button = [&](const char* name, const QString& text, int left) {
        TButton* b = Placed(new TButton(this), name, this, left, buttonsTop, 75, 25);
        b->SetCaption(text);
        return b;
    };
    btnPridat = button("btnPridat", QStringLiteral("Přidat"), 16);
    btnSmazat = button("btnSmazat", QStringLiteral("Smazat"), 97);
    BtnOk = button("BtnOk", QStringLiteral("Ok"), 206);
    BtnOk->SetDefault(true);
    BtnStorno = button("BtnStorno", QStringLiteral("Storno"), 286);
    BtnStorno->SetCancel(true);
    btnPridat->OnClick = [this](TComponent* s) { btnPridatClick(s); };
    btnSmazat->OnClick = [this](TComponent* s) { btnSmazatClick(s); };
    BtnOk->OnClick = [this](TComponent* s) { BtnOkClick(s); };
    BtnStorno->OnClick = [this](TComponent* s) { BtnStornoClick(s); };
}

int TTemplateEditor::TemplateNumber() const
{
    const TListBox* list = ChooserList();
    if (!list || !FrmNew)
        return 0;
    return FrmNew->TemplateNumberAt(list == FrmNew->ListBox2, list->ItemIndex());
}

int TTemplateEditor::ReadCount() const
{
    // A count that is no integer ends the command with the conversion error.
    return StrToInt(TIniFile(TemplateFileName()).ReadString(FSection, kCountKey, FDefaultCount));
}

void TTemplateEditor::FormShow(TComponent*)
{
    const int n = TemplateNumber();
    const int count = ReadCount();
    btnSmazat->SetVisible(count == n);
    btnSmazat->SetEnabled(true);
    btnPridat->SetEnabled(true);
    FAddMode = false;

    const TIniFile ini(TemplateFileName());
    const QString num = QString::number(n);
    Nazev->SetText(ini.ReadString(FSection, kNameKey + num, QStringLiteral("No")));
    for (const TField& f : FFields)
        f.Edit->SetText(ini.ReadString(FSection, f.Key + num, QStringLiteral("0")));
    LoadExtras(ini, num);
}

void TTemplateEditor::btnPridatClick(TComponent*)
{
    // Read first: a count that is no integer leaves the editor as it was.
    const int count = ReadCount();
    FAddMode = true;
    btnSmazat->SetEnabled(false);
    btnPridat->SetEnabled(false);
    FNewNumber = count + 1;
    Nazev->SetText(QString());
    for (const TField& f : FFields)
        f.Edit->SetText(QString());
    ResetExtrasForAdd();
}

bool TTemplateEditor::CheckFields()
{
    for (const TField& f : FFields) {
        double mm = 0;
        QString problem;
        const QString text = f.Edit->Text();
        if (text.trimmed().isEmpty())
            problem = QStringLiteral("Pole „%1“ je prázdné. Zapište do něj délku v milimetrech: číslo "
                                     "s desetinnou čárkou, nejvýše 1000.")
                          .arg(f.Title);
        else if (!TemplateLengthOf(text, mm))
            problem = QStringLiteral("Pole „%1“ musí obsahovat délku v milimetrech: číslo s desetinnou čárkou, "
                                     "nejvýše 1000. „%2“ jím není.")
                          .arg(f.Title, text);
        else if (f.Size && mm < SmallestTemplateSize)
            // Smaller is no label to design: the surface would show nothing.
            problem = QStringLiteral("Pole „%1“ je rozměr: musí být nejméně %2.").arg(f.Title, SmallestTemplateSizeText());
        if (!problem.isEmpty()) {
            ShowMessageBox(nullptr, problem, Caption(), MB_OK | MB_ICONWARNING);
            if (f.Edit->CanFocus())
                f.Edit->SetFocus();
            return false;
        }
    }
    return true;
}

void TTemplateEditor::BtnOkClick(TComponent*)
{
    // A template the chooser could not use is not written.
    if (!CheckFields())
        return;
    const int number = FAddMode ? FNewNumber : TemplateNumber();
    const QString num = QString::number(number);
    TIniFile ini(TemplateFileName());
    // Values go in as typed: the chooser and its callers convert them.
    if (FAddMode && CountBeforeName())
        ini.WriteString(FSection, kCountKey, num);
    ini.WriteString(FSection, kNameKey + num, Nazev->Text());
    if (FAddMode && !CountBeforeName())
        ini.WriteString(FSection, kCountKey, num);
    for (const TField& f : FFields)
        ini.WriteString(FSection, f.Key + num, f.Edit->Text());
    WriteExtras(ini, num);
    FAddMode = false;
    AfterWrite();
}

void TTemplateEditor::btnSmazatClick(TComponent*)
{
    if (ShowMessageBox(nullptr, QStringLiteral("Opravdu smazat tuto šablonu ?"), QStringLiteral("Dotaz"),
                       MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const int count = ReadCount();
    // Only the count shrinks: the template's keys stay beyond it.
    TIniFile(TemplateFileName()).WriteString(FSection, kCountKey, QString::number(count - 1));
    Nazev->SetText(QString());
    for (const TField& f : FFields)
        f.Edit->SetText(QString());
    AfterWrite();
}

void TTemplateEditor::BtnStornoClick(TComponent*)
{
    // A started add is dropped: the next showing starts in edit mode.
    Close();
}

void TTemplateEditor::AfterWrite()
{
    if (FrmNew)
        FrmNew->FormShow(nullptr);
    Close();
}
