#pragma once

#include <QStringList>

// The fixed item lists of the four output pickers, index 0 first.
namespace OutputPickers {

QStringList FormatItems();
QStringList BitrateItems();
// The seventh rate is 12000 Hz: the MP3 encoder rejects 12050.
QStringList SampleRateItems();
QStringList ChannelItems();

} // namespace OutputPickers
