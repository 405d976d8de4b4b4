#include "catalogue/cd_database_form.h"

TCDDatabaseForm* CDDatabaseForm = nullptr;

TCDDatabaseForm::TCDDatabaseForm(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("CDDatabaseForm"));
    SetCaption(QStringLiteral("CDDB Databáze"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    Font()->SetName(QStringLiteral("MS Sans Serif"));
    SetClientSize(408, 216);
    if (!CDDatabaseForm)
        CDDatabaseForm = this;
}

TCDDatabaseForm::~TCDDatabaseForm()
{
    if (CDDatabaseForm == this)
        CDDatabaseForm = nullptr;
}
