#include "ShellOpen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace platform {

void OpenFolderInShell(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void OpenAddressInShell(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace platform
