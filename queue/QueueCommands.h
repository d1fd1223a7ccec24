#pragma once

#include "queue/QueueModel.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The commands that fill and empty the queue: add a file, add a folder, remove the selected
// file, remove them all, and files handed over by a later start. While a folder search runs,
// none of them changes the queue (the search is the queue's only writer then): commands are
// ignored, handed files wait for its end.
class QueueCommands : public QObject
{
    Q_OBJECT
public:
    // Shows the open dialog starting in a folder; the chosen path, or none.
    using AskForFile = std::function<std::optional<QString>(const QString &startFolder)>;
    // Shows the folder browser starting in a folder; the chosen folder, or none.
    using AskForFolder = std::function<std::optional<QString>(const QString &startFolder)>;

    QueueCommands(QueueModel &queue, AskForFile askForFile, AskForFolder askForFolder, QString tempFolder,
                  QObject *parent = nullptr);

    bool IsSearching() const { return m_searching; }
    // Asks for a file and queues it; true when one was queued.
    bool AddFile();
    // Asks for a folder and queues every file under it. `pump` lets the window handle its
    // events during the search.
    void AddFolder(const std::function<void()> &pump);
    // Removing answers false when a search holds the queue and nothing was done.
    bool RemoveRow(std::optional<int> selectedRow);
    bool RemoveAll();
    // Files given on the command line or by a later start; during a search they wait for its end.
    void QueueGiven(const QStringList &files);
    // The files a running folder search has found so far; empty outside one.
    const QStringList &lstAddFolder() const { return m_lstAddFolder; }

signals:
    void SearchStarted();
    void SearchEnded();
    // Given files are ready to be queued, as if dropped on the start panel.
    void FilesGiven(const QStringList &files);
    // A folder search met folders it could not search, for this reason: their files are not queued.
    void FoldersNotSearched(const QStringList &folders, const QString &reason);

private:
    QueueModel &m_queue;
    AskForFile m_askForFile;
    AskForFolder m_askForFolder;
    QString m_tempFolder;
    // The folder the user last added from in this run (a file's folder, or a whole folder).
    QString m_lastAddFolder;
    QStringList m_lstAddFolder;
    QStringList m_filesWaiting;
    bool m_searching = false;
};
