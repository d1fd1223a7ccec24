#include "settings/SettingsFiles.h"
#include "TestSupport.h"
#include "queue/PathTests.h"
#include "settings/OutputFolder.h"
#include "settings/SettingsPlace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kDefault = QStringLiteral("/home/u/output");

QString Write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    return PutFile(dir.path() + "/" + name, bytes);
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

AppSettings FirstRun()
{
    AppSettings s;
    s.OutputFolder = kDefault;
    return s;
}

TEST(SettingsFiles, SetupFileReading)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
        int bitrate, rate, channels;
        const char *folder;
        int format;
    } cases[] = {
        {"quoted", "\"3\"\r\n\"4\"\r\n\"0\"\r\n\"/music/out\"\r\n\"0\"\r\n", 3, 4, 0, "/music/out", 0},
        {"unquoted", "3\r\n4\r\n0\r\n/music/out\r\n0\r\n", 3, 4, 0, "/music/out", 0},
        {"bare line feeds", "3\n4\n0\n/music/out\n0\n", 3, 4, 0, "/music/out", 0},
        {"quoted comma", "\"8\"\r\n\"1\"\r\n\"1\"\r\n\"/a,b\"\r\n\"2\"\r\n", 8, 1, 1, "/a,b", 2},
        // Unquoted, the comma ends the folder and "b" is read as the format: not a number.
        {"unquoted comma", "8\r\n1\r\n1\r\n/a,b\r\n2\r\n", 8, 1, 1, "/a", 1},
        {"halves to even", "\"3.5\"\r\n\"2.5\"\r\n\"0.5\"\r\n\"/o\"\r\n\"1.5\"\r\n", 4, 2, 0, "/o", 2},
        {"spaces and sign", " 5 \r\n+3\r\n  1\r\n/o\r\n\" 7 \"\r\n", 5, 3, 1, "/o", 7},
        {"no selection", "-1\r\n-1\r\n-1\r\n/o\r\n-1\r\n", -1, -1, -1, "/o", -1},
        {"out of range", "12\r\n8\r\n2\r\n/o\r\n-2\r\n", 8, 1, 1, "/o", 1},
        {"beyond 16 bits", "99999\r\n-40000\r\n1e1\r\n/o\r\n8\r\n", 8, 1, 1, "/o", 1},
        {"not numbers", "abc\r\n\r\n1x\r\n/o\r\n.\r\n", 8, 1, 1, "/o", 1},
        {"empty folder", "8\r\n1\r\n1\r\n\"\"\r\n1\r\n", 8, 1, 1, "/home/u/output", 1},
        // Cut short: what is missing keeps its first-run value.
        {"three lines", "\"0\"\r\n\"0\"\r\n\"0\"\r\n", 0, 0, 0, "/home/u/output", 1},
        {"empty file", "", 8, 1, 1, "/home/u/output", 1},
        {"damaged", QByteArray("\xff\xfe\x00\x01garbage\"", 12), 8, 1, 1, "/home/u/output", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        AppSettings s = FirstRun();
        LoadAppSettings(Write(dir, "setup.ini", c.bytes), s, kDefault);
        EXPECT_EQ(s.BitrateIndex, c.bitrate);
        EXPECT_EQ(s.SampleRateIndex, c.rate);
        EXPECT_EQ(s.ChannelIndex, c.channels);
        EXPECT_EQ(s.OutputFolder, QString::fromUtf8(c.folder));
        EXPECT_EQ(s.FormatIndex, c.format);
    }
}

TEST(SettingsFiles, MissingFilesGiveFirstRunValues)
{
    AppSettings s;
    LoadAppSettings("/nonexistent/setup.ini", s, kDefault);
    EXPECT_EQ(s.BitrateIndex, 8);
    EXPECT_EQ(s.SampleRateIndex, 1);
    EXPECT_EQ(s.ChannelIndex, 1);
    EXPECT_EQ(s.OutputFolder, kDefault);
    EXPECT_EQ(s.FormatIndex, 1);
    EXPECT_EQ(LoadCutterOptions("/nonexistent/options.ini"), CutterOptions());
}

TEST(SettingsFiles, OptionsFileReading)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
        CutterOptions expected;
    } cases[] = {
        {"plain", "1\r\n1\r\n90\r\n45\r\n", {1, 1, 90, 45}},
        {"lenient", "0\r\n1\r\n90s\r\n4 5\r\n", {0, 1, 90, 45}},
        {"no numbers", "abc\r\n\r\nx1\r\n-\r\n", {0, 0, 0, 0}},
        {"fractions and signs", "2.5\r\n3.5\r\n-5\r\n+7.5\r\n", {2, 4, -5, 8}},
        {"too large for the field", "70000\r\n1\r\n3000000000\r\n45\r\n", {0, 1, 0, 45}},
        {"two lines", "1\r\n1\r\n", {1, 1, 0, 0}},
        {"quoted", "\"1\",\"0\",\"30\",\"10\"\r\n", {1, 0, 30, 10}},
        // The files at once, on a machine of four cores: a fifth line from 1 to 4, else 1.
        {"files at once", "1\r\n0\r\n0\r\n0\r\n4\r\n", {1, 0, 0, 0, 4}},
        {"files at once above the cores", "1\r\n0\r\n0\r\n0\r\n5\r\n", {1, 0, 0, 0, 1}},
        {"files at once below one", "1\r\n0\r\n0\r\n0\r\n0\r\n", {1, 0, 0, 0, 1}},
        {"files at once unreadable", "1\r\n0\r\n0\r\n0\r\ntwo\r\n", {1, 0, 0, 0, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        EXPECT_EQ(LoadCutterOptions(Write(dir, "options.ini", c.bytes), 4), c.expected);
    }
}

TEST(SettingsFiles, WrittenBytes)
{
    QTemporaryDir dir;
    AppSettings s;
    s.OutputFolder = QStringLiteral("c:\\output");
    ASSERT_TRUE(SaveAppSettings(dir.path() + "/setup.ini", s));
    EXPECT_EQ(Read(dir.path() + "/setup.ini"),
              QByteArray("\"8\"\r\n\"1\"\r\n\"1\"\r\n\"c:\\output\"\r\n\"1\"\r\n"));

    s = {-1, 7, 0, QStringLiteral("/m\u00fcsic, live"), 0};
    ASSERT_TRUE(SaveAppSettings(dir.path() + "/setup.ini", s));
    AppSettings back = FirstRun();
    LoadAppSettings(dir.path() + "/setup.ini", back, kDefault);
    EXPECT_EQ(back.BitrateIndex, -1);
    EXPECT_EQ(back.SampleRateIndex, 7);
    EXPECT_EQ(back.ChannelIndex, 0);
    EXPECT_EQ(back.OutputFolder, s.OutputFolder);
    EXPECT_EQ(back.FormatIndex, 0);

    ASSERT_TRUE(SaveCutterOptions(dir.path() + "/options.ini", {1, 1, 90, 45}));
    EXPECT_EQ(Read(dir.path() + "/options.ini"), QByteArray("1\r\n1\r\n90\r\n45\r\n"));
    ASSERT_TRUE(SaveCutterOptions(dir.path() + "/options.ini", {0, 0, -3, 0}));
    EXPECT_EQ(Read(dir.path() + "/options.ini"), QByteArray("0\r\n0\r\n-3\r\n0\r\n"));
    // More files at once than one: a fifth line; one at a time: the four lines above.
    ASSERT_TRUE(SaveCutterOptions(dir.path() + "/options.ini", {0, 0, -3, 0, 2}));
    EXPECT_EQ(Read(dir.path() + "/options.ini"), QByteArray("0\r\n0\r\n-3\r\n0\r\n2\r\n"));

    // A place that cannot be written: nothing is written, and the caller is told.
    EXPECT_FALSE(SaveAppSettings(dir.path() + "/options.ini/setup.ini", s));
}

TEST(SettingsFiles, NoFileCanStopOrSlowTheStart)
{
    QTemporaryDir dir;
    const QString fifo = dir.path() + "/fifo.ini";
    const QString zero = dir.path() + "/zero.ini";
    const QString random = dir.path() + "/random.ini";
    if (!MakeSpecialFiles(fifo, zero, random))
        GTEST_SKIP() << "no named pipe or endless device here";
    // 3 GB, nearly all of it a hole, with good values at its start.
    const QString huge = Write(dir, "huge.ini", "\"3\"\r\n\"4\"\r\n\"0\"\r\n\"/music\"\r\n\"0\"\r\n");
    ASSERT_TRUE(QFile::resize(huge, 3LL << 30));
    struct Case
    {
        QString path;
        int bitrate;
        const char *folder;
        int finishSound; // the first value, as options.ini reads it
    } cases[] = {{fifo, 8, "/home/u/output", 0},
                 {zero, 8, "/home/u/output", 0},
                 {random, 8, "/home/u/output", 0},
                 {huge, 3, "/music", 3}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        AppSettings s = FirstRun();
        LoadAppSettings(c.path, s, kDefault);
        EXPECT_EQ(s.BitrateIndex, c.bitrate);
        EXPECT_EQ(s.OutputFolder, c.folder);
        EXPECT_EQ(LoadCutterOptions(c.path).FinishSoundIndex, c.finishSound);
    }
}

TEST(SettingsFiles, AFailedSaveKeepsTheOldFile)
{
    if (!FileSizeLimit::Available())
        GTEST_SKIP() << "no way here to make a disk fill up on demand";
    QTemporaryDir dir;
    const QByteArray old = "\"3\"\r\n\"4\"\r\n\"0\"\r\n\"/music\"\r\n\"0\"\r\n";
    const QString path = Write(dir, "setup.ini", old);
    AppSettings s = FirstRun();
    {
        // A disk that fills up after a few bytes.
        const FileSizeLimit full(8);
        EXPECT_FALSE(SaveAppSettings(path, s));
        EXPECT_FALSE(SaveCutterOptions(dir.path() + "/options.ini", {1, 1, 90, 45}));
    }
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"setup.ini"}); // nothing left behind
}

TEST(SettingsFiles, AFolderThatTakesNoNewFileIsWrittenInPlace)
{
    QTemporaryDir dir;
    const QString path = Write(dir, "setup.ini", "old old old old old old old old old old old\r\n");
    const FolderWithoutNewFiles locked(dir.path());
    if (!locked.Active())
        GTEST_SKIP() << "no way here to make a folder refuse new files";
    AppSettings s = FirstRun();
    s.OutputFolder = "/o";
    EXPECT_TRUE(SaveAppSettings(path, s));
    EXPECT_EQ(Read(path), QByteArray("\"8\"\r\n\"1\"\r\n\"1\"\r\n\"/o\"\r\n\"1\"\r\n"));
    // A file that is not there yet cannot be made in such a folder: nothing, and the caller is told.
    EXPECT_FALSE(SaveCutterOptions(dir.path() + "/options.ini", {}));
    // A disk that fills up during the write: the old values are put back.
    if (!FileSizeLimit::Available())
        return;
    const QByteArray written = Read(path);
    {
        const FileSizeLimit full(8);
        s.BitrateIndex = 3;
        EXPECT_FALSE(SaveAppSettings(path, s));
    }
    EXPECT_EQ(Read(path), written);
}

TEST(PathTests, FilesAndFolders)
{
    QTemporaryDir dir;
    const QString file = Write(dir, "clip.mp4", "x");
    const QString foreign = Write(dir, "caf\u00e9.mp4", "x");
    const CodePage ascii = CodePage::Ascii();
    struct Case
    {
        QString path;
        bool folder, file;
    } cases[] = {
        {dir.path(), true, false}, {file, false, true},     {dir.path() + "/missing", false, false},
        {QString(), false, false}, {foreign, false, false}, // its name does not fit the code page
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(FolderExists(c.path, ascii), c.folder);
        EXPECT_EQ(FileExists(c.path, ascii), c.file);
    }
    EXPECT_TRUE(FileExists(foreign, CodePage::System()));
}

TEST(OutputFolder, WhatTheBoxNames)
{
    const QString home = "/home/u";
    const QString fallback = "/home/u/output";
    const std::pair<const char *, const char *> cases[] = {
        {"", "/home/u/output"},        {"   ", "/home/u/output"},          {"~", "/home/u"},
        {"~/Music", "/home/u/Music"},  {"Music/new", "/home/u/Music/new"}, {"/data/out/", "/data/out"},
        {"/data//out/.", "/data/out"}, {"~other/x", "/home/u/~other/x"},   {":music", "/home/u/:music"},
    };
    for (const auto &[typed, resolved] : cases)
        EXPECT_EQ(ResolveOutputFolder(QString::fromUtf8(typed), fallback, home), QString::fromUtf8(resolved))
            << typed;
}

TEST(SettingsPlace, BesideTheProgramWhenItMayWriteThereElseTheUsersFolder)
{
    QTemporaryDir dir;
    // As the program's places give them: with the system's separators.
    const QString program = Native(dir.path() + "/program");
    const QString config = Native(dir.path() + "/config");
    QDir().mkpath(program);
    const SettingsPlace place(program, config);
    EXPECT_EQ(place.ToWrite("setup.ini"), Native(program + "/setup.ini"));
    EXPECT_EQ(place.ToRead("setup.ini"), Native(program + "/setup.ini"));
    // A portable copy reads only its own files, whatever an installed one left for the user.
    QDir().mkpath(config);
    Write(dir, "config/options.ini", "an installed copy's");
    ASSERT_TRUE(QFileInfo::exists(config + "/options.ini"));
    EXPECT_EQ(place.ToRead("options.ini"), Native(program + "/options.ini"));
    QFile::remove(config + "/options.ini");

    Write(dir, "program/setup.ini", "a default beside the program");
    const FolderWithoutNewFiles installed(program);
    if (!installed.Active())
        GTEST_SKIP() << "no way here to make a folder read-only";
    // An installed program: the file beside it serves until the user's own one exists.
    EXPECT_EQ(place.ToRead("setup.ini"), program + "/setup.ini");
    EXPECT_EQ(place.ToWrite("setup.ini"), config + "/setup.ini");
    EXPECT_TRUE(QFileInfo(config).isDir());
    Write(dir, "config/setup.ini", "the user's own");
    EXPECT_EQ(place.ToRead("setup.ini"), config + "/setup.ini");
    EXPECT_EQ(place.ToRead("options.ini"), program + "/options.ini");
}

// What earlier runs left behind is dealt with at the start, and nothing a save writes can
// shift a value.
TEST(SettingsFiles, SavesLeaveNoDebrisAndNoShiftedValues)
{
    QTemporaryDir dir;
    // Leftovers of stopped saves go; the user's own files stay.
    for (const char *name : {"setup.ini.aB3xYz", "options.ini.Q1w2E3"})
        Write(dir, name, "\"8\"\r\n");
    for (const char *name : {"setup.ini", "setup.ini.backup", "setup.ini.aB3xYz7", "other.ini.aB3xYz"})
        Write(dir, name, "x");
    RemoveSaveLeftovers(dir.path());
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, QStringList({"other.ini.aB3xYz", "setup.ini", "setup.ini.aB3xYz7", "setup.ini.backup"}));

    // Rewritten in place, the new values cover the old bytes: a stop before the file is cut to
    // length reads the new values, never an old tail.
    const QByteArray longOld(300, 'z');
    const QByteArray fresh = "\"3\"\r\n\"4\"\r\n\"0\"\r\n\"/o\"\r\n\"2\"\r\n";
    const QByteArray padded = PaddedForInPlace(fresh, longOld.size());
    EXPECT_EQ(padded.size(), longOld.size());
    AppSettings read = FirstRun();
    LoadAppSettings(Write(dir, "padded.ini", padded), read, kDefault);
    EXPECT_EQ(read.OutputFolder, "/o");
    EXPECT_EQ(read.FormatIndex, 2);
    EXPECT_EQ(PaddedForInPlace(fresh, 3), fresh);

    // A folder with a double quote is never written: the folder stored before stays, and with
    // none stored the next start takes the default.
    const QString setup = dir.path() + "/setup.ini";
    AppSettings quoted = FirstRun();
    quoted.OutputFolder = "/music";
    ASSERT_TRUE(SaveAppSettings(setup, quoted));
    quoted.OutputFolder = "/a \"b\", c";
    quoted.FormatIndex = 4;
    ASSERT_TRUE(SaveAppSettings(setup, quoted));
    EXPECT_EQ(Read(setup), QByteArray("\"8\"\r\n\"1\"\r\n\"1\"\r\n\"/music\"\r\n\"4\"\r\n"));
    QFile::remove(setup);
    ASSERT_TRUE(SaveAppSettings(setup, quoted));
    read = FirstRun();
    LoadAppSettings(setup, read, kDefault);
    EXPECT_EQ(read.OutputFolder, kDefault);
    EXPECT_EQ(read.FormatIndex, 4);
}

} // namespace
