#pragma once

#include <QtGlobal>

// What the options dialog sets: the finish sound and the cutter. One record for the whole
// program; every conversion reads it when its file starts.
struct CutterOptions
{
    qint16 FinishSoundIndex = 0; // 0 "ON" plays the finish sound, 1 "OFF"
    qint16 CutterEnabled = 0;    // nonzero cuts every input
    qint32 CutStartSeconds = 0;
    qint32 CutLengthSeconds = 0;
};

inline bool operator==(const CutterOptions &a, const CutterOptions &b)
{
    return a.FinishSoundIndex == b.FinishSoundIndex && a.CutterEnabled == b.CutterEnabled &&
           a.CutStartSeconds == b.CutStartSeconds && a.CutLengthSeconds == b.CutLengthSeconds;
}
