#include "TestSupport.h"

#include "engine/ConverterCommand.h"
#include "engine/ConverterJob.h"
#include "platform/ProcessList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

QStringList RecordingMessages::Texts() const
{
    QStringList texts;
    for (const Message &m : shown)
        texts.append(m.text);
    return texts;
}

std::optional<platform::Dialogs::OpenFileResult> FakeDialogs::OpenFile(const OpenFileRequest &request)
{
    fileRequests.append(request);
    const std::optional<QString> answer = files.isEmpty() ? std::nullopt : files.takeFirst();
    if (!answer)
        return std::nullopt;
    return OpenFileResult{*answer, request.flags};
}

std::optional<QString> FakeDialogs::BrowseForFolder(QObject *, const QString &prompt,
                                                    const QString &startFolder)
{
    folderPrompts.append(prompt);
    folderStarts.append(startFolder);
    return folders.isEmpty() ? std::nullopt : folders.takeFirst();
}

void FakeShell::OpenFolder(const QString &path)
{
    log << QStringLiteral("open ") + path;
}

void FakeShell::PlaySoundFile(const QString &path)
{
    log << QStringLiteral("sound ") + path;
    if (whileSoundPlays)
        whileSoundPlays();
}

const QString &PrivateTestFolder()
{
    // Made once per test program, readable by its user only (QTemporaryDir's own rights).
    static const QTemporaryDir folder;
    static const QString path = folder.path();
    return path;
}

// The folder name holds spaces, as an installed program's folder may. It lies in the private
// test folder, so no part of its path before a space is a name another user could plant.
FakeProgramFolder::FakeProgramFolder()
    : m_dir(PrivateTestFolder() + QStringLiteral("/brimwave program XXXXXX"))
{
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
}

QString FakeProgramFolder::ConverterPath() const
{
    return ::ConverterPath(m_dir.path());
}

QString PutFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

void WriteFakeConverter(const QString &converter, const QString &steps)
{
    // Whatever is there is replaced, unless it runs (Windows keeps a running program's file):
    // then it is the fake already, and it reads its steps afresh on every run.
    QFile::remove(converter);
    QDir().mkpath(QFileInfo(converter).path());
    if (!QFileInfo::exists(converter))
        QFile::copy(::ConverterPath(QCoreApplication::applicationDirPath() + QStringLiteral("/fake")),
                    converter);
    const QFileInfo file(converter);
    PutFile(file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".steps"),
            steps.toUtf8());
}

bool RunToEnd(ConverterJob &job, const QString &commandLine)
{
    bool ended = false;
    QObject::connect(&job, &ConverterJob::Ended, [&] { ended = true; });
    return job.Start(commandLine) && QTest::qWaitFor([&] { return ended; }, 60000);
}

QString PlaceFakeNamed(const QString &name, const QString &steps)
{
    // The converter's own suffix is the system's for programs.
    const QString suffix = QFileInfo(::ConverterPath(QStringLiteral("."))).suffix();
    const QString program = suffix.isEmpty() ? name : name + QLatin1Char('.') + suffix;
    WriteFakeConverter(program, steps);
    return program;
}

bool StartFakeNamed(QProcess &process, const QString &name, const QString &steps)
{
    process.start(PlaceFakeNamed(name, steps), {});
    return process.waitForStarted();
}

bool StartStaleConverter(QProcess &process, const QString &folder)
{
    return StartFakeNamed(process, folder + QStringLiteral("/conv"), QStringLiteral("sleep 30000")) &&
           QTest::qWaitFor([] { return platform::IsProcessNameRunning(platform::ConverterProcessName()); },
                           2000);
}

void FakeProgramFolder::WriteConverter(const QString &steps) const
{
    WriteFakeConverter(ConverterPath(), steps);
}

QByteArray RunProgram(const QString &program, const QStringList &arguments, int *exitCode)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    process.waitForFinished(120000);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput();
}
