#include "ConverterJob_win.h"

namespace platform {
namespace {

// Made once and never closed by the program: the system closes it as the process ends.
HANDLE Job()
{
    static const HANDLE job = [] {
        HANDLE made = ::CreateJobObjectW(nullptr, nullptr);
        if (!made)
            return HANDLE(nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        ::SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return made;
    }();
    return job;
}

} // namespace

void PutInConverterJob(HANDLE process)
{
    if (HANDLE job = Job())
        ::AssignProcessToJobObject(job, process);
}

void EndConverterJob()
{
    if (HANDLE job = Job())
        ::TerminateJobObject(job, 1);
}

void PutInConverterJob(unsigned long processId)
{
    HANDLE process = ::OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, processId);
    if (!process)
        return;
    PutInConverterJob(process);
    ::CloseHandle(process);
}

} // namespace platform
