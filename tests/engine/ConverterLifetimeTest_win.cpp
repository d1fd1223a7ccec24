// How the converter's process relates to the program's on Windows: the converters, and what
// they start, end with the program however it ends, and with a Stop whatever their names.
#include "TestSupport.h"
#include "engine/ConverterJob.h"
#include "platform/ChildProcess.h"
#include "platform/ProcessList.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// Set for the copy of this program that plays the program to be killed: the converter to start
// and how many side by side.
constexpr char kActAsProgram[] = "BRIMWAVE_TEST_START_CONVERTERS";

// Whether the process `pid` ends soon; one that does not is ended, so no test leaves it behind.
bool EndsSoon(qint64 pid)
{
    const HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, DWORD(pid));
    if (!process)
        return true;
    const bool ended = ::WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    if (!ended)
        ::TerminateProcess(process, 1);
    ::CloseHandle(process);
    return ended;
}

// The lines of `path` once it holds `count` of them (fewer when they never come).
QList<QByteArray> LinesOnce(const QString &path, int count)
{
    QList<QByteArray> lines;
    (void)QTest::qWaitFor(
        [&] {
            QFile file(path);
            const QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
            lines = text.isEmpty() ? QList<QByteArray>() : text.split('\n');
            return lines.size() >= count;
        },
        30000);
    return lines;
}

// As the program: starts the converters as one at a time does, or two side by side, and waits
// to be killed.
void StartConvertersAndWait(const QString &converter, bool sideBySide)
{
    platform::ChildProcess alone;
    ConverterJob first(converter), second(converter);
    if (sideBySide) {
        first.Start(converter);
        second.Start(converter);
    } else {
        alone.Start({converter});
    }
    QThread::sleep(60);
}

// Even a program killed without a chance to clean up takes its converters with it.
TEST(Runner, ConvertersEndWithTheProgram)
{
    const QString acting = qEnvironmentVariable(kActAsProgram);
    if (!acting.isEmpty()) {
        StartConvertersAndWait(acting.section('|', 1), acting.section('|', 0, 0) == "2");
        return;
    }
    for (const int converters : {1, 2}) {
        SCOPED_TRACE(converters);
        FakeProgramFolder program;
        const QString pids = program.Path() + "/converters.pid";
        program.WriteConverter("append \"" + pids + "\" {pid}\nsleep 30000");
        QProcess runner;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(kActAsProgram, QString::number(converters) + '|' + program.ConverterPath());
        runner.setProcessEnvironment(environment);
        runner.start(QCoreApplication::applicationFilePath(),
                     {"--gtest_filter=Runner.ConvertersEndWithTheProgram"});
        ASSERT_TRUE(runner.waitForStarted());
        const QList<QByteArray> lines = LinesOnce(pids, converters);
        runner.kill();
        runner.waitForFinished();
        ASSERT_EQ(lines.size(), converters);
        for (const QByteArray &line : lines)
            EXPECT_TRUE(EndsSoon(line.toLongLong()));
    }
}

// What a converter started under a name of its own ends with the converters on Stop: the
// process list would not find it by the converter's name.
TEST(ProcessList, EndingTheConvertersEndsWhatTheyStarted)
{
    FakeProgramFolder program;
    program.WriteConverter("helper-as other.exe\nout started\nsleep 30000");
    platform::ChildProcess converter;
    ASSERT_EQ(converter.Start({program.ConverterPath()}), platform::ChildProcess::StartResult::Started);
    ASSERT_TRUE(QTest::qWaitFor([&] { return converter.BytesWaiting() > 0; }, 30000));
    ASSERT_TRUE(QTest::qWaitFor([] { return platform::IsProcessNameRunning("other.exe"); }, 30000));
    platform::KillProcessByName(platform::ConverterProcessName());
    EXPECT_TRUE(QTest::qWaitFor([] { return !platform::IsProcessNameRunning("other.exe"); }, 5000));
    platform::KillProcessByName("other.exe");
}

} // namespace
