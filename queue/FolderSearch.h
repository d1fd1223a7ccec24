#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

// Appends to `list` the path of every file under `folder`, hidden files included: a folder's
// own files first, in name order (letter case aside), then the whole tree of each subfolder in
// the same order, however deep. A found path is the folder's path, a separator and the entry's
// name in its narrow form, whole (a name may end in a space). A link counts as what it leads
// to, and no folder is searched twice (however it is reached), so the walk always ends. Pipes, sockets and
// devices are no files to convert and are left out. A folder that cannot be listed adds nothing.
// `afterEachEntry` runs after every entry, so the window stays alive.
//
// A file whose path the narrow form changes (a name that is no text in the system's encoding,
// or one holding a character the converter's command line cannot carry) cannot be reached by
// that path: for such a file `rawPaths`, when given, gets its bytes under the index of its path
// in `list`. A folder whose path is too long for the system is not searched; `tooLong`, when
// given, gets its path.
void SearchFilesRecursive(const QString &folder, QStringList &list,
                          const std::function<void()> &afterEachEntry,
                          QHash<qsizetype, QByteArray> *rawPaths = nullptr, QStringList *tooLong = nullptr);
