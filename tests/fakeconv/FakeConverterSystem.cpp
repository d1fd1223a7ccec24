#include "FakeConverterSystem.h"

#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace fakeconv {

void UseBinaryStreams() {}

std::vector<std::string> Arguments(int argc, char **argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string OwnPath()
{
    char path[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, std::size_t(length)) : std::string();
}

long long ProcessId()
{
    return ::getpid();
}

void StartHelper(const std::string &program, bool holdsOutput, const std::vector<std::string> &arguments)
{
    if (::fork() == 0) {
        if (!holdsOutput) {
            const int nowhere = ::open("/dev/null", O_WRONLY);
            ::dup2(nowhere, STDOUT_FILENO);
            ::dup2(nowhere, STDERR_FILENO);
        }
        std::vector<char *> argv{const_cast<char *>(program.c_str())};
        for (const std::string &argument : arguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
}

void EndAbruptly(int signal)
{
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    ::_exit(128 + signal);
}

} // namespace fakeconv
