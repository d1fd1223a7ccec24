#include "BatchStanding.h"

#include <algorithm>
#include <cmath>

#include <QStringList>

namespace {

const QString kDot = QStringLiteral(" \u00b7 ");

QString FilesText(const BatchStanding &standing)
{
    const QList<int> &files = standing.files;
    const QString of = QStringLiteral(" of %1").arg(standing.fileCount);
    if (files.size() <= 1)
        return QStringLiteral("File %1").arg(files.value(0)) + of;
    if (files.last() - files.first() == files.size() - 1)
        return QStringLiteral("Files %1\u2013%2").arg(files.first()).arg(files.last()) + of;
    QStringList places;
    for (const int file : files)
        places << QString::number(file);
    const QString last = places.takeLast();
    return QStringLiteral("Files ") + places.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last + of;
}

} // namespace

QString TimeLeftText(qint64 seconds)
{
    if (seconds < 10)
        return QStringLiteral("a few seconds left");
    // To the nearest 5 s: a count that ticks every second reads as noise.
    const qint64 roundedSeconds = (seconds + 2) / 5 * 5;
    if (roundedSeconds < 60)
        return QStringLiteral("about %1 s left").arg(roundedSeconds);
    const qint64 minutes = (seconds + 30) / 60;
    if (minutes < 60)
        return QStringLiteral("about %1 min left").arg(minutes);
    if (minutes % 60 == 0)
        return QStringLiteral("about %1 h left").arg(minutes / 60);
    return QStringLiteral("about %1 h %2 min left").arg(minutes / 60).arg(minutes % 60);
}

QString StandingCaption(const BatchStanding &standing)
{
    return FilesText(standing) + kDot +
           (standing.secondsLeft ? TimeLeftText(*standing.secondsLeft) : QStringLiteral("estimating\u2026"));
}

QString StandingTitle(const BatchStanding &standing, const QString &programName)
{
    // Whole percents, never 100 before the batch is over.
    const int percent = std::clamp(int(std::floor(standing.share * 100)), 0, 99);
    return FilesText(standing) + kDot + QStringLiteral("%1 % \u2014 ").arg(percent) + programName;
}

void BatchClock::Start(qint64 nowMilliSeconds)
{
    *this = {};
    m_startMilliSeconds = nowMilliSeconds;
}

void BatchClock::FileEnded(qint64 lengthSeconds)
{
    ++m_filesDone;
    if (lengthSeconds > 0) {
        m_knownSeconds += lengthSeconds;
        ++m_knownLengths;
    }
}

BatchStanding BatchClock::Standing(int filesWaiting, const QList<Running> &running,
                                   qint64 nowMilliSeconds) const
{
    BatchStanding standing;
    const int runningCount = std::max(int(running.size()), 1);
    for (int i = 0; i < runningCount; ++i) {
        const int number = running.value(i).number;
        standing.files << (number > 0 ? number : m_filesDone + i + 1);
    }
    std::sort(standing.files.begin(), standing.files.end());
    standing.fileCount = m_filesDone + runningCount + std::max(filesWaiting, 0);
    double filesShare = m_filesDone;
    qint64 converted = m_knownSeconds;
    qint64 runningLeft = 0;
    qint64 knownSeconds = m_knownSeconds;
    int lengths = m_knownLengths;
    for (const Running &file : running) {
        if (file.lengthSeconds <= 0)
            continue;
        const qint64 position = std::clamp<qint64>(file.positionSeconds, 0, file.lengthSeconds);
        filesShare += double(position) / double(file.lengthSeconds);
        converted += position;
        runningLeft += file.lengthSeconds - position;
        knownSeconds += file.lengthSeconds;
        ++lengths;
    }
    standing.share = filesShare / standing.fileCount;

    const double spent = double(nowMilliSeconds - m_startMilliSeconds) / 1000.0;
    if (converted <= 0 || spent <= 0 || lengths == 0)
        return standing;
    const double averageLength = double(knownSeconds) / lengths;
    const double mediaLeft = double(runningLeft) + std::max(filesWaiting, 0) * averageLength;
    const double mediaPerSecond = double(converted) / spent;
    standing.secondsLeft = qint64(std::ceil(mediaLeft / mediaPerSecond));
    return standing;
}
