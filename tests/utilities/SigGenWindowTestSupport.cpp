#include "tests/utilities/SigGenWindowTestSupport.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <thread>

#include "utilities/CSigGen.h"

namespace siggen_window_test {

bool WaitUntil(const std::function<bool()>& done, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

bool WaitForBuildShown(CSigGen& window)
{
    return WaitUntil([&] {
        return !window.IsBuilding() && window.windowTitle() != CSigGen::kBuildingCaption;
    });
}

void OnNextModal(std::function<void(QWidget* dialog)> action)
{
    // Polls, since the dialog exists only once exec has begun; gives up
    // after a minute so that a dialog that never came cannot catch a later one.
    auto* timer = new QTimer;
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    QObject::connect(timer, &QTimer::timeout, [timer, action, end] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            if (std::chrono::steady_clock::now() > end) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start(5);
}

} // namespace siggen_window_test
