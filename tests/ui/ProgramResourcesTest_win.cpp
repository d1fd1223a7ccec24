// What Explorer, the taskbar and Apps & features read from brimwave.exe: its icon, its version
// and names, and a manifest that runs it as the user.

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

namespace {

QString VersionText(const QByteArray &info, const wchar_t *name)
{
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    void *value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(info.constData(), key.c_str(), &value, &length) || length == 0)
        return {};
    return QString::fromWCharArray(static_cast<const wchar_t *>(value)).left(int(length) - 1);
}

TEST(ProgramFile, CarriesItsIconVersionAndManifest)
{
    const std::wstring program =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/brimwave.exe").toStdWString();
    const DWORD size = ::GetFileVersionInfoSizeW(program.c_str(), nullptr);
    ASSERT_GT(size, 0u) << "brimwave.exe has no version";
    QByteArray info(int(size), '\0');
    ASSERT_TRUE(::GetFileVersionInfoW(program.c_str(), 0, size, info.data()));
    EXPECT_EQ(VersionText(info, L"ProductName"), "Brimwave");
    EXPECT_EQ(VersionText(info, L"ProductVersion"), BRIMWAVE_VERSION);
    EXPECT_EQ(VersionText(info, L"CompanyName"), BRIMWAVE_PUBLISHER);
    EXPECT_TRUE(VersionText(info, L"LegalCopyright").startsWith("Copyright"));

    EXPECT_GE(::ExtractIconExW(program.c_str(), -1, nullptr, nullptr, 0), 1u) << "brimwave.exe has no icon";

    const HMODULE file = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    const HRSRC found = ::FindResourceW(file, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(found, nullptr) << "brimwave.exe has no manifest";
    const QByteArray manifest(static_cast<const char *>(::LockResource(::LoadResource(file, found))),
                              int(::SizeofResource(file, found)));
    EXPECT_TRUE(manifest.contains("level=\"asInvoker\"")) << manifest.constData();
    ::FreeLibrary(file);
}

} // namespace
