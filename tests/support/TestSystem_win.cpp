// What the tests need of Windows itself. Windows has no limit on a file's size for one process
// and no immutable flag: those tests say they cannot run here.
#include "TestSupport.h"

#include "platform/ProcessList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <windows.h>

void FakeProgramFolder::LinkRealConverter() const
{
    QFile::remove(ConverterPath());
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/data/conv.exe"), ConverterPath());
}

FileSizeLimit::FileSizeLimit(qint64) {}

FileSizeLimit::~FileSizeLimit() = default;

bool FileSizeLimit::Available()
{
    return false;
}

FolderWithoutNewFiles::FolderWithoutNewFiles(const QString &folder) : m_folder(folder) {}

FolderWithoutNewFiles::~FolderWithoutNewFiles() = default;

bool MakeHardLink(const QString &target, const QString &link)
{
    return ::CreateHardLinkW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(link).utf16()),
                             reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(target).utf16()),
                             nullptr) != 0;
}

bool MakeSpecialFiles(const QString &, const QString &, const QString &)
{
    return false;
}
