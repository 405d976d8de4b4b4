#pragma once
// The keyboard's way back. When a top-level window that has the keyboard
// closes or hides (a modal or non-modal form, a message box, one of Qt's own
// dialogs, a progress window), the window that had the keyboard before it
// takes it back and is drawn active. Without a window manager nobody else
// does this, and the keys go to the root window until a click; a window
// manager may hand the focus to any window it likes.
//
// Windows count in the order they were last activated; popups, tool tips and
// splash windows never count. A window hidden while another window of the
// program has the keyboard changes nothing.

// Idempotent; the application object calls it once.
void InstallActivationReturn();
