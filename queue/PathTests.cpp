#include "PathTests.h"

#include <QFileInfo>

namespace {

bool Reachable(const QString &path, const CodePage &page)
{
    return !path.isEmpty() && page.Narrow(path) == path;
}

} // namespace

bool FolderExists(const QString &path, const CodePage &page)
{
    return Reachable(path, page) && QFileInfo(path).isDir();
}

bool FileExists(const QString &path, const CodePage &page)
{
    const QFileInfo info(path);
    return Reachable(path, page) && info.exists() && !info.isDir();
}
