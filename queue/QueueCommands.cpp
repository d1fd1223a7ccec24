#include "QueueCommands.h"

#include "platform/Paths.h"
#include "queue/FolderSearch.h"
#include "queue/QueueEntries.h"
#include "queue/TemporaryCopies.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>

namespace {

// How often a folder search lets the window handle its events.
constexpr int kSearchPumpMilliSeconds = 5;

} // namespace

QueueCommands::QueueCommands(QueueModel &queue, AskForFile askForFile, AskForFolder askForFolder,
                             QString tempFolder, QObject *parent)
    : QObject(parent), m_queue(queue), m_askForFile(std::move(askForFile)),
      m_askForFolder(std::move(askForFolder)), m_tempFolder(std::move(tempFolder))
{
}

bool QueueCommands::AddFile()
{
    if (m_searching)
        return false;
    // The dialog opens where the user last took a file from in this run.
    const std::optional<QString> path =
        m_askForFile(m_lastAddFolder.isEmpty() ? QDir::homePath() : m_lastAddFolder);
    if (!path || path->isEmpty())
        return false;
    m_lastAddFolder = QFileInfo(*path).absolutePath();
    MakeTemporaryFolder(m_tempFolder);
    m_queue.Append(DialogEntry(*path, m_tempFolder));
    return true;
}

void QueueCommands::AddFolder(const std::function<void()> &pump)
{
    if (m_searching)
        return;
    const std::optional<QString> folder = m_askForFolder(m_lastAddFolder);
    m_searching = true;
    emit SearchStarted();
    if (folder) {
        m_lastAddFolder = *folder;
        // The search offers the window its events twice per entry; handling them at the first
        // entry and then every few milliseconds keeps it just as alive at a fraction of the cost.
        QElapsedTimer clock;
        clock.start();
        qint64 nextPump = 0;
        QHash<qsizetype, QByteArray> rawPaths;
        QStringList tooLong;
        SearchFilesRecursive(
            *folder, m_lstAddFolder,
            [&] {
                if (clock.elapsed() >= nextPump) {
                    pump();
                    nextPump = clock.elapsed() + kSearchPumpMilliSeconds;
                }
            },
            &rawPaths, &tooLong);
        m_queue.Append(FoundFileEntries(m_lstAddFolder, rawPaths, m_tempFolder));
        if (!tooLong.isEmpty()) {
            emit FoldersNotSearched(tooLong,
                                    QStringLiteral("their paths are longer than the system takes (%1)")
                                        .arg(platform::LongestPathText()));
        }
    }
    m_lstAddFolder.clear();
    emit SearchEnded();
    m_searching = false;
    if (!m_filesWaiting.isEmpty())
        QueueGiven(std::exchange(m_filesWaiting, {}));
}

bool QueueCommands::RemoveRow(std::optional<int> selectedRow)
{
    if (m_searching)
        return false;
    if (selectedRow)
        m_queue.RemoveRow(*selectedRow);
    return true;
}

bool QueueCommands::RemoveAll()
{
    if (m_searching)
        return false;
    // One step, so no other handler ever sees a half-emptied queue.
    m_queue.RemoveAll();
    return true;
}

void QueueCommands::QueueGiven(const QStringList &files)
{
    if (m_searching) {
        m_filesWaiting += files;
        return;
    }
    emit FilesGiven(files);
}
