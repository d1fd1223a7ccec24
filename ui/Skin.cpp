#include "Skin.h"

#include "SkinLayout.h"

#include <QGuiApplication>
#include <QHash>

static void LoadSkinResources()
{
    // The pictures live in a static library: register them before the first use.
    Q_INIT_RESOURCE(skin);
}

namespace Skin {

QPixmap Picture(const PictureName &pictureName)
{
    const QString name = pictureName.Text();
    static const bool loaded = (LoadSkinResources(), true);
    Q_UNUSED(loaded);
    static QHash<QString, QPixmap> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        // On a scaled screen the picture drawn with twice the pixels, shown at the design's size.
        const QString twice = QStringLiteral(":/skin/") + name + QStringLiteral("@2x.png");
        QPixmap picture;
        if (qApp && qApp->devicePixelRatio() > 1.0 && picture.load(twice))
            picture.setDevicePixelRatio(2.0);
        else
            picture.load(QStringLiteral(":/skin/") + name + QStringLiteral(".png"));
        if (picture.isNull())
            qCritical("The skin picture %s is missing", qPrintable(name));
        it = cache.insert(name, picture);
    }
    return *it;
}

QCursor HandCursor()
{
    // The hot spot is in the design's pixels, whatever the picture's ratio.
    return QCursor(Picture(Pictures::hand), SkinLayout::kHandHotSpot.x(), SkinLayout::kHandHotSpot.y());
}

QFont WindowFont()
{
    // Where Tahoma is missing, a narrow sans keeps the texts within their design places.
    static const bool substituted =
        (QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                                    {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")}),
         true);
    Q_UNUSED(substituted);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(Picture(Pictures::icon(size)));
    return icon;
}

} // namespace Skin
