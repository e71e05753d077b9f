#pragma once
// Answers the next modal window of type T (a real widget, shown with exec()) as soon as it is
// up: `act` runs on it, and must close it. Call before the action that opens the window.
#include <QApplication>
#include <QTimer>
#include <functional>

namespace orvelo::ui::testing {

template <class T>
void AnswerNextModal(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

}  // namespace orvelo::ui::testing
