#pragma once
// Message boxes with the platform's flags and answers, Czech buttons.

#include <QString>
#include <functional>

class QWidget;

enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_ICONHAND = 0x10,
    MB_ICONERROR = 0x10,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
};

enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// Shows a modal message box and returns the answer (IDOK, IDYES, ...).
int ShowMessageBox(QWidget* parent, const QString& text, const QString& caption, unsigned flags);

// Tests answer message boxes through this hook instead of the screen; it gets
// what the user would see and returns the answer.
using TMessageBoxHook = std::function<int(const QString& text, const QString& caption, unsigned flags)>;
void SetMessageBoxHook(TMessageBoxHook hook);
