#include "PathHelpers.h"

#include "platform/Paths.h"

QString FileNameOfPath(const QString &path)
{
    return path.mid(path.lastIndexOf(platform::PathSeparator()) + 1);
}

QString TitleOfPath(const QString &path)
{
    const QString name = FileNameOfPath(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : QString();
}

QString FormatCode(const QString &text)
{
    // Letter by letter, so that a letter whose capital is two letters ("ß") still counts as one.
    QString code = text.right(3);
    for (QChar &ch : code)
        ch = ch.toUpper();
    return code;
}

QString TrimSpaces(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == QLatin1Char(' '))
        ++start;
    while (end > start && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

QString MakeDisplayText(const QString &path, const CodePage &page)
{
    const QString narrow = page.Narrow(path);
    const qsizetype cut = narrow.lastIndexOf(platform::PathSeparator()) + 1;
    QString name = narrow.mid(cut);
    for (QChar &ch : name) {
        if (QStringView(u"/<>?\":*|").contains(ch))
            ch = QLatin1Char(' ');
    }
    return narrow.left(cut) + name;
}
