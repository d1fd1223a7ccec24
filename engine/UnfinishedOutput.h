#pragma once

#include "platform/FileSystem.h"

#include <QString>

// A note in the program's cache folder that names the output being written, so that a start
// after a crash or a power loss removes the file the converter left cut short, and only when
// it is still the file that conversion wrote.
class UnfinishedOutput
{
public:
    // No note is kept when `notePath` is empty.
    explicit UnfinishedOutput(QString notePath);

    // A conversion into `output` starts; `before` is what was there.
    void Note(const QString &output, const platform::FileStamp &before);
    // Once the converter has created its file, the note names that very file.
    void NoteWhenWritten();
    // The conversion has ended and what it left has been dealt with.
    void Clear();

    // At start-up, before any conversion: deletes the file a note names when that run wrote it
    // and nothing has replaced it since, then the note.
    static void RemoveLeftover(const QString &notePath);
    // Files converted side by side each have a note of their own: `notePath` for the first,
    // `notePath.2` for the second, and so on.
    static constexpr int kMostNotes = 16;
    static QString NoteOf(const QString &notePath, int slot);
    // RemoveLeftover for every one of them.
    static void RemoveLeftovers(const QString &notePath);

private:
    void Write(const platform::FileStamp *written) const;

    QString m_notePath;
    QString m_output;
    platform::FileStamp m_before;
    qint64 m_startNanoseconds = 0;
    bool m_writtenNoted = true;
};
