#include "FakeConverterSystem.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

#include <shellapi.h>

namespace fakeconv {
namespace {

std::string Utf8(const wchar_t *wide)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(std::size_t(size > 0 ? size - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring Wide(const std::string &utf8)
{
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(std::size_t(size > 0 ? size - 1 : 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), size);
    return wide;
}

std::wstring OwnWidePath()
{
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    return path;
}

} // namespace

void UseBinaryStreams()
{
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

std::vector<std::string> Arguments(int, char **)
{
    int count = 0;
    wchar_t **wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

std::string OwnPath()
{
    return Utf8(OwnWidePath().c_str());
}

long long ProcessId()
{
    return ::GetCurrentProcessId();
}

void StartHelper(const std::string &program, bool holdsOutput, const std::vector<std::string> &arguments)
{
    // The helpers' arguments hold no quotes: each is quoted whole.
    std::wstring commandLine = L"\"" + Wide(program) + L"\"";
    for (const std::string &argument : arguments)
        commandLine += L" \"" + Wide(argument) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (holdsOutput) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, holdsOutput, CREATE_NO_WINDOW,
                         nullptr, nullptr, &startup, &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}

void EndAbruptly(int signal)
{
    ::TerminateProcess(::GetCurrentProcess(), 0xC0000000u | unsigned(signal));
    ::ExitProcess(1);
}

} // namespace fakeconv
