#pragma once
// The system keys of a window whose frame is skinned, as the platform's
// default procedure turns them into WM_SYSCOMMAND SC_KEYMENU: Alt pressed and
// released alone (lParam 0: the window's menu bar) and Alt+Space (lParam ' ':
// the system menu). They reach the window's procedure whichever of its
// controls has the focus, also in message boxes and Qt's own dialogs.

// Idempotent; called when the first frame is skinned.
void InstallSystemKeys();
