#pragma once
// Messages of the skin engine that the user must see: a message box, or what
// an installed handler does with them (command-line tools).

#include <QString>
#include <functional>

using TSkinMessageHandler = std::function<void(const QString& text)>;

void SkinShowMessage(const QString& text);
// Installs handler (an empty one restores the message box); returns the previous one.
TSkinMessageHandler SetSkinMessageHandler(TSkinMessageHandler handler);
