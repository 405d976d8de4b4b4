#include "skin/skin_message.h"

#include <QApplication>
#include <QMessageBox>
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
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok);
        box.exec();
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
