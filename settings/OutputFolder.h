#pragma once

#include "queue/CodePage.h"

#include <QString>

// The folder the output-folder box names, as a clean absolute path: an empty box names the
// default folder, a leading "~" the home folder, and a relative path lies under the home folder
// (never under whatever folder the program was started from).
QString ResolveOutputFolder(const QString &text, const QString &defaultFolder, const QString &homeFolder);

// Why converted files cannot be written into `folder` (an absolute path), after it has been
// created with every missing folder above it; empty when they can.
QString OutputFolderProblem(const QString &folder, const CodePage &page = CodePage::Active());
