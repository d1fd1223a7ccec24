#pragma once

#include "DOSOutputs.h"
#include "settings/CutterOptions.h"

#include <QString>

// Why a conversion that has ended failed, from how its converter ended, what it said, the cut
// it was given, whether it reported any position past the start, and the output it was to
// write; empty when it succeeded.
QString ConversionFailure(const DOSOutputs::ChildEnd &end, const QString &outputs,
                          const CutterOptions &cutter, bool reachedPastStart, const QString &output);
