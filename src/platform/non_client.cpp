#include "platform/non_client.h"

bool SetSkinnedFrame(HWND, bool) { return false; }
bool IsSkinnedFrame(HWND) { return false; }
bool IsFrameRemoved(HWND) { return false; }
QMargins NonClientInsets(HWND) { return QMargins(); }
void RecalcNonClient(HWND) {}
void SetClientLayout(HWND, std::function<void()>) {}
QPainter* GetWindowDC(HWND) { return nullptr; }
bool SetWindowRgn(HWND, std::optional<TRegion>, bool) { return false; }
std::optional<TRegion> GetWindowRgn(HWND) { return std::nullopt; }
bool DefNonClientProc(HWND, TMessage&) { return false; }
