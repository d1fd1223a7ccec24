// What the tests need of Windows itself. Windows has no limit on a file's size for one process
// and no immutable flag: those tests say they cannot run here. Clips come from the build
// machine, and the converter probes what it wrote.
#include "TestSupport.h"

#include "platform/ProcessList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <windows.h>

QString CrashReason(int signal)
{
    // The fake converter's crash ends it with an exception's status.
    return QStringLiteral("the converter stopped unexpectedly (exception 0xC%1)")
        .arg(signal, 7, 10, QLatin1Char('0'));
}

void UseRealConverter(const QString &converter)
{
    QFile::remove(converter);
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/data/conv.exe"), converter);
}

FileSizeLimit::FileSizeLimit(qint64) {}

FileSizeLimit::~FileSizeLimit() = default;

bool FileSizeLimit::Available()
{
    return false;
}

FolderWithoutNewFiles::FolderWithoutNewFiles(const QString &folder) : m_folder(folder) {}

FolderWithoutNewFiles::~FolderWithoutNewFiles() = default;

QList<EndRequest> SystemEndRequests()
{
    // The session's end, as Windows tells every program's message queue.
    return {{QStringLiteral("session end"), [] {
                 ::PostThreadMessageW(::GetCurrentThreadId(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
             }}};
}

bool MakeHardLink(const QString &target, const QString &link)
{
    return ::CreateHardLinkW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(link).utf16()),
                             reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(target).utf16()),
                             nullptr) != 0;
}

bool MakeSpecialFiles(const QString &, const QString &, const QString &)
{
    return false;
}

// The clips were made beside the test programs by the build machine's ffmpeg (clips/<seconds>s.<suffix>).
bool MakeTestClip(const QString &path, int seconds)
{
    const QString made = QCoreApplication::applicationDirPath() +
                         QStringLiteral("/clips/%1s.%2").arg(seconds).arg(QFileInfo(path).suffix());
    QFile::remove(path);
    return QFile::copy(made, path);
}

namespace {

// What the converter beside the test programs prints on its error output for `arguments`.
QString ConverterReport(const QStringList &arguments)
{
    QProcess converter;
    converter.setProcessChannelMode(QProcess::MergedChannels);
    converter.start(QCoreApplication::applicationDirPath() + QStringLiteral("/data/conv.exe"), arguments);
    converter.waitForFinished(120000);
    return QString::fromUtf8(converter.readAll());
}

} // namespace

// The converter itself reads the file: its description of the first audio stream, and the
// length of that stream decoded whole.
AudioProbe ProbeAudio(const QString &path)
{
    AudioProbe probe;
    const QString report =
        ConverterReport({QStringLiteral("-hide_banner"), QStringLiteral("-i"), QDir::toNativeSeparators(path),
                         QStringLiteral("-map"), QStringLiteral("0:a:0"), QStringLiteral("-f"),
                         QStringLiteral("wav"), QStringLiteral("-y"), QStringLiteral("NUL")});
    // "Stream #0:0: Audio: mp3, 22050 Hz, mono, fltp, 64 kb/s"
    const QRegularExpression stream(
        QStringLiteral("Stream #0:\\d+[^:]*: Audio: (\\w+)[^,]*, (\\d+) Hz, (\\w+)"
                       "(?:[^\\n]*?, (\\d+) kb/s)?"));
    const QRegularExpressionMatch match = stream.match(report);
    if (!match.hasMatch())
        return probe;
    probe.codec = match.captured(1);
    probe.sampleRate = match.captured(2).toInt();
    const QString layout = match.captured(3);
    probe.channels = layout == QStringLiteral("mono") ? 1 : layout == QStringLiteral("stereo") ? 2 : 0;
    probe.bitrate = match.captured(4).toInt() * 1000;
    // The last progress line states how far the decoding got: "time=00:00:03.99".
    const QRegularExpression time(QStringLiteral("time=(\\d+):(\\d+):(\\d+\\.\\d+)"));
    for (QRegularExpressionMatchIterator it = time.globalMatch(report); it.hasNext();) {
        const QRegularExpressionMatch at = it.next();
        probe.seconds =
            at.captured(1).toInt() * 3600 + at.captured(2).toInt() * 60 + at.captured(3).toDouble();
    }
    return probe;
}
