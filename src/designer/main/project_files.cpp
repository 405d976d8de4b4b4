// Project files: saving and opening designs.

#include "designer/main/frm_main.h"

#include "classlib/streaming/component_stream.h"
#include "classlib/sysutils.h"

#include <QSaveFile>

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

void TFrmMain::UlozSoubor(const QString& fileName)
{
    // Written beside the old file and renamed over it: a failed save keeps the old file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFileError(QStringLiteral("Nelze vytvořit soubor \"%1\". %2").arg(fileName, file.errorString()));
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        const int tag = c->Tag();
        if (tag == 1 || tag == 2 || tag == 3 || tag == 5)
            WriteComponentRecord(file, c);
    }
    if (!file.commit())
        throw EFileError(QStringLiteral("Nelze zapsat soubor \"%1\". %2").arg(fileName, file.errorString()));
}
