#include "platform/hooks.h"

HHOOK SetWindowsHookEx(int, THookProc, void*, unsigned) { return 0; }
bool UnhookWindowsHookEx(HHOOK) { return false; }
LRESULT CallNextHookEx(HHOOK, int, WPARAM, LPARAM) { return 0; }
unsigned GetCurrentThreadId() { return 1; }
