#pragma once

#include <QString>

// The style sheet every skinned window sets: the list, the pickers, the text boxes and the
// labels in the skin's colours, with what differs per window scoped to that window.
QString SkinStyleSheet();
