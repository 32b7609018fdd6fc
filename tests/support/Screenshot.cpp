#include "tests/support/Screenshot.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QWidget>

std::string SaveScreenshot(const QImage& image, const std::string& name)
{
    const QString folder = QStringLiteral(TALVENOR_SCREENSHOT_DIR);
    if (!QDir().mkpath(folder))
        return {};
    const QString path = folder + "/" + QString::fromStdString(name) + ".png";
    return image.save(path, "PNG") ? path.toStdString() : std::string{};
}

std::string SaveScreenshot(QWidget& widget, const std::string& name)
{
    return SaveScreenshot(widget.grab().toImage(), name);
}
