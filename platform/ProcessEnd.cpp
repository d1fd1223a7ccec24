#include "ProcessEnd.h"

#include <QList>

#include <cstdio>
#include <cstdlib>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace platform {
namespace {

QList<std::function<void()>> &Steps()
{
    static QList<std::function<void()>> steps;
    return steps;
}

} // namespace

void DoBeforeProcessEnd(std::function<void()> step)
{
    Steps().append(std::move(step));
}

void EndProcessNow()
{
    const QList<std::function<void()>> steps = std::exchange(Steps(), {});
    for (auto it = steps.crbegin(); it != steps.crend(); ++it)
        (*it)();
    std::fflush(nullptr);
    ::_exit(0);
}

} // namespace platform
