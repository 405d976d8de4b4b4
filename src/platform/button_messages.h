#pragma once
// Button messages of check boxes and radio buttons (QAbstractButton windows):
// the check state read and set as the platform's button control answers them.

#include "platform/messages.h"
#include "platform/win_types.h"

enum : unsigned { BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_GETSTATE = 0x00F2 };
enum : unsigned { BST_UNCHECKED = 0x0, BST_CHECKED = 0x1, BST_INDETERMINATE = 0x2, BST_PUSHED = 0x4, BST_FOCUS = 0x8 };
enum : uint32_t { BS_LEFTTEXT = 0x20 };

// The default handling of the button messages; false when the message is
// none of them or the window is no check box or radio button.
bool DefButtonProc(HWND window, TMessage& message);
