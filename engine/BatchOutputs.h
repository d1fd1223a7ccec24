#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <unordered_map>
#include <utility>

// The files one batch reads and writes, so that no output ever replaces an input of the batch
// or an output the same batch has already written, however the paths are spelled. Each check
// costs the same however many files are queued.
class BatchOutputs
{
public:
    // A new batch: nothing read or written yet (the queued files stay known).
    void Clear();
    // The queue's files, known as the queue changes, so that a batch's start walks nothing: a
    // queued file is an input of the batch that runs while it is queued.
    void Queued(const QStringList &paths);
    void Unqueued(const QString &path);
    // Every entry has left the queue at once.
    void QueueEmptied();
    // A queued path is booked, and its file's identity looked up, a little at a time after it
    // is queued (or at once when a check or a removal needs them): up to `count` more of each;
    // true while some are still to be booked or looked up.
    bool IdentifySome(int count);
    // A file the batch has read or is to read, also once it has left the queue.
    void AddInput(const QString &path);
    bool IsInput(const QString &path) const;

    // Where the output named `path` goes: `path` itself, unless this batch already writes or
    // wrote that file; then the first free `title (2).ext`, `title (3).ext`, ... beside it
    // (free: no file there, no input, nothing this batch writes). The place is taken at once.
    QString TakeOutput(const QString &path);
    // The conversion into `path` has ended: the file it left is this batch's, whatever path
    // later names it; when it left none, the name is free again.
    void OutputEnded(const QString &path);

private:
    using FileId = std::pair<quint64, quint64>;
    // A name in a folder, the folder known by its identity: however the folder is spelled.
    using Place = std::pair<FileId, QString>;
    struct Known
    {
        QSet<QString> paths;
        QSet<FileId> files;
        // Names held before their file exists (the output a converter is about to write).
        QSet<Place> places;
        void Add(const QString &path);
        void Hold(const QString &path);
        void Let(const QString &path);
        bool Holds(const QString &path) const;
    };

    bool IsQueued(const QString &path) const;

    Known m_inputs;
    Known m_outputs;
    // Each queued file by its clean absolute path: how many entries name it, and its identity
    // as it was queued (another name may reach the same file), counted by identity too.
    struct QueuedFile
    {
        int entries = 0;
        bool identified = false;
        std::optional<FileId> id;
    };
    void Book(qsizetype count) const;
    void BookAll() const { Book(m_unbooked.size()); }
    void Identify(const QString &cleanPath) const;

    // Booked and looked up as late as a check allows, so mutable.
    mutable QStringList m_unbooked;
    // Not noexcept, so that the standard library keeps each path's hash beside it (libstdc++
    // does): 100,000 paths that share a long folder are told apart without being hashed again.
    struct PathHash
    {
        size_t operator()(const QString &path) const { return qHash(path); }
    };
    mutable std::unordered_map<QString, QueuedFile, PathHash> m_queuedPaths;
    mutable QHash<FileId, int> m_queuedFiles;
    mutable QStringList m_unidentified;
};
