#include "ProcessList.h"

#include "ConverterJob_win.h"

#include <functional>

#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

namespace platform {
namespace {

// The security identifier of the user a process runs as; empty when it cannot be read (another
// user's process, or one that has ended).
QByteArray UserOf(HANDLE process)
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &token))
        return {};
    QByteArray user;
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    QByteArray buffer(int(size), '\0');
    if (size > 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        const PSID sid = reinterpret_cast<TOKEN_USER *>(buffer.data())->User.Sid;
        user = QByteArray(static_cast<const char *>(sid), int(::GetLengthSid(sid)));
    }
    ::CloseHandle(token);
    return user;
}

const QByteArray &OurUser()
{
    static const QByteArray user = UserOf(::GetCurrentProcess());
    return user;
}

// Visits the live processes of the current user whose executable name equals `name` (without
// regard to case), each opened with `access`.
void ForEachNamed(const QString &name, DWORD access, const std::function<void(HANDLE, DWORD)> &visit)
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
        if (QString::fromWCharArray(entry.szExeFile).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        HANDLE process = ::OpenProcess(access | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                       entry.th32ProcessID);
        if (!process)
            continue;
        // Listed a moment ago, ended since: an ended process no longer runs.
        if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT && UserOf(process) == OurUser())
            visit(process, entry.th32ProcessID);
        ::CloseHandle(process);
    }
    ::CloseHandle(snapshot);
}

} // namespace

QString ConverterProcessName()
{
    return QStringLiteral("conv.exe");
}

bool IsProcessNameRunning(const QString &name)
{
    bool found = false;
    ForEachNamed(name, 0, [&](HANDLE, DWORD) { found = true; });
    return found;
}

int KillProcessByName(const QString &name)
{
    int ended = 0;
    const DWORD self = ::GetCurrentProcessId();
    ForEachNamed(name, PROCESS_TERMINATE, [&](HANDLE process, DWORD id) {
        if (id != self && ::TerminateProcess(process, 1))
            ++ended;
    });
    if (name.compare(ConverterProcessName(), Qt::CaseInsensitive) == 0)
        EndConverterJob();
    return ended;
}

} // namespace platform
