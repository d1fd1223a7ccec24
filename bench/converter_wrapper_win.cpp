// The Windows form of converter_wrapper.cpp: runs the real converter with this program's own
// command line (its first word replaced), with the same standard handles, and notes when the
// run started and ended on the performance counter every process shares.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

static long long MonotonicNs()
{
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return now.QuadPart / frequency.QuadPart * 1000000000 +
           now.QuadPart % frequency.QuadPart * 1000000000 / frequency.QuadPart;
}

// What follows the program's own name on its command line, as Windows splits the first word.
static const wchar_t *AfterProgramName(const wchar_t *line)
{
    if (*line == L'"') {
        const wchar_t *end = std::wcschr(line + 1, L'"');
        return end ? end + 1 : line + std::wcslen(line);
    }
    while (*line && *line != L' ' && *line != L'\t')
        ++line;
    return line;
}

static std::wstring Environment(const wchar_t *name)
{
    wchar_t value[32768];
    const DWORD length = ::GetEnvironmentVariableW(name, value, 32768);
    return length > 0 && length < 32768 ? std::wstring(value, length) : std::wstring();
}

int wmain()
{
    const std::wstring log = Environment(L"BRIMWAVE_BENCH_CONVERTER_LOG");
    const std::wstring real = Environment(L"BRIMWAVE_BENCH_REAL_CONVERTER");
    if (log.empty() || real.empty())
        return 127;
    const long long start = MonotonicNs();
    std::wstring line = L"\"" + real + L"\"" + AfterProgramName(::GetCommandLineW());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    DWORD code = 1;
    if (::CreateProcessW(real.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                         nullptr, &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    const long long end = MonotonicNs();
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%lld %lld\n", start, end);
    const HANDLE file = ::CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, text, DWORD(length), &written, nullptr);
        ::CloseHandle(file);
    }
    return int(code);
}
