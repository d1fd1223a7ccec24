#include "ChildProcess.h"

#include "ConverterJob_win.h"

#include <QDir>

#include <windows.h>

namespace platform {

QString CrashOfExitCode(int exitCode)
{
    // An exception's status: its two highest bits set (0xC0000005, an access violation).
    if ((unsigned(exitCode) & 0xC0000000u) != 0xC0000000u)
        return {};
    return QStringLiteral("exception 0x") + QString::number(unsigned(exitCode), 16).toUpper();
}

namespace {

constexpr DWORD kPipeBytes = 1024 * 1024;

// One argument as the C run-time's parser reads it back: quoted when it holds a space, a tab or
// a quote, with the backslashes before a quote (and before the closing one) doubled.
QString Quoted(const QString &argument)
{
    if (!argument.isEmpty() && !argument.contains(QLatin1Char(' ')) &&
        !argument.contains(QLatin1Char('\t')) && !argument.contains(QLatin1Char('"')))
        return argument;
    QString quoted = QStringLiteral("\"");
    int backslashes = 0;
    for (const QChar ch : argument) {
        if (ch == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        if (ch == QLatin1Char('"'))
            quoted += QString(backslashes * 2 + 1, QLatin1Char('\\'));
        else
            quoted += QString(backslashes, QLatin1Char('\\'));
        backslashes = 0;
        quoted += ch;
    }
    quoted += QString(backslashes * 2, QLatin1Char('\\'));
    quoted += QLatin1Char('"');
    return quoted;
}

HANDLE Handle(qint64 value)
{
    return reinterpret_cast<HANDLE>(value);
}

} // namespace

ChildProcess::~ChildProcess()
{
    Reap();
    CloseReadEnd();
    if (m_pid > 0)
        ::CloseHandle(Handle(m_pid));
}

ChildProcess::StartResult ChildProcess::Start(const QStringList &argv)
{
    m_ended = false;
    m_exitCode = -1;
    m_endSignal = 0;
    m_lastError = 0;
    if (argv.isEmpty()) {
        m_lastError = ERROR_FILE_NOT_FOUND;
        return StartResult::NotFound;
    }

    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    // Room for what a talkative converter prints between two polls.
    if (!::CreatePipe(&readEnd, &writeEnd, &inherited, kPipeBytes)) {
        m_lastError = int(::GetLastError());
        return StartResult::PipeFailed;
    }
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    // No input: the converter reads an empty device.
    HANDLE input = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                 OPEN_EXISTING, 0, nullptr);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    QStringList quoted;
    for (const QString &argument : argv)
        quoted << Quoted(argument);
    std::wstring commandLine = quoted.join(QLatin1Char(' ')).toStdWString();
    const std::wstring program = QDir::toNativeSeparators(argv.constFirst()).toStdWString();
    PROCESS_INFORMATION started{};
    // Suspended until it is in the job, so that nothing it starts escapes the job either.
    const BOOL made =
        ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                         CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &started);
    const DWORD error = made ? 0 : ::GetLastError();
    ::CloseHandle(writeEnd);
    if (input != INVALID_HANDLE_VALUE)
        ::CloseHandle(input);
    if (!made) {
        ::CloseHandle(readEnd);
        m_lastError = int(error);
        return StartResult::NotFound;
    }
    PutInConverterJob(started.hProcess);
    ::ResumeThread(started.hThread);
    ::CloseHandle(started.hThread);
    m_pid = reinterpret_cast<qint64>(started.hProcess);
    m_readEnd = reinterpret_cast<qint64>(readEnd);
    return StartResult::Started;
}

qint64 ChildProcess::BytesWaiting() const
{
    DWORD waiting = 0;
    if (m_readEnd == 0 || !::PeekNamedPipe(Handle(m_readEnd), nullptr, 0, nullptr, &waiting, nullptr))
        return 0;
    return waiting;
}

qint64 ChildProcess::Read(char *buffer, qint64 maxBytes)
{
    if (m_readEnd == 0)
        return -1;
    DWORD got = 0;
    if (!::ReadFile(Handle(m_readEnd), buffer, DWORD(maxBytes), &got, nullptr))
        return ::GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
    return got;
}

bool ChildProcess::Reap()
{
    if (m_ended || m_pid <= 0)
        return m_ended;
    if (::WaitForSingleObject(Handle(m_pid), 0) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    m_ended = true;
    // A crash gives an exception's status (0xC0000005 and the like) as the exit code.
    if (::GetExitCodeProcess(Handle(m_pid), &code))
        m_exitCode = int(code);
    return true;
}

void ChildProcess::Kill()
{
    if (m_ended || m_pid <= 0 || !::TerminateProcess(Handle(m_pid), 1))
        return;
    // Once the process has ended it writes nothing more.
    ::WaitForSingleObject(Handle(m_pid), INFINITE);
    m_ended = true;
    m_exitCode = -1;
}

void ChildProcess::CloseReadEnd()
{
    if (m_readEnd != 0)
        ::CloseHandle(Handle(m_readEnd));
    m_readEnd = 0;
}

} // namespace platform
