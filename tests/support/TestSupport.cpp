#include "TestSupport.h"

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
    return m_dir.path() + QStringLiteral("/data/conv");
}

QString PutFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

void WriteScript(const QString &path, const QString &body)
{
    // A new file: a converter that is running keeps its own.
    QFile::remove(path);
    PutFile(path, "#!/bin/sh\n" + body.toUtf8() + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void FakeProgramFolder::WriteConverter(const QString &body) const
{
    WriteScript(ConverterPath(), body);
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

bool MakeTestClip(const QString &path, int seconds)
{
    const QString length = QString::number(seconds);
    int exitCode = -1;
    RunProgram(QStringLiteral("ffmpeg"),
               {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-f"),
                QStringLiteral("lavfi"), QStringLiteral("-i"),
                QStringLiteral("testsrc=size=160x120:rate=10:duration=") + length, QStringLiteral("-f"),
                QStringLiteral("lavfi"), QStringLiteral("-i"),
                QStringLiteral("sine=frequency=440:sample_rate=48000:duration=") + length,
                QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-c:v"), QStringLiteral("mpeg4"),
                QStringLiteral("-c:a"), QStringLiteral("aac"), QStringLiteral("-shortest"), path},
               &exitCode);
    return exitCode == 0 && QFile::exists(path);
}

AudioProbe ProbeAudio(const QString &path)
{
    AudioProbe probe;
    const QString stream = QString::fromUtf8(
        RunProgram(QStringLiteral("ffprobe"),
                   {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                    QStringLiteral("a:0"), QStringLiteral("-show_entries"),
                    QStringLiteral("stream=codec_name,sample_rate,channels"), QStringLiteral("-of"),
                    QStringLiteral("default=noprint_wrappers=1"), path}));
    for (const QString &line : stream.split(QLatin1Char('\n'))) {
        const QString value = line.section(QLatin1Char('='), 1);
        if (line.startsWith(QLatin1String("codec_name=")))
            probe.codec = value;
        else if (line.startsWith(QLatin1String("sample_rate=")))
            probe.sampleRate = value.toInt();
        else if (line.startsWith(QLatin1String("channels=")))
            probe.channels = value.toInt();
    }
    const QString packets = QString::fromUtf8(RunProgram(
        QStringLiteral("ffprobe"),
        {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
         QStringLiteral("a:0"), QStringLiteral("-show_entries"), QStringLiteral("packet=duration_time"),
         QStringLiteral("-of"), QStringLiteral("csv=p=0"), path}));
    for (const QString &line : packets.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        probe.seconds += line.trimmed().toDouble();
    return probe;
}
