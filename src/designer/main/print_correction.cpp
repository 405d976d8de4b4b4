// The print-correction command: shows the correction window and keeps the
// values of the settings file in effect.

#include "designer/main/frm_main.h"

#include "classlib/inifiles.h"
#include "designer/forms/frm_korekce.h"

void TFrmMain::mnKorTiskClick(TComponent*)
{
    if (!FrmKorekce)
        return;
    const QString section = QStringLiteral("Setting");
    FrmKorekce->offx->SetValue(PrintCorrX);
    FrmKorekce->offy->SetValue(PrintCorrY);
    FrmKorekce->ShowModal();
    if (FrmKorekce->IsConfirmed()) {
        TIniFile ini(SettingsFileName());
        ini.WriteInteger(section, QStringLiteral("KorX"), FrmKorekce->offx->Value());
        ini.WriteInteger(section, QStringLiteral("KorY"), FrmKorekce->offy->Value());
    }
    // The values in effect are always those of the file, also when it was
    // changed by hand meanwhile.
    const TIniFile ini(SettingsFileName());
    PrintCorrX = ini.ReadInteger(section, QStringLiteral("KorX"), 0);
    PrintCorrY = ini.ReadInteger(section, QStringLiteral("KorY"), 0);
}
