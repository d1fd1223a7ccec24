#include "ProductSite.h"

QString ProductSite()
{
    return QStringLiteral(BRIMWAVE_SITE_URL);
}
