#pragma once

#include "DOSOutputs.h"
#include "settings/CutterOptions.h"

#include <QString>

// Why a conversion failed, as the warning tells it.
struct ConversionVerdict
{
    // Empty when the conversion succeeded.
    QString reason;
    // The converter's own line behind a reason in plain words (the warning's details).
    QString converterLine;
    bool Failed() const { return !reason.isEmpty(); }
};

// How a conversion of `input` into `output` that has ended went, from how its converter ended,
// what it printed (the end of it), the cut it was given and the furthest position it reported
// (seconds).
ConversionVerdict ConversionFailure(const DOSOutputs::ChildEnd &end, const QString &outputs,
                                    const CutterOptions &cutter, double furthestPosition,
                                    const QString &input, const QString &output);
