#include "WindowFakes.h"

#include "engine/ConverterCommand.h"
#include "queue/CodePage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

void TestHousekeeping::EndConverters()
{
    log << QStringLiteral("end converters");
    if (endConvertersForReal)
        SystemHousekeeping().EndConverters();
}

void TestHousekeeping::EmptyTemporaryFolder(const QString &folder)
{
    log << QStringLiteral("empty ") + folder;
    SystemHousekeeping().EmptyTemporaryFolder(folder);
}

WindowFixture::WindowFixture()
{
    // With the system's separators, as the program's own places are.
    const QString root = work.path();
    places.programFolder = Native(root + "/program");
    places.configFolder = Native(root + "/config");
    places.tempFolder = Native(root + "/cache/tmp");
    places.unfinishedNote = Native(root + "/cache/unfinished-output");
    places.outputParent = Native(root + "/default place");
    places.instanceLock = Native(root + "/cache/instance.lock");
    QDir().mkpath(places.programFolder + "/data");
    UseRealConverter(::ConverterPath(places.programFolder));
    WriteProgramFile("sound.wav", "RIFF");
}

WindowFixture::~WindowFixture()
{
    m_window.reset();
    CodePage::SetActive(CodePage::System());
}

frmMain &WindowFixture::Start()
{
    m_window = std::make_unique<frmMain>(
        places, frmMain::Services{messages, dialogs, shell, housekeeping, *desktop}, mostFilesAtOnce);
    m_window->show();
    return *m_window;
}

void WindowFixture::WriteProgramFile(const QString &name, const QByteArray &bytes) const
{
    PutFile(ProgramFile(name), bytes);
}

QByteArray WindowFixture::ReadProgramFile(const QString &name) const
{
    QFile file(ProgramFile(name));
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void WindowFixture::UseFakeConverter(const QString &steps) const
{
    WriteFakeConverter(::ConverterPath(places.programFolder), steps);
}

QString WindowFixture::MakeClip(const QString &name, int seconds) const
{
    const QString path = work.path() + "/" + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    return ::MakeTestClip(path, seconds) ? path : QString();
}

bool WindowFixture::WaitForBatchEnd(int milliseconds)
{
    QSignalSpy finished(&m_window->Batch(), &BatchConverter::BatchFinished);
    QSignalSpy halted(&m_window->Batch(), &BatchConverter::BatchHalted);
    QElapsedTimer clock;
    clock.start();
    while (finished.isEmpty() && halted.isEmpty() && clock.elapsed() < milliseconds)
        QTest::qWait(20);
    return !finished.isEmpty() || !halted.isEmpty();
}
