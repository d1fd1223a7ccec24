#include "ProcessList.h"

#include <QDir>
#include <QFile>

#include <functional>

#include <csignal>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace platform {
namespace {

struct ProcessEntry
{
    qint64 pid = 0;
    QString name;
    bool zombie = false;
};

// /proc/<pid>/stat reads "pid (comm) state ...": the name may hold spaces and parentheses,
// so the state is the first field after the last ')'.
bool ReadProcessEntry(const QString &pidText, ProcessEntry &entry)
{
    QFile stat(QStringLiteral("/proc/") + pidText + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.read(512);
    const qsizetype open = text.indexOf('(');
    const qsizetype close = text.lastIndexOf(')');
    if (open < 0 || close < open || close + 2 >= text.size())
        return false;
    entry.pid = pidText.toLongLong();
    QByteArray name = text.mid(open + 1, close - open - 1);
    const qsizetype nul = name.indexOf('\0');
    if (nul >= 0)
        name.truncate(nul);
    entry.name = QString::fromLocal8Bit(name);
    entry.zombie = text.at(close + 2) == 'Z' || text.at(close + 2) == 'X';
    return true;
}

// Belongs to the user the program runs as: another user's processes can neither be ended nor
// be ours to wait for.
bool OwnProcess(const QString &pidText)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(QStringLiteral("/proc/") + pidText).constData(), &info) == 0 &&
           info.st_uid == ::geteuid();
}

// Visits the processes of the current user.
void ForEachProcess(const std::function<void(const ProcessEntry &)> &visit)
{
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pidText : pids) {
        bool numeric = false;
        pidText.toLongLong(&numeric);
        ProcessEntry entry;
        if (numeric && OwnProcess(pidText) && ReadProcessEntry(pidText, entry))
            visit(entry);
    }
}

bool SameName(const QString &processName, const QString &wanted)
{
    return processName.toLower() == wanted.toLower();
}

} // namespace

QString ConverterProcessName()
{
    return QStringLiteral("conv");
}

bool IsProcessNameRunning(const QString &name)
{
    bool found = false;
    ForEachProcess([&](const ProcessEntry &entry) {
        if (!entry.zombie && SameName(entry.name, name))
            found = true;
    });
    return found;
}

int KillProcessByName(const QString &name)
{
    int signalled = 0;
    const qint64 self = getpid();
    ForEachProcess([&](const ProcessEntry &entry) {
        if (entry.pid == self || entry.zombie || !SameName(entry.name, name))
            return;
        if (::kill(static_cast<pid_t>(entry.pid), SIGKILL) == 0)
            ++signalled;
    });
    return signalled;
}

} // namespace platform
