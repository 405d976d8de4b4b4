#pragma once
// Moving and sizing a window from the keyboard, as the system menu's "Move"
// and "Size" do: the arrow keys move the window (or the edges they pick),
// Enter or a click ends, Escape puts the window back. While it runs every
// key goes to it and none reaches the window's controls.

#include "platform/messages.h"

// size: the edges move instead of the whole window (only a window with a sizing frame).
void StartKeyboardMoveSize(HWND window, bool size);
bool KeyboardMoveSizeActive();
