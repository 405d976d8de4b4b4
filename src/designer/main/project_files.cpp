// Project files: saving and opening designs.

#include "designer/main/frm_main.h"

#include "classlib/sysutils.h"

void TFrmMain::btnSaveClick(TComponent*)
{
    if (DocumentFileName == sUntitled) {
        mnuSaveAsClick(this);
        return;
    }
    Modified = false;
    UlozSoubor(DocumentFileName);
    SetDocumentFileName(DocumentFileName);
}

void TFrmMain::mnuSaveAsClick(TComponent*)
{
    if (!SaveDialog->Execute())
        return;
    UlozSoubor(SaveDialog->FileName);
    SetDocumentFileName(SaveDialog->FileName);
    Modified = false;
}
