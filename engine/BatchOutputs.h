#pragma once

#include <QHash>
#include <QSet>
#include <QString>

#include <utility>

// The files one batch reads and writes, so that no output ever replaces an input of the batch
// or an output the same batch has already written, however the paths are spelled. Each check
// costs the same however many files are queued.
class BatchOutputs
{
public:
    // A new batch: nothing read or written yet.
    void Clear();
    // A file the batch is to read: queued at the start, or added while it runs.
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

    Known m_inputs;
    Known m_outputs;
};
