// What the tests need of Linux itself: a full disk on demand, a folder that takes no new file,
// processes under the converter's name.
#include "TestSupport.h"

#include "platform/ProcessList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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
