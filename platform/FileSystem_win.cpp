#include "FileSystem.h"

#include "TextEncoding.h"

#include <QDir>
#include <QFileInfo>

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace platform {
namespace {

std::wstring Wide(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

bool IsReparsePoint(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Visits the entries of `folder` ("." and ".." left out), listed whole before any is changed.
template <typename Visit> bool ForEachEntry(const std::wstring &folder, Visit visit)
{
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    std::vector<WIN32_FIND_DATAW> entries;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            entries.push_back(found);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    for (const WIN32_FIND_DATAW &entry : entries)
        visit(entry);
    return true;
}

// Empties `folder`: reparse points (links, junctions, mounted volumes) go as names, never
// entered; a read-only file stays (its permissions are never changed).
void EmptyFolder(const std::wstring &folder, const std::function<void()> &afterEachEntry)
{
    ForEachEntry(folder, [&](const WIN32_FIND_DATAW &entry) {
        const std::wstring path = folder + L"\\" + entry.cFileName;
        const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder && !IsReparsePoint(entry.dwFileAttributes)) {
            EmptyFolder(path, afterEachEntry);
            ::RemoveDirectoryW(path.c_str());
        } else if (isFolder) {
            ::RemoveDirectoryW(path.c_str());
        } else {
            ::DeleteFileW(path.c_str());
        }
        if (afterEachEntry)
            afterEachEntry();
    });
}

struct Identity
{
    quint64 volume = 0;
    quint64 index = 0;
    qint64 size = 0;
    qint64 modified = 0; // 100-nanosecond units
};

// What the file or folder at `path` is, followed through links; none when it cannot be opened.
std::optional<Identity> IdentityOf(const std::wstring &path)
{
    HANDLE file = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = ::GetFileInformationByHandle(file, &info);
    ::CloseHandle(file);
    if (!read)
        return std::nullopt;
    Identity identity;
    identity.volume = info.dwVolumeSerialNumber;
    identity.index = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    identity.size = (qint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    identity.modified =
        (qint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    return identity;
}

} // namespace

bool RemoveFolderTree(const QString &folder, const std::function<void()> &afterEachEntry)
{
    const std::wstring path = Wide(folder);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        IsReparsePoint(attributes))
        return false;
    EmptyFolder(path, afterEachEntry);
    return ::RemoveDirectoryW(path.c_str()) != 0;
}

bool IsSymLink(const QString &path)
{
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && IsReparsePoint(attributes);
}

QString MakeFolderPath(const QString &folder)
{
    if (QDir().mkpath(folder) && QFileInfo(folder).isDir())
        return {};
    // Find the first part of the path that cannot be made, for the system's reason.
    QString built;
    for (const QString &part : QDir::cleanPath(QDir(folder).absolutePath()).split(QLatin1Char('/'))) {
        built += part + QLatin1Char('/');
        if (QFileInfo(built).isDir())
            continue;
        if (QFileInfo::exists(built))
            return qt_error_string(ERROR_DIRECTORY);
        if (!::CreateDirectoryW(Wide(built).c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return qt_error_string(int(::GetLastError()));
    }
    return QFileInfo(folder).isDir() ? QString() : qt_error_string(ERROR_PATH_NOT_FOUND);
}

FileStamp StampOf(const QString &path)
{
    FileStamp stamp;
    const std::optional<Identity> identity = path.isEmpty() ? std::nullopt : IdentityOf(Wide(path));
    if (!identity)
        return stamp;
    stamp.exists = true;
    stamp.device = identity->volume;
    stamp.number = identity->index;
    stamp.size = identity->size;
    // Windows counts from 1601 in 100 ns steps; the program's clock counts from 1970 (and 1601 in
    // nanoseconds would not fit).
    constexpr qint64 kFrom1601To1970 = 116444736000000000;
    stamp.modifiedNanoseconds = (identity->modified - kFrom1601To1970) * 100;
    return stamp;
}

QList<FolderEntry> ListFolder(const QByteArray &folder)
{
    QList<FolderEntry> entries;
    const std::wstring path = Wide(NameFromBytes(folder));
    ForEachEntry(path, [&](const WIN32_FIND_DATAW &found) {
        FolderEntry entry;
        entry.name = NameBytes(QString::fromWCharArray(found.cFileName));
        // A reparse point (a link, a junction, a mounted volume) is not followed.
        if (IsReparsePoint(found.dwFileAttributes)) {
            entry.kind = FolderEntry::Kind::Other;
        } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            entry.kind = FolderEntry::Kind::Folder;
            if (const std::optional<Identity> identity = IdentityOf(path + L"\\" + found.cFileName)) {
                entry.device = identity->volume;
                entry.number = identity->index;
            }
        } else {
            entry.kind = FolderEntry::Kind::File;
        }
        entries.append(entry);
    });
    return entries;
}

bool CopyFileByName(const QByteArray &source, const QString &target)
{
    const std::wstring copy = Wide(target);
    if (!::CopyFileW(Wide(NameFromBytes(source)).c_str(), copy.c_str(), FALSE))
        return false;
    // The copy is the program's own and goes with its folder: a read-only source's attribute
    // would keep it there (a read-only file is never deleted, nor its attribute changed).
    const DWORD attributes = ::GetFileAttributesW(copy.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(copy.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    return true;
}

} // namespace platform
