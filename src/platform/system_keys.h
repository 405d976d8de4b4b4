#pragma once
// The system key of a window whose frame is skinned, as the platform's
// default procedure turns it into WM_SYSCOMMAND SC_KEYMENU: Alt+Space
// (lParam ' ': the system menu). It reaches the window's procedure whichever
// of its controls has the focus, also in message boxes and Qt's own dialogs.
// Alt alone, the menu bar's key, is the forms' (the class library's keys).

// Idempotent; called when the first frame is skinned.
void InstallSystemKeys();
