#include "OutputPickers.h"

namespace OutputPickers {

QStringList FormatItems()
{
    return {"MP3", "WMA", "OGG", "WAV", "FLAC", "AC3", "AAC", "AMR"};
}

QStringList BitrateItems()
{
    return {"32", "48", "56", "64", "80", "96", "112", "128", "192", "224", "256", "320"};
}

QStringList SampleRateItems()
{
    return {"48000", "44100", "32000", "24000", "22050", "16000", "12000", "8000"};
}

QStringList ChannelItems()
{
    return {"Mono", "Stereo"};
}

} // namespace OutputPickers
