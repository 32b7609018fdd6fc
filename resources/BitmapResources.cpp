#include "resources/BitmapResources.h"

// Outside any namespace, as the resource initialiser requires. The bitmaps
// live in a static library, whose self-registering resource code the linker
// would drop; every lookup comes through here, so registering here is enough.
static void RegisterBitmaps()
{
    Q_INIT_RESOURCE(bitmaps);
}

QString BitmapResourcePath(const QString& name, int scale)
{
    static const bool registered = (RegisterBitmaps(), true);
    (void)registered;
    const QString suffix = scale >= 2 ? QStringLiteral("@2x.png") : QStringLiteral(".png");
    return QStringLiteral(":/bitmaps/") + name + suffix;
}
