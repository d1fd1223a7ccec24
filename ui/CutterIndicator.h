#pragma once

#include "HotArea.h"
#include "settings/CutterOptions.h"

// Beside Convert while the cutter is on, so a cut set long ago does not shorten every file
// unseen: "Cut: 0:01:30 + 45 s". A click opens the options.
class CutterIndicator : public HotText
{
    Q_OBJECT
public:
    CutterIndicator(QWidget *parent, const QRect &place);
    // Shown with the cut's start and length while the cutter is on; hidden otherwise.
    void ShowCutter(const CutterOptions &cutter);

    // "Cut: 0:01:30 + 45 s".
    static QString Text(const CutterOptions &cutter);
    // "45 s", "2 min 30 s", "1 h 5 min".
    static QString LengthText(qint64 seconds);
};
