// A stand-in for data/conv used by the benchmarks: runs the real converter with the same
// arguments and appends to a log, on the monotonic clock, when the run started and ended, so a
// benchmark can tell the converter's own time from the program's. Plain C++ without Qt, so that
// it adds next to nothing itself.
//
// The real converter and the log come from BRIMWAVE_BENCH_REAL_CONVERTER and
// BRIMWAVE_BENCH_CONVERTER_LOG (set by the benchmark, inherited through the program).
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

static long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000000000 + now.tv_nsec;
}

int main(int, char **argv)
{
    const char *log = std::getenv("BRIMWAVE_BENCH_CONVERTER_LOG");
    char *real = std::getenv("BRIMWAVE_BENCH_REAL_CONVERTER");
    if (!log || !real)
        return 127;
    const long long start = MonotonicNs();
    argv[0] = real;
    pid_t child = -1;
    int status = 0;
    rusage usage{};
    if (posix_spawn(&child, real, nullptr, nullptr, argv, environ) == 0) {
        while (wait4(child, &status, 0, &usage) < 0) {
        }
    }
    const long long end = MonotonicNs();
    // The converter's own CPU time and how often it gave way, by itself or made to.
    const long long cpuUs = (long long)(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000 +
                            usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    char line[128];
    const int length = std::snprintf(line, sizeof line, "%lld %lld %lld %ld %ld\n", start, end, cpuUs,
                                     usage.ru_nvcsw, usage.ru_nivcsw);
    const int fd = open(log, O_WRONLY | O_APPEND | O_CREAT, 0600);
    if (fd >= 0) {
        if (write(fd, line, size_t(length)) != length)
            std::perror("converter_wrapper");
        close(fd);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
