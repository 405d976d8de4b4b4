#pragma once
// The catalogue window: the discs of the catalogue, from which a track list or
// a title goes into the design.

#include "classlib/forms/form.h"

class TCDDatabaseForm : public TForm {
public:
    TV_CLASS_NAME(TCDDatabaseForm)
    explicit TCDDatabaseForm(TComponent* owner);
    ~TCDDatabaseForm() override;
};

extern TCDDatabaseForm* CDDatabaseForm;
