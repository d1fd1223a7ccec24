#pragma once

#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"

#include <QDir>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <ostream>

class ConverterJob;

// Lets test messages and failure reports show texts.
inline std::ostream &operator<<(std::ostream &os, const QString &text)
{
    return os << text.toStdString();
}
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Remembers every message instead of showing it.
class RecordingMessages : public platform::UserMessages
{
public:
    struct Message
    {
        QString text;
        QString title;
        Icon icon;
        QString details;
        QString action;
    };
    void Show(const QString &text, const QString &title, Icon icon) override
    {
        shown.append({text, title, icon, {}, {}});
    }
    // Answers with `answers` in turn, then as OK.
    Answer ShowWithDetails(const QString &text, const QString &details, const QString &title, Icon icon,
                           const QString &action) override
    {
        shown.append({text, title, icon, details, action});
        return answers.isEmpty() ? Answer::Dismissed : answers.takeFirst();
    }
    QStringList Texts() const;
    QList<Message> shown;
    QList<Answer> answers;
};

// Answers the file and folder choosers from lists the test fills; cancels when they run out.
class FakeDialogs : public platform::Dialogs
{
public:
    std::optional<OpenFileResult> OpenFile(const OpenFileRequest &request) override;
    std::optional<QString> BrowseForFolder(QObject *owner, const QString &prompt,
                                           const QString &startFolder) override;

    QList<std::optional<QString>> files;
    QList<std::optional<QString>> folders;
    QList<OpenFileRequest> fileRequests;
    QStringList folderPrompts;
    QStringList folderStarts;
};

// Records what the program asks of the desktop, in order.
class FakeShell : public platform::Shell
{
public:
    void OpenFolder(const QString &path) override;
    void OpenWebPage(const QString &address) override { log << QStringLiteral("web ") + address; }
    void PlaySoundFile(const QString &path) override;
    void EndProcess() override { log << QStringLiteral("end"); }

    QStringList log;
    std::function<void()> whileSoundPlays;
};

// Starts a process under the converter's name in `folder`, as an earlier run may have left one;
// false when it did not start.
bool StartStaleConverter(QProcess &process, const QString &folder);

// A way the system asks the program to end (a logout, `kill`, a closed terminal), and the call
// that asks this process so.
struct EndRequest
{
    QString name;
    std::function<void()> send;
};
QList<EndRequest> SystemEndRequests();

// Runs `job` on its own command line to its end; false when it did not start or end.
bool RunToEnd(ConverterJob &job, const QString &commandLine);

// The reason a batch gives for a fake converter that crashed with `crash SIGNAL`.
QString CrashReason(int signal);

// Makes `converter` the real converter beside the test program (a link, or a copy where links
// are no programs).
void UseRealConverter(const QString &converter);

// Puts the fake converter at `name` (a path without the system's program suffix) with `steps`;
// returns the program's path.
QString PlaceFakeNamed(const QString &name, const QString &steps);
// Starts it there; false when it did not start.
bool StartFakeNamed(QProcess &process, const QString &name, const QString &steps);

// `path` with the system's separators, as the program builds its own paths.
inline QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Writes `bytes` as the whole of the file at `path`, making its folders; returns the path. A file
// that cannot be written fails the test.
QString PutFile(const QString &path, const QByteArray &bytes = {});

// Makes `converter` the fake converter, which takes `steps` (one per line, as
// tests/fakeconv/FakeConverter.cpp lists them) when it runs.
void WriteFakeConverter(const QString &converter, const QString &steps);

// A folder for this test program's own files, open to its user alone; deleted at the end.
const QString &PrivateTestFolder();

// A program folder of its own, with a converter of the test's making in data/.
class FakeProgramFolder
{
public:
    FakeProgramFolder();
    QString Path() const { return m_dir.path(); }
    // Puts the fake converter in data/ with `steps` (see tests/fakeconv/FakeConverter.cpp).
    void WriteConverter(const QString &steps) const;
    QString ConverterPath() const;

private:
    QTemporaryDir m_dir;
};

// While it lives, files written by this process can grow to at most `bytes`: a disk that
// fills up, on demand.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    // False where the system has no such limit (Windows): then nothing changed.
    static bool Available();

private:
    qint64 m_previous = -1;
};

// While it lives, the folder takes no new file, though the files in it can still be written.
class FolderWithoutNewFiles
{
public:
    explicit FolderWithoutNewFiles(const QString &folder);
    ~FolderWithoutNewFiles();
    // False where this process has no way to lock the folder (then nothing changed).
    bool Active() const { return m_active; }

private:
    QString m_folder;
    bool m_immutable = false;
    bool m_active = false;
};

// A second name `link` for the file `target` (a hard link); false when it cannot be made.
bool MakeHardLink(const QString &target, const QString &link);

// A named pipe at `path`, or the system's endless devices under `zero` and `random`; false where
// the system has none of them (Windows).
bool MakeSpecialFiles(const QString &path, const QString &zero, const QString &random);

// Runs a program to its end without a shell and returns its standard output.
QByteArray RunProgram(const QString &program, const QStringList &arguments, int *exitCode = nullptr);

// A short clip made by the converter's own test sources: `seconds` long, with video and
// stereo 48 kHz audio.
bool MakeTestClip(const QString &path, int seconds);

struct AudioProbe
{
    QString codec;
    int sampleRate = 0;
    int channels = 0;
    double seconds = 0; // summed packet durations of the first audio stream
    int bitrate = 0;    // bits per second, as the stream states it
};
AudioProbe ProbeAudio(const QString &path);
