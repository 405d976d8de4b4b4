#include "designer_fixture.h"

#include "catalogue/cd_database.h"
#include "classlib/forms/dialogs.h"
#include "classlib/forms/message_box.h"
#include "test_support.h"

TMainWindowFixture::TMainWindowFixture()
{
    FOldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", TestSupport::MakeTempDir().toUtf8());
    TCDDatabase::SetDefaultFolder(TestSupport::MakeTempDir());
    // Boxes no test asked for (a data folder missing beside the test program)
    // are answered with OK instead of waiting for a user.
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
    FMain = std::make_unique<TFrmMain>(nullptr);
    FMain->DoCreate();
}

TMainWindowFixture::~TMainWindowFixture()
{
    SetMessageBoxHook(nullptr);
    TCommonDialog::ExecuteHook = nullptr;
    FMain.reset();
    qputenv("XDG_CONFIG_HOME", FOldConfig);
}

void TMainWindowFixture::ShowWindow(const QString& startFile)
{
    // "-" stands for no file and no start window.
    if (startFile == QLatin1String("-"))
        FMain->FirstShow = false;
    FMain->SetStartFile(startFile == QLatin1String("-") ? QString() : startFile);
    FMain->Show();
}
