#include "tests/support/Screenshot.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

std::string SaveScreenshot(QWidget& widget, const std::string& name)
{
    const QString folder = QStringLiteral(TALVENOR_SCREENSHOT_DIR);
    if (!QDir().mkpath(folder))
        return {};
    const QString path = folder + "/" + QString::fromStdString(name) + ".png";
    return widget.grab().save(path, "PNG") ? path.toStdString() : std::string{};
}
