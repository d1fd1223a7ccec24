// What the tests need of Linux itself: a full disk on demand, a folder that takes no new file,
// test clips made and probed by the system's ffmpeg.
#include "TestSupport.h"

#include "platform/ProcessList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

QString CrashReason(int signal)
{
    return QStringLiteral("the converter stopped unexpectedly (signal %1)").arg(signal);
}

void UseRealConverter(const QString &converter)
{
    QFile::remove(converter);
    QFile::link(QCoreApplication::applicationDirPath() + QStringLiteral("/data/conv"), converter);
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

bool FileSizeLimit::Available()
{
    return true;
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

QList<EndRequest> SystemEndRequests()
{
    QList<EndRequest> requests;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        requests.append({QString::fromLatin1(::strsignal(signal)), [signal] {
                             ::raise(signal);
                         }});
    return requests;
}

bool MakeHardLink(const QString &target, const QString &link)
{
    return ::link(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
}

bool MakeSpecialFiles(const QString &path, const QString &zero, const QString &random)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 &&
           QFile::link(QStringLiteral("/dev/zero"), zero) &&
           QFile::link(QStringLiteral("/dev/urandom"), random);
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
                    QStringLiteral("stream=codec_name,sample_rate,channels,bit_rate"), QStringLiteral("-of"),
                    QStringLiteral("default=noprint_wrappers=1"), path}));
    for (const QString &line : stream.split(QLatin1Char('\n'))) {
        const QString value = line.section(QLatin1Char('='), 1);
        if (line.startsWith(QLatin1String("codec_name=")))
            probe.codec = value;
        else if (line.startsWith(QLatin1String("sample_rate=")))
            probe.sampleRate = value.toInt();
        else if (line.startsWith(QLatin1String("channels=")))
            probe.channels = value.toInt();
        else if (line.startsWith(QLatin1String("bit_rate=")))
            probe.bitrate = value.toInt();
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
