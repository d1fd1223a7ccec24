#include "FolderSearch.h"

#include "CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/TextEncoding.h"

#include <QFile>
#include <QSet>

#include <algorithm>
#include <utility>

namespace {

// A folder's identity on disk, so that one reached twice (a bind mount inside itself) is
// searched once.
using FolderId = std::pair<quint64, quint64>;

struct Entry
{
    QString name;
    QString key; // the name folded to one letter case, for the order
    platform::FolderEntry found;
    bool readsBack; // the name gives back the entry's own bytes
};

// A folder still to search: its path as the queue shows it, and its bytes on disk.
struct Pending
{
    QString path;
    QByteArray bytes;
    bool unreachable = false; // a name on the way changes in the narrow form
    FolderId id;
};

// The entries of a folder in name order without regard to letter case.
QList<Entry> Listing(const QByteArray &folder)
{
    QList<platform::FolderEntry> listed = platform::ListFolder(folder);
    QList<Entry> entries;
    entries.reserve(listed.size());
    for (platform::FolderEntry &found : listed) {
        const QString name = platform::NameFromBytes(found.name);
        // Every system reads ASCII bytes as the same characters and back.
        const bool ascii =
            std::all_of(found.name.cbegin(), found.name.cend(), [](char byte) { return uchar(byte) < 0x80; });
        const bool readsBack = ascii || platform::NameBytes(name) == found.name;
        entries.append({name, name.toCaseFolded(), std::move(found), readsBack});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return a.key != b.key ? a.key < b.key : a.name < b.name;
    });
    return entries;
}

} // namespace

void SearchFilesRecursive(const QString &folder, QStringList &list,
                          const std::function<void()> &afterEachEntry, QHash<qsizetype, QByteArray> *rawPaths,
                          QStringList *tooLong)
{
    const QChar sep = platform::PathSeparator();
    const QByteArray sepBytes = platform::NameBytes(QString(sep));
    const platform::FileStamp root = platform::StampOf(folder);
    QSet<FolderId> searched;
    // Searched from a stack of its own, not the call stack: no tree is too deep.
    QList<Pending> stack{
        {folder, platform::NameBytes(folder), NarrowForm(folder) != folder, {root.device, root.number}}};
    while (!stack.isEmpty()) {
        const Pending current = stack.takeLast();
        if (searched.contains(current.id))
            continue;
        searched.insert(current.id);
        if (current.bytes.size() >= platform::kLongestPath) {
            if (tooLong)
                tooLong->append(current.path);
            continue;
        }
        QList<Pending> subfolders;
        for (const Entry &entry : Listing(current.bytes)) {
            const QString narrow = NarrowForm(entry.name);
            const QString path = current.path + sep + narrow;
            const bool unreachable = current.unreachable || narrow != entry.name || !entry.readsBack;
            const auto bytes = [&] {
                return current.bytes + sepBytes + entry.found.name;
            };
            if (entry.found.kind == platform::FolderEntry::Kind::Folder) {
                subfolders.append({path, bytes(), unreachable, {entry.found.device, entry.found.number}});
            } else if (entry.found.kind == platform::FolderEntry::Kind::File) {
                if (unreachable && rawPaths)
                    rawPaths->insert(list.size(), bytes());
                list.append(path);
            }
            if (afterEachEntry) {
                afterEachEntry();
                afterEachEntry();
            }
        }
        // The first subfolder is searched next, with its whole tree, then the second...
        std::reverse(subfolders.begin(), subfolders.end());
        stack.append(subfolders);
    }
}
