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
    // How many files convert at the same time: 1, one after another, unless the user asks for
    // more (at most one per core).
    qint16 FilesAtOnce = 1;
};

// The most files the machine converts at once: one per core, at most 16.
int MostFilesAtOnce();

inline bool operator==(const CutterOptions &a, const CutterOptions &b)
{
    return a.FinishSoundIndex == b.FinishSoundIndex && a.CutterEnabled == b.CutterEnabled &&
           a.CutStartSeconds == b.CutStartSeconds && a.CutLengthSeconds == b.CutLengthSeconds &&
           a.FilesAtOnce == b.FilesAtOnce;
}
