#pragma once
// Answers a modal form from the event loop, as a user at the screen would: once
// a modal form of class T shows, act runs on it (and should close it).
#include "classlib/forms/application.h"
#include "classlib/forms/form.h"

#include <QTimer>
#include <functional>

template <class T>
void WhenShownModal(std::function<void(T*)> act, int timeoutMs = 10000)
{
    auto* timer = new QTimer();
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act, waited, timeoutMs] {
        *waited += timer->interval();
        for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
            auto* form = dynamic_cast<T*>(Screen->Forms(i));
            if (form && form->IsModal() && form->Visible()) {
                timer->stop();
                timer->deleteLater();
                act(form);
                return;
            }
        }
        if (*waited >= timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(5);
}
