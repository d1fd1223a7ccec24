#pragma once

#include "settings/CutterOptions.h"

#include <QString>

#include <optional>

class QueueModel;

// What the progress bar and its label show.
struct ProgressDisplay
{
    double barShare = 0; // share of the bar's full length, 0 to 1
    QString label;       // e.g. "12.3%"
};

inline bool operator==(const ProgressDisplay &a, const ProgressDisplay &b)
{
    return a.barShare == b.barShare && a.label == b.label;
}

// Reads a "HH:MM:SS.ff" duration or position in seconds: hours, minutes and seconds as plain
// decimal numbers, a comma after the seconds ignored. Empty when there are fewer than three
// fields or a field is not such a number.
std::optional<double> ParseClock(const QString &text);
// The same, rounded to whole seconds, halves to the even neighbour.
std::optional<qint64> ParseClockSeconds(const QString &text);

// The display for `position` seconds of `totalSeconds`: full bar and "100%" when the total is
// unknown (0) or reached; otherwise the share and the first four characters of the percentage.
ProgressDisplay ProgressFor(qint64 positionSeconds, qint64 totalSeconds);
// The display for a share of 0 to 1 (of a whole batch), in the same form: full bar and
// "100%" from 1 on.
ProgressDisplay ShareDisplay(double share);

// Turns the converter's console output into progress for the file being converted, and ends
// that file when the converter is over.
class ConversionProgress
{
public:
    // Length of the current file (or of its cut stretch) in whole seconds; 0 while unknown.
    qint64 TotalSeconds() const { return m_totalSeconds; }
    // Whether the converter has reported a position past the start for the current file.
    bool ReachedPastStart() const { return m_furthestPosition > 0; }
    // The furthest position the converter has reported for the current file, in seconds.
    double FurthestPosition() const { return m_furthestPosition; }
    // The last position the converter reported for the current file, in whole seconds.
    qint64 PositionSeconds() const { return m_positionSeconds; }

    // One chunk of converter output. Returns the new display when the chunk held a position.
    // A field cut by a read boundary is found when the next chunk completes it.
    std::optional<ProgressDisplay> ReceiveOutputs(const QString &CommandOutputs, const CutterOptions &cutter);

    // The converter has ended: its file leaves the queue and the next file starts unknown.
    void CommandOver(QueueModel &queue);
    // Forgets the current file's total and progress, leaving the queue as it is.
    void Reset();

private:
    qint64 m_totalSeconds = 0;
    qint64 m_positionSeconds = 0;
    QString m_unfinishedTail;
    double m_furthestPosition = 0;
};
