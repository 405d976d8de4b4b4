// Program entry: creates every window, loads the language texts, remembers the
// file named on the command line and runs the message loop.

#include "app/skin_trace.h"
#include "catalogue/cd_database_form.h"

#include "classlib/forms/application.h"
#include "designer/forms/frm_edit_sablona.h"
#include "designer/forms/frm_edit_sablona_box.h"
#include "designer/forms/frm_export.h"
#include "designer/forms/frm_ins_dir.h"
#include "designer/forms/frm_ins_files.h"
#include "designer/forms/frm_ins_text.h"
#include "designer/forms/frm_invisible.h"
#include "designer/forms/frm_korekce.h"
#include "designer/forms/frm_nastav_objekt.h"
#include "designer/forms/frm_new.h"
#include "designer/forms/frm_o_programu.h"
#include "designer/forms/frm_progress.h"
#include "designer/forms/frm_roz_obr.h"
#include "designer/forms/frm_skin_chooser.h"
#include "designer/forms/frm_srafovani.h"
#include "designer/forms/frm_start.h"
#include "designer/forms/frm_vlastnosti_img.h"
#include "designer/localisation/language_texts.h"
#include "designer/main/frm_main.h"
#include "designer/main/program_trace.h"
#include "skin/form/skin_manager.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    // Every dialog, Qt's own file, print, colour and font dialogs too, is a
    // widget the skin engine can reach.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    TApplication::Initialize(argc, argv);
    InstallProgramTrace();

    // The program speaks Czech, and so do Qt's own file, print and colour dialogs.
    auto* qtTexts = new QTranslator(qApp);
    if (qtTexts->load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTexts);

    Application->CreateForm<TFrmMain>();
    Application->CreateForm<TFrmInsText>();
    Application->CreateForm<TFrmNew>();
    Application->CreateForm<TFrmNastavObjekt>();
    Application->CreateForm<TFrmSrafovani>();
    Application->CreateForm<TFrmVlastnostiIMG>();
    Application->CreateForm<TFrmProgress>();
    Application->CreateForm<TFrmInsDir>();
    Application->CreateForm<TFrmKorekce>();
    Application->CreateForm<TFrmRozObr>();
    Application->CreateForm<TFrmEditSablona>();
    Application->CreateForm<TFrmStart>();
    Application->CreateForm<TFrmOProgramu>();
    Application->CreateForm<TFrmInvisible>();
    Application->CreateForm<TFrmExport>();
    Application->CreateForm<TFrmInsFiles>();
    Application->CreateForm<TForm21>();
    Application->CreateForm<TCDDatabaseForm>();
    Application->CreateForm<TFrmEditSablonaBox>();

    LoadLanguageTexts();
    InstallSkinTrace(FrmMain->SkinData1);

    const QStringList args = QCoreApplication::arguments();
    FrmMain->SetStartFile(args.size() > 1 ? args[1] : QString());

    Application->Run();
    ReportSkinTrace();
    // Every window gets its own look back while all of them still exist.
    FreeSkinManager();
    TApplication::Finalize();
    return 0;
}
