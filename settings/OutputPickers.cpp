#include "OutputPickers.h"

#include "OutputFormats.h"

namespace OutputPickers {

QStringList FormatItems()
{
    QStringList items;
    for (const OutputFormatRow &format : kOutputFormats)
        items << QString::fromLatin1(format.caption.data(), qsizetype(format.caption.size()));
    return items;
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
