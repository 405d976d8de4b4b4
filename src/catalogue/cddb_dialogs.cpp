#include "catalogue/cddb_dialogs.h"

namespace {
TCDDBDialogs* gDialogs = nullptr;
}

TCDDBDialogs* CDDBDialogs() { return gDialogs; }

void SetCDDBDialogs(TCDDBDialogs* dialogs) { gDialogs = dialogs; }
