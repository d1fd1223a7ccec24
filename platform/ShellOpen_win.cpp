#include "ShellOpen.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace platform {
namespace {

// The shell's "open" verb, no owner window, no parameters, no working folder, a normal window.
void ShellOpen(const QString &target)
{
    ::ShellExecuteW(nullptr, L"open", target.toStdWString().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

void OpenFolderInShell(const QString &path)
{
    ShellOpen(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

void OpenAddressInShell(const QString &address)
{
    ShellOpen(address);
}

} // namespace platform
