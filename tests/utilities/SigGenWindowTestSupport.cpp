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
    // The dialog's own event loop runs the timer, once it is the modal one.
    QTimer::singleShot(0, [action] {
        if (QWidget* modal = QApplication::activeModalWidget())
            action(modal);
    });
}

} // namespace siggen_window_test
