#pragma once

#include "BatchConverter.h"
#include "ConverterJob.h"

#include <QPersistentModelIndex>

// One file of a batch that converts several at once: its row (which moves as other rows leave
// the queue), what it was started with, and its converter.
struct BatchConverter::Job
{
    Job(const QString &notePath) : note(notePath) {}

    QPersistentModelIndex row;
    QueueEntry entry;
    ConversionChoices choices;
    QString output;
    platform::FileStamp outputBefore;
    ConversionProgress progress;
    UnfinishedOutput note;
    int slot = 0;
    // The file's place in the batch, counted from 1 in the order the batch took its files.
    int number = 0;
    // Owned by the batch; deleted once its own signal is over.
    ConverterJob *process = nullptr;
};
