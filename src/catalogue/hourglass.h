#pragma once
// Shows the hourglass cursor for as long as the object lives.

#include <QCursor>
#include <QGuiApplication>

class THourglass {
public:
    THourglass()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            FSet = true;
        }
    }
    ~THourglass()
    {
        if (FSet)
            QGuiApplication::restoreOverrideCursor();
    }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;

private:
    bool FSet = false;
};
