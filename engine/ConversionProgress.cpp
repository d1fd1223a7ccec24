#include "ConversionProgress.h"

#include "queue/QueueModel.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace {

const QString kDurationKey = QStringLiteral("Duration: ");
const QString kTimeKey = QStringLiteral("time=");
const QLatin1Char kSpace(' ');
// Longer than any field the converter prints; an unfinished run past this is not a field.
constexpr qsizetype kLongestField = 64;

// 15 significant digits, as the label's arithmetic is defined on.
double RoundTo15Digits(double value)
{
    return QString::number(value, 'g', 15).toDouble();
}

// The shortest plain decimal text of `value` with at most 15 significant digits: no exponent,
// no trailing zeros or point, "0" before the point below 1.
QString PlainDecimal(double value)
{
    QString text = QString::number(value, 'g', 15);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e < 0)
        return text;
    const int exponent = text.mid(e + 1).toInt();
    QString mantissa = text.left(e);
    const bool negative = mantissa.startsWith(QLatin1Char('-'));
    if (negative)
        mantissa.remove(0, 1);
    QString digits = mantissa;
    digits.remove(QLatin1Char('.'));
    QString plain;
    if (exponent < 0) {
        plain = QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else {
        const int intDigits = exponent + 1;
        if (digits.size() <= intDigits)
            plain = digits + QString(intDigits - digits.size(), QLatin1Char('0'));
        else
            plain = digits.left(intDigits) + QLatin1Char('.') + digits.mid(intDigits);
    }
    return negative ? QLatin1Char('-') + plain : plain;
}

struct FieldMatch
{
    qsizetype keyAt = -1;
    QString value;
    bool finished = false; // a space ended the value before the text's end
};

FieldMatch FindField(const QString &text, const QString &key)
{
    FieldMatch match;
    // The key must leave at least one character after it, as a field always carries a value.
    match.keyAt = text.indexOf(key);
    if (match.keyAt < 0 || match.keyAt + key.size() >= text.size()) {
        match.keyAt = -1;
        return match;
    }
    const qsizetype start = match.keyAt + key.size();
    const qsizetype space = text.indexOf(kSpace, start);
    match.finished = space >= 0;
    match.value = text.mid(start, (space < 0 ? text.size() : space) - start);
    return match;
}

// The end of `text` that may be the start of a field the next chunk completes: from the last
// key whose value runs to the end, or else the longest end that begins a key.
QString UnfinishedTail(const QString &text)
{
    qsizetype from = -1;
    for (const QString &key : {kDurationKey, kTimeKey}) {
        const qsizetype at = text.lastIndexOf(key);
        if (at >= 0 && text.indexOf(kSpace, at + key.size()) < 0)
            from = std::max(from, at);
    }
    if (from >= 0)
        return text.size() - from <= kLongestField ? text.mid(from) : QString();
    for (qsizetype length = std::min<qsizetype>(text.size(), kDurationKey.size() - 1); length > 0; --length) {
        const QStringView end = QStringView(text).right(length);
        if (kDurationKey.startsWith(end) || kTimeKey.startsWith(end))
            return end.toString();
    }
    return {};
}

} // namespace

std::optional<double> ParseClock(const QString &text)
{
    // Plain decimal numbers only: no exponent, no "inf" or "nan". A file name echoed by the
    // converter can look like a field; such a text is not progress.
    static const QRegularExpression number(QStringLiteral("^-?\\d{1,12}(\\.\\d{0,12})?$"));
    const QStringList fields = text.split(QLatin1Char(':'));
    if (fields.size() < 3)
        return std::nullopt;
    QString secondsText = fields.at(2);
    if (secondsText.endsWith(QLatin1Char(',')))
        secondsText.chop(1);
    for (const QString &field : {fields.at(0), fields.at(1), secondsText}) {
        if (!number.match(field).hasMatch())
            return std::nullopt;
    }
    return fields.at(0).toDouble() * 3600 + fields.at(1).toDouble() * 60 + secondsText.toDouble();
}

std::optional<qint64> ParseClockSeconds(const QString &text)
{
    const std::optional<double> seconds = ParseClock(text);
    if (!seconds)
        return std::nullopt;
    // std::nearbyint rounds halves to the even neighbour in the default rounding mode; twelve
    // digits per field keep the value far inside the range of the result.
    return qint64(std::nearbyint(*seconds));
}

ProgressDisplay ProgressFor(qint64 positionSeconds, qint64 totalSeconds)
{
    if (totalSeconds <= 0 || positionSeconds >= totalSeconds)
        return {1.0, QStringLiteral("100%")};
    // A position before the start (some inputs report one) shows an empty bar.
    return ShareDisplay(double(std::max<qint64>(positionSeconds, 0)) / double(totalSeconds));
}

ProgressDisplay ShareDisplay(double share)
{
    if (share >= 1)
        return {1.0, QStringLiteral("100%")};
    const double rounded = RoundTo15Digits(std::max(share, 0.0));
    const double percent = RoundTo15Digits(rounded * 100);
    return {rounded, PlainDecimal(percent).left(4) + QLatin1Char('%')};
}

std::optional<ProgressDisplay> ConversionProgress::ReceiveOutputs(const QString &CommandOutputs,
                                                                  const CutterOptions &cutter)
{
    const QString text = m_unfinishedTail + CommandOutputs;
    m_unfinishedTail = UnfinishedTail(text);

    if (m_totalSeconds == 0) {
        if (cutter.CutterEnabled != 0) {
            m_totalSeconds = cutter.CutLengthSeconds;
        } else {
            // A duration that runs to the end of the text may be cut short: wait for the rest.
            const FieldMatch duration = FindField(text, kDurationKey);
            if (duration.keyAt >= 0 && duration.finished)
                m_totalSeconds = ParseClockSeconds(duration.value).value_or(0);
        }
    }

    const FieldMatch time = FindField(text, kTimeKey);
    if (time.keyAt < 0)
        return std::nullopt;
    // The display follows the first position of the chunk; how far the sound came is told by
    // every one of them (the last often comes right behind the first).
    for (qsizetype at = time.keyAt; at >= 0; at = text.indexOf(kTimeKey, at + 1)) {
        const std::optional<double> position = ParseClock(FindField(text.mid(at), kTimeKey).value);
        if (position)
            m_furthestPosition = std::max(m_furthestPosition, *position);
    }
    m_positionSeconds = ParseClockSeconds(time.value).value_or(0);
    return ProgressFor(m_positionSeconds, m_totalSeconds);
}

void ConversionProgress::CommandOver(QueueModel &queue)
{
    queue.RemoveHead();
    Reset();
}

void ConversionProgress::Reset()
{
    m_totalSeconds = 0;
    m_positionSeconds = 0;
    m_unfinishedTail.clear();
    m_furthestPosition = 0;
}
