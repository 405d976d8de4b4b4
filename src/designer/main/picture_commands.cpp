// The picture popup's commands: the properties window and the blur.

#include "designer/main/frm_main.h"

#include "classlib/pictures/picture.h"
#include "designer/forms/frm_roz_obr.h"
#include "designer/forms/frm_vlastnosti_img.h"

TImage* TFrmMain::SelectedPicture() const
{
    // Exactly a picture: text drawn as a picture is a picture class of its own.
    if (!IsObject(SelectedObject) || SelectedObject->ClassName() != QLatin1String("TImage"))
        return nullptr;
    return dynamic_cast<TImage*>(SelectedObject);
}

void TFrmMain::img1Click(TComponent*)
{
    TImage* picture = SelectedPicture();
    TFrmVlastnostiIMG* w = FrmVlastnostiIMG;
    if (!picture || !w)
        return;
    w->Trans->SetChecked(picture->Transparent());
    w->ChStretch->SetChecked(picture->Stretch());
    w->ChAutosize->SetChecked(picture->AutoSize());
    w->spSirka->SetValue(picture->Width());
    w->spVyska->SetValue(picture->Height());
    w->ShowModal();
    if (!TFrmVlastnostiIMG::IsConfirmed())
        return;
    SetModified();
    picture->SetTransparent(w->Trans->Checked());
    picture->SetStretch(w->ChStretch->Checked());
    picture->SetAutoSize(w->ChAutosize->Checked());
    picture->SetWidth(w->spSirka->Value());
    picture->SetHeight(w->spVyska->Value());
    ShowSelectionFrame(picture->Left(), picture->Top(), picture->Width(), picture->Height());
}

void TFrmMain::ApplyImageSettings()
{
    TImage* picture = SelectedPicture();
    TFrmVlastnostiIMG* w = FrmVlastnostiIMG;
    if (!picture || !w)
        return;
    // Applied is changed: a close after Storno must still ask to save it.
    SetModified();
    picture->SetTransparent(w->Trans->Checked());
    picture->SetStretch(w->ChStretch->Checked());
    picture->SetAutoSize(w->ChAutosize->Checked());
    ShowSelectionFrame(picture->Left(), picture->Top(), picture->Width(), picture->Height());
}

void TFrmMain::img2Click(TComponent*)
{
    TImage* picture = SelectedPicture();
    TFrmRozObr* w = FrmRozObr;
    if (!picture || !w)
        return;
    w->original->Picture()->Assign(picture->Picture());
    w->ShowModal();
    if (TFrmRozObr::IsConfirmed()) {
        picture->Picture()->Assign(w->Nahled->Picture());
        SetModified();
    }
    // The window keeps no copy of a picture it is done with.
    w->original->Picture()->Assign(nullptr);
    w->Nahled->Picture()->Assign(nullptr);
}
