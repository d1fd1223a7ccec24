#include "Skin.h"

#include "SkinLayout.h"

#include <QHash>

static void LoadSkinResources()
{
    // The pictures live in a static library: register them before the first use.
    Q_INIT_RESOURCE(skin);
}

namespace Skin {

QPixmap Picture(const QString &name)
{
    static const bool loaded = (LoadSkinResources(), true);
    Q_UNUSED(loaded);
    static QHash<QString, QPixmap> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, QPixmap(QStringLiteral(":/skin/") + name + QStringLiteral(".png")));
    return *it;
}

QCursor HandCursor()
{
    return QCursor(Picture(QStringLiteral("hand")), SkinLayout::kHandHotSpot.x(),
                   SkinLayout::kHandHotSpot.y());
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(Picture(QStringLiteral("icon/%1").arg(size)));
    return icon;
}

} // namespace Skin
