#pragma once

#include "CodePage.h"

#include <QString>

// True when `path` names an existing folder. A path whose narrow form differs from it cannot
// reach the converter and counts as absent.
bool FolderExists(const QString &path, const CodePage &page = CodePage::Active());

// True when `path` names something that exists and is not a folder, under the same rule.
bool FileExists(const QString &path, const CodePage &page = CodePage::Active());
