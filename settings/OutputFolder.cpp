#include "OutputFolder.h"

#include "platform/FileSystem.h"

#include <QDir>

QString ResolveOutputFolder(const QString &text, const QString &defaultFolder, const QString &homeFolder)
{
    QString folder = QDir::fromNativeSeparators(text);
    if (folder.trimmed().isEmpty())
        folder = QDir::fromNativeSeparators(defaultFolder);
    if (folder == QLatin1String("~") || folder.startsWith(QLatin1String("~/")))
        folder = QDir::fromNativeSeparators(homeFolder) + folder.mid(1);
    // Qt takes a leading ':' for its own resources; on disk it is a name like any other.
    if (QDir::isRelativePath(folder) || folder.startsWith(QLatin1Char(':')))
        folder = QDir::fromNativeSeparators(homeFolder) + QLatin1Char('/') + folder;
    return QDir::toNativeSeparators(QDir::cleanPath(folder));
}

QString OutputFolderProblem(const QString &folder, const CodePage &page)
{
    // The converter gets the folder in its narrow form: a different folder must not be written.
    if (page.Narrow(folder) != folder)
        return QStringLiteral("its name holds characters the converter cannot take");
    return platform::MakeFolderPath(folder);
}
