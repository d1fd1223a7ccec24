#include "FolderSearch.h"

#include "CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <QDir>
#include <QDirIterator>
#include <QSet>

#include <algorithm>
#include <utility>

namespace {

// Deeper than any real library; a tree made deeper while it is searched ends here.
constexpr int kDeepestFolder = 256;

// A folder's identity on disk, so that one reached twice (a bind mount inside itself) is
// searched once.
using FolderId = std::pair<quint64, quint64>;

struct Entry
{
    QString name;
    QString key;         // the name folded to one letter case, for the order
    bool folder = false; // a folder reached without a link
};

// The entries of a folder, "." and ".." left out, in name order without regard to letter case.
QList<Entry> Listing(const QString &folder)
{
    QList<Entry> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        // A link to a folder counts as neither a file nor a folder to search.
        if (info.isSymLink() && info.isDir())
            continue;
        const QString name = info.fileName();
        entries.append({name, name.toCaseFolded(), info.isDir()});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return a.key != b.key ? a.key < b.key : a.name < b.name;
    });
    return entries;
}

void Search(const QString &folder, QStringList &list, const std::function<void()> &afterEachEntry,
            QSet<FolderId> &searched, int depth)
{
    if (depth > kDeepestFolder)
        return;
    const QChar sep = platform::PathSeparator();
    QStringList subfolders;
    for (const Entry &entry : Listing(folder)) {
        const QString path = folder + sep + NarrowForm(entry.name);
        if (entry.folder)
            subfolders.append(path);
        else
            list.append(path);
        if (afterEachEntry) {
            afterEachEntry();
            afterEachEntry();
        }
    }
    for (const QString &subfolder : std::as_const(subfolders)) {
        const platform::FileStamp stamp = platform::StampOf(subfolder);
        const FolderId id{stamp.device, stamp.number};
        if (!stamp.exists || searched.contains(id))
            continue;
        searched.insert(id);
        Search(subfolder, list, afterEachEntry, searched, depth + 1);
    }
}

} // namespace

void SearchFilesRecursive(const QString &folder, QStringList &list,
                          const std::function<void()> &afterEachEntry)
{
    const platform::FileStamp root = platform::StampOf(folder);
    QSet<FolderId> searched{{root.device, root.number}};
    Search(folder, list, afterEachEntry, searched, 0);
}
