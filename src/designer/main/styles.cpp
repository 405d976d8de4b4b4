// Styles: ready-made sets of objects from the "Style" folder. Objects of a
// style carry the style mark, so the next style replaces them and leaves the
// user's own objects alone.

#include "designer/main/frm_main.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/sysutils.h"

void TFrmMain::CreateFilesControls()
{
    lComboStyly->OnChange = [this](TComponent* s) { lComboStylyChange(s); };
    LbtnStyly->OnClick = [this](TComponent* s) { LbtnStylyClick(s); };
    SbLblBack->OnClick = [this](TComponent* s) { LbtnL2Click(s); };
    SbLblNext->OnClick = [this](TComponent* s) { LbtnR2Click(s); };
}

void TFrmMain::lComboStylyChange(TComponent*)
{
    SetModified();
    const int i = lComboStyly->ItemIndex();
    if (i < 0)
        return;
    MarkListEnds(lComboStyly, SbLblBack, SbLblNext);
    SelectedObject = SizeLabel;
    BuildPropertyLinks();
    const QString entry = lComboStyly->Items()->Strings(i);
    LbtnStyly->SetCaption(entry);
    NazevSablony->SetCaption(entry);
    HideSelectionFrame();
    ShowCentreLines(false);
    DeleteObjects(false);
    if (i == 0) {
        SelectedObject = SizeLabel;
        BuildPropertyLinks();
        return;
    }
    // What was read before a damaged record stays, marked as the style's.
    TRecordList records;
    QString refusal;
    bool complete = ReadRecordFile(ResolvePathCase(AppDir + QStringLiteral("/Style/") + entry), records, refusal);
    for (auto& c : records)
        if (!ApplyDesignRecord(c.get(), true)) {
            complete = false;
            break;
        }
    RenumberObjects();
    RebuildLayerList();
    if (!complete)
        Application->MessageBox(refusal.isEmpty() ? sNelzePrecistObjekt : refusal, sChyba, MB_OK);
}

void TFrmMain::LbtnR2Click(TComponent*)
{
    const int i = lComboStyly->ItemIndex();
    if (i >= 0 && i < lComboStyly->Items()->Count() - 1)
        lComboStyly->SetItemIndex(i + 1);
    lComboStylyChange(lComboStyly);
}

void TFrmMain::LbtnL2Click(TComponent*)
{
    const int i = lComboStyly->ItemIndex();
    if (i > 0)
        lComboStyly->SetItemIndex(i - 1);
    lComboStylyChange(lComboStyly);
}

void TFrmMain::LbtnStylyClick(TComponent*) { lComboStyly->SetDroppedDown(true); }
