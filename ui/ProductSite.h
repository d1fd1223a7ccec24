#pragma once

#include <QString>

// The product's web address, set when the build is configured (BRIMWAVE_SITE_URL); About, Help
// and the feedback form use it. Its default is a reserved name that never resolves, so nothing
// leaves the machine until a packager sets the real site.
QString ProductSite();
