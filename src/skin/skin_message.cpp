#include "skin/skin_message.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"

#include <QApplication>
#include <cstdio>

namespace {
TSkinMessageHandler& Handler()
{
    static TSkinMessageHandler handler;
    return handler;
}
} // namespace

void SkinShowMessage(const QString& text)
{
    if (Handler()) {
        Handler()(text);
        return;
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const QString caption = Application ? Application->Title() : QCoreApplication::applicationName();
        ShowMessageBox(nullptr, text, caption, MB_OK);
        return;
    }
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

TSkinMessageHandler SetSkinMessageHandler(TSkinMessageHandler handler)
{
    TSkinMessageHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}
