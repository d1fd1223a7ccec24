#pragma once

#include <QString>

#include <functional>

namespace platform {

// Deletes `folder` with everything in it. It never follows a symbolic link (a link is removed
// as a name, the folder itself must not be one), never enters anything mounted inside
// (another file system, or a bind mount of the same one), and never changes the permissions of a file: only a
// folder that refuses to be listed or emptied is opened up, after a removal in it has failed. Entries that
// cannot be deleted stay, and then so does the folder; the walk always ends. `afterEachEntry` runs after
// every entry. True when the folder is gone.
bool RemoveFolderTree(const QString &folder, const std::function<void()> &afterEachEntry = {});

// True when `path` names a symbolic link (whatever it points at, or nothing).
bool IsSymLink(const QString &path);

// Creates `folder` with every missing folder above it. Empty when the folder is there now;
// otherwise the system's reason.
QString MakeFolderPath(const QString &folder);

// What a file is at one moment, to tell later whether it has been written since.
struct FileStamp
{
    bool exists = false;
    quint64 device = 0;
    quint64 number = 0;
    qint64 size = 0;
    qint64 modifiedNanoseconds = 0;
    bool operator==(const FileStamp &other) const
    {
        return exists == other.exists && device == other.device && number == other.number &&
               size == other.size && modifiedNanoseconds == other.modifiedNanoseconds;
    }
};
FileStamp StampOf(const QString &path);

// One entry of a folder, by the bytes of its name.
struct FolderEntry
{
    enum class Kind {
        File,   // a regular file, or a link to one
        Folder, // a folder, or a link to one
        Other   // a pipe, a socket, a device, or a broken link
    };
    QByteArray name;
    Kind kind = Kind::Other;
    quint64 device = 0; // of a folder: its identity, so that none is searched twice
    quint64 number = 0;
};

// The entries of the folder at the bytes `folder` (which may be a link to a folder), "." and
// ".." left out, in the order the system gives them; none when it cannot be listed. Bytes,
// because a name need not be text in the system's encoding.
QList<FolderEntry> ListFolder(const QByteArray &folder);

// Copies the file at the bytes `source` into `target` whole; false when it cannot be read or
// written whole. Reaches a file whose name is no text in the system's encoding.
bool CopyFileByName(const QByteArray &source, const QString &target);

} // namespace platform
