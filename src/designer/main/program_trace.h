#pragma once
// Diagnostics for runs without a screen (tests of the whole program): with
// TESSAVIK_TRACE=1 every window that is shown is written to standard error as
// "shown <name> <caption>" (a message box as "message <text>", one of Qt's own
// dialogs as "dialog <title>", a popup menu as "popup <title>");
// TESSAVIK_QUIT_AFTER=<ms> ends the run after that long.

void InstallProgramTrace();
