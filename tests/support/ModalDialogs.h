#pragma once
// Answering the modal dialogs a command opens, from inside their own exec.

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

// Runs `act` on the next modal window of that type once it is up; rejects it
// afterwards if `act` left it open, so that a failing check never hangs the test.
template <typename Window>
void OnModal(std::function<void(Window&)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    // One that never sees its window must not take the next test's.
    QTimer::singleShot(20000, timer, [timer] { timer->deleteLater(); });
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        act(*window);
        if (window->isVisible())
            static_cast<QDialog*>(window)->reject();
    });
    timer->start();
}
