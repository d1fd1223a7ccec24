#pragma once

#include <QList>
#include <QString>

#include <algorithm>

#include <optional>

// Where a running batch stands: which files it is converting, of how many, the whole batch's
// share done, and the time it still needs.
struct BatchStanding
{
    // The places of the files being converted, counted from 1 in the order the batch took
    // them, in rising order.
    QList<int> files;
    int fileCount = 0;
    double share = 0;                  // of the whole batch, 0 to 1
    std::optional<qint64> secondsLeft; // none while there is no estimate yet
};

// "File 2 of 5 · about 3 min left"; "Files 2–3 of 5 …", "Files 5 and 10 of 33 …" with several;
// "estimating…" in place of the time while there is none.
QString StandingCaption(const BatchStanding &standing);
// The window's title while the batch runs: "File 2 of 5 · 40 % — Brimwave".
QString StandingTitle(const BatchStanding &standing, const QString &programName);
// "about 3 min left", "about 40 s left", "a few seconds left", "about 1 h 5 min left".
QString TimeLeftText(qint64 seconds);

// The batch's clock and the lengths the converter reported, from which the time left is
// estimated: the media seconds converted per second spent so far, applied to what is left
// (the files not yet started count at the average length of those known).
class BatchClock
{
public:
    void Start(qint64 nowMilliSeconds);
    // A file has left the batch; `lengthSeconds` is its length as the converter reported it
    // (0 when it never did: a refused or failed file).
    void FileEnded(qint64 lengthSeconds);
    int FilesDone() const { return m_filesDone; }
    // The place of the next file the batch takes, counted from 1.
    int TakeNumber() { return ++m_taken; }

    // A file being converted: where its converter is, of how long (0 while unknown), and its
    // place in the batch (0: the next after the files done, as one at a time).
    struct Running
    {
        qint64 positionSeconds = 0;
        qint64 lengthSeconds = 0;
        int number = 0;
    };
    // `filesWaiting` counts the files not yet started.
    BatchStanding Standing(int filesWaiting, const QList<Running> &running, qint64 nowMilliSeconds) const;
    // One file at a time: `filesLeft` counts the file being converted.
    BatchStanding Standing(int filesLeft, qint64 positionSeconds, qint64 lengthSeconds,
                           qint64 nowMilliSeconds) const
    {
        return Standing(std::max(filesLeft, 1) - 1, {{positionSeconds, lengthSeconds}}, nowMilliSeconds);
    }

private:
    qint64 m_startMilliSeconds = 0;
    int m_filesDone = 0;
    int m_taken = 0;
    qint64 m_knownSeconds = 0;
    int m_knownLengths = 0;
};
