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
    return text.right(3).toUpper();
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
