#pragma once

#include <QString>

namespace platform {

// Asks the desktop's shell to "open" a folder (the file manager shows it) or a web address (the
// default browser shows it), as a double click would; a failure is not reported.
void OpenFolderInShell(const QString &path);
void OpenAddressInShell(const QString &address);

} // namespace platform
