#pragma once
// The shell's "open" verb: hands a web address or a document to the desktop's
// default program for it.

#include <QString>
#include <functional>

// Returns false when the desktop could not be asked.
bool ShellOpen(const QString& target);
// Tests answer here instead of starting a program.
extern std::function<bool(const QString& target)> ShellOpenHook;
