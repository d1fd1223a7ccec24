#include "TestSupport.h"

#include "platform/ProcessList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

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

void FakeProgramFolder::LinkRealConverter() const
{
    QFile::remove(ConverterPath());
    QFile::link(QCoreApplication::applicationDirPath() + QStringLiteral("/data/conv"), ConverterPath());
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    // Past the limit a write fails with EFBIG, where the system would otherwise end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_previous = qint64(limit.rlim_cur);
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_previous);
    setrlimit(RLIMIT_FSIZE, &limit);
}

namespace {

bool CanCreateIn(const QString &folder)
{
    QFile probe(folder + "/.probe");
    const bool created = probe.open(QIODevice::WriteOnly);
    probe.remove();
    return created;
}

} // namespace

FolderWithoutNewFiles::FolderWithoutNewFiles(const QString &folder) : m_folder(folder)
{
    // Write rights decide for an ordinary user; the administrator needs the immutable flag.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (!CanCreateIn(folder)) {
        m_active = true;
        return;
    }
    int code = -1;
    RunProgram(QStringLiteral("chattr"), {QStringLiteral("+i"), folder}, &code);
    m_immutable = code == 0;
    m_active = !CanCreateIn(folder);
}

FolderWithoutNewFiles::~FolderWithoutNewFiles()
{
    if (m_immutable)
        RunProgram(QStringLiteral("chattr"), {QStringLiteral("-i"), m_folder});
    QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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

bool StartStaleConverter(QProcess &process, const QString &folder)
{
    QDir().mkpath(folder);
    if (!QFile::link(QStringLiteral("/bin/sleep"), folder + QStringLiteral("/conv")))
        return false;
    process.start(folder + QStringLiteral("/conv"), {QStringLiteral("30")});
    return process.waitForStarted() &&
           QTest::qWaitFor([] { return platform::IsProcessNameRunning(QStringLiteral("conv")); }, 2000);
}
