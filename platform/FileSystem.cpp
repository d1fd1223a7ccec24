#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Deeper trees than this are left alone rather than running out of open files.
constexpr int kDeepestLevel = 200;

// The entries of an open folder, read once; the folder is changed only after the listing. With
// `plainFiles`, whether the folder says each is a plain file (no link), so it need not be asked.
std::vector<std::string> Names(int folderFd, std::vector<bool> *plainFiles = nullptr)
{
    std::vector<std::string> names;
    const int listFd = ::dup(folderFd);
    if (listFd < 0)
        return names;
    DIR *dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return names;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        names.push_back(name);
        if (plainFiles)
            plainFiles->push_back(entry->d_type == DT_REG);
    }
    ::closedir(dir);
    return names;
}

// Opens a subfolder without following a link; a subfolder that refuses to be opened (no read or
// search right) is opened up once: a folder cannot be hard-linked, so nothing else changes.
int OpenSubfolder(int parentFd, const char *name)
{
    int fd = ::openat(parentFd, name, kOpenFolder);
    if (fd < 0 && errno == EACCES && ::fchmodat(parentFd, name, S_IRWXU, 0) == 0)
        fd = ::openat(parentFd, name, kOpenFolder);
    return fd;
}

// The mount an open folder belongs to; none when the system cannot tell. A bind mount has the
// device number of the file system it shows, so only this tells it from a plain folder.
std::optional<quint64> MountOf(int folderFd)
{
    struct statx info
    {
    };
    if (::statx(folderFd, "", AT_EMPTY_PATH, STATX_MNT_ID, &info) == 0 && (info.stx_mask & STATX_MNT_ID))
        return info.stx_mnt_id;
    QFile fdInfo(QStringLiteral("/proc/self/fdinfo/%1").arg(folderFd));
    if (fdInfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : fdInfo.readAll().split('\n')) {
            if (line.startsWith("mnt_id:"))
                return line.mid(7).trimmed().toULongLong();
        }
    }
    return std::nullopt;
}

// Where a walk may go: one file system, and on it one mount.
struct Boundary
{
    dev_t device;
    std::optional<quint64> mount;
    bool Holds(int folderFd, const struct stat &info) const
    {
        return info.st_dev == device && (!mount || MountOf(folderFd) == mount);
    }
};

bool Unlink(int parentFd, const char *name, int flags)
{
    if (::unlinkat(parentFd, name, flags) == 0)
        return true;
    if (errno != EACCES && errno != EPERM)
        return false;
    // The folder itself refuses changes: give it write and search rights, then try again.
    struct stat own
    {
    };
    if (::fstat(parentFd, &own) != 0 || ::fchmod(parentFd, own.st_mode | S_IRWXU) != 0)
        return false;
    return ::unlinkat(parentFd, name, flags) == 0;
}

void EmptyFolder(int folderFd, const Boundary &boundary, int level,
                 const std::function<void()> &afterEachEntry)
{
    for (const std::string &name : Names(folderFd)) {
        struct stat info
        {
        };
        if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            if (!S_ISDIR(info.st_mode)) {
                Unlink(folderFd, name.c_str(), 0);
            } else if (info.st_dev == boundary.device && level < kDeepestLevel) {
                const int subFd = OpenSubfolder(folderFd, name.c_str());
                struct stat opened
                {
                };
                // The same folder that was looked at, not one swapped in since, and no mount point.
                if (subFd >= 0 && ::fstat(subFd, &opened) == 0 && opened.st_dev == info.st_dev &&
                    opened.st_ino == info.st_ino && boundary.Holds(subFd, opened)) {
                    EmptyFolder(subFd, boundary, level + 1, afterEachEntry);
                    Unlink(folderFd, name.c_str(), AT_REMOVEDIR);
                }
                if (subFd >= 0)
                    ::close(subFd);
            }
        }
        if (afterEachEntry)
            afterEachEntry();
    }
}

} // namespace

bool RemoveFolderTree(const QString &folder, const std::function<void()> &afterEachEntry)
{
    const QByteArray path = QFile::encodeName(folder);
    const int fd = ::open(path.constData(), kOpenFolder);
    if (fd < 0)
        return false;
    struct stat info
    {
    };
    if (::fstat(fd, &info) == 0)
        EmptyFolder(fd, Boundary{info.st_dev, MountOf(fd)}, 0, afterEachEntry);
    ::close(fd);
    return ::rmdir(path.constData()) == 0;
}

bool IsSymLink(const QString &path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

} // namespace platform

namespace platform {

QString MakeFolderPath(const QString &folder)
{
    if (QDir().mkpath(folder) && QFileInfo(folder).isDir())
        return {};
    // Find the first part of the path that cannot be made, for the system's reason.
    QString built;
    for (const QString &part : QDir::cleanPath(QDir(folder).absolutePath()).split(QLatin1Char('/'))) {
        built += part + QLatin1Char('/');
        const QByteArray path = QFile::encodeName(built);
        struct stat info
        {
        };
        if (::stat(path.constData(), &info) == 0) {
            if (!S_ISDIR(info.st_mode))
                return qt_error_string(ENOTDIR);
            continue;
        }
        if (::mkdir(path.constData(), 0777) != 0 && errno != EEXIST)
            return qt_error_string(errno);
    }
    return QFileInfo(folder).isDir() ? QString() : qt_error_string(ENOENT);
}

FileStamp StampOf(const QString &path)
{
    FileStamp stamp;
    struct stat info
    {
    };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = quint64(info.st_dev);
    stamp.number = quint64(info.st_ino);
    stamp.size = qint64(info.st_size);
    stamp.modifiedNanoseconds = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return stamp;
}

} // namespace platform

namespace platform {

QList<FolderEntry> ListFolder(const QByteArray &folder)
{
    QList<FolderEntry> entries;
    // The folder itself may be reached through a link, as any folder the search enters.
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return entries;
    std::vector<bool> plainFiles;
    const std::vector<std::string> names = Names(fd, &plainFiles);
    entries.reserve(qsizetype(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string &name = names[i];
        FolderEntry entry;
        entry.name = QByteArray::fromStdString(name);
        if (plainFiles[i]) {
            entry.kind = FolderEntry::Kind::File;
            entries.append(entry);
            continue;
        }
        struct stat info
        {
        };
        // A link counts as what it leads to; a folder is known by its own identity.
        if (::fstatat(fd, name.c_str(), &info, 0) == 0) {
            if (S_ISDIR(info.st_mode)) {
                entry.kind = FolderEntry::Kind::Folder;
                entry.device = quint64(info.st_dev);
                entry.number = quint64(info.st_ino);
            } else if (S_ISREG(info.st_mode)) {
                entry.kind = FolderEntry::Kind::File;
            }
        }
        entries.append(entry);
    }
    ::close(fd);
    return entries;
}

bool CopyFileByName(const QByteArray &source, const QString &target)
{
    const int from = ::open(source.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (from < 0)
        return false;
    struct stat info
    {
    };
    QFile to(target);
    bool whole = ::fstat(from, &info) == 0 && S_ISREG(info.st_mode) && to.open(QIODevice::WriteOnly);
    char buffer[64 * 1024];
    while (whole) {
        ssize_t got;
        do {
            got = ::read(from, buffer, sizeof buffer);
        } while (got < 0 && errno == EINTR);
        if (got == 0)
            break;
        whole = got > 0 && to.write(buffer, got) == got;
    }
    ::close(from);
    return whole && to.flush();
}

} // namespace platform
