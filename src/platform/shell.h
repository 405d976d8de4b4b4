#pragma once
// The shell's "open" verb: hands a web address or a document to the desktop's
// default program for it.

#include <QString>
#include <functional>

// Returns false when the desktop could not be asked. The desktop's opener may
// still find no program for the target later: failed is called then, once.
bool ShellOpen(const QString& target, std::function<void()> failed = {});
// Tests answer here instead of starting a program.
extern std::function<bool(const QString& target)> ShellOpenHook;
