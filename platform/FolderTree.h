#pragma once

#include <QString>

#include <functional>

namespace platform {

// Deletes `folder` with everything in it. It never follows a symbolic link (a link is removed
// as a name, the folder itself must not be one), never enters another file system mounted
// inside, and never changes the permissions of a file: only a folder that refuses to be
// listed or emptied is opened up, after a removal in it has failed. Entries that cannot be
// deleted stay, and then so does the folder; the walk always ends. `afterEachEntry` runs after
// every entry. True when the folder is gone.
bool RemoveFolderTree(const QString &folder, const std::function<void()> &afterEachEntry = {});

// True when `path` names a symbolic link (whatever it points at, or nothing).
bool IsSymLink(const QString &path);

} // namespace platform
