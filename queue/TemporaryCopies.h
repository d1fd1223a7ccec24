#pragma once

#include "CodePage.h"

#include <QDateTime>
#include <QString>

struct QueuedInput
{
    QString path;
    bool copyFailed = false; // the copy could not be made: the entry cannot be converted
};

// The path to queue for a chosen file. A file the converter can reach by its own name is
// queued as it is; any other (a name the narrow code page cannot hold, a folder, a vanished
// file) is copied into `tempFolder` under its cleaned title + ".tmp", and the copy is queued,
// so that the output is still named after the title. Every copy path is taken for good, also
// when the copy fails, so no two entries ever share one: a colliding name gets a numbered
// folder of its own, found without trying every number again.
//
// `bytes`, when given, are the file's name on disk where `path` cannot say it (a name that is
// no text in the system's encoding): the copy is then made from them.
QueuedInput QueueInputPath(const QString &path, const QString &tempFolder,
                           const QDateTime &now = QDateTime::currentDateTime(),
                           const CodePage &page = CodePage::Active(), const QByteArray &bytes = {});

// The title a temporary copy is named after: the title's narrow form with the characters a
// file name cannot hold made spaces, at most 200 characters, or the moment of the add
// ("YYYYMMDD-HHMMSS") when nothing is left of it.
QString CleanedCopyTitle(const QString &path, const QDateTime &now, const CodePage &page);

// Creates the temporary folder when it is missing and marks it as the program's own.
void MakeTemporaryFolder(const QString &folder);

// Deletes the temporary folder with everything in it, read-only and hidden entries included,
// when it is the program's own: made and marked by MakeTemporaryFolder and not reached through a
// link. Links inside are removed, never followed; no other file system is entered. What cannot
// be deleted stays, and the walk still ends. The application keeps handling its events between
// entries.
void DeleteFolderTree(const QString &folder);
