#include "PlainReasons.h"

#include <QFileInfo>

namespace {

bool Says(const QString &line, const char *words)
{
    return line.contains(QLatin1String(words), Qt::CaseInsensitive);
}

// Whether the converter's line is about the output (it names the output file or its folder).
bool AboutOutput(const QString &line, const QString &input, const QString &output)
{
    if (!output.isEmpty() && line.contains(output))
        return true;
    return !line.contains(input) && line.contains(QFileInfo(output).absolutePath());
}

} // namespace

QString DiskFullReason()
{
    return QStringLiteral("the output folder's disk is full");
}

QString PlainReason(const QString &converterLine, const QString &input, const QString &output)
{
    const QString &line = converterLine;
    if (Says(line, "No space left on device"))
        return DiskFullReason();
    if (Says(line, "does not contain any stream") || Says(line, "matches no streams") ||
        Says(line, "Output file is empty, nothing was encoded"))
        return QStringLiteral("has no sound track");
    if (Says(line, "Invalid data found when processing input") ||
        Says(line, "could not find codec parameters"))
        return QStringLiteral("is not an audio or video file");
    const bool aboutOutput = AboutOutput(line, input, output);
    if (Says(line, "Permission denied") || Says(line, "Operation not permitted"))
        return aboutOutput ? QStringLiteral("the output folder cannot be written: permission denied")
                           : QStringLiteral("cannot be read: permission denied");
    if (Says(line, "No such file or directory"))
        return aboutOutput ? QStringLiteral("the output folder is gone") : QStringLiteral("cannot be found");
    return {};
}
