#pragma once

#include <iterator>
#include <string_view>

// Every output format in one table, one row each, in the format picker's order (a row's number
// is the index setup.ini stores). The command builder, its range check, the picker and the
// skin's footer all read it: adding a row is the whole change for a format that needs no rule
// of its own.
struct OutputFormatRow
{
    // Whether the format takes the bitrate, sample rate and channels pickers' choices.
    enum class Pickers { Ignored, Taken };

    // Every field is given: a row that forgets one does not compile.
    constexpr OutputFormatRow(std::string_view caption, std::string_view extension, std::string_view options,
                              Pickers pickers)
        : caption(caption), extension(extension), options(options), pickers(pickers)
    {
    }

    std::string_view caption;   // the picker's item and the footer's word
    std::string_view extension; // of the output file, with its dot
    std::string_view options;   // what the format adds to the converter's command line, if anything
    Pickers pickers;
};

inline constexpr OutputFormatRow kOutputFormats[] = {
    {"MP3", ".mp3", "", OutputFormatRow::Pickers::Taken},
    {"WMA", ".wma", "-acodec wmav1", OutputFormatRow::Pickers::Ignored},
    {"OGG", ".ogg", "-ac 2", OutputFormatRow::Pickers::Ignored},
    {"WAV", ".wav", "-acodec pcm_s16le", OutputFormatRow::Pickers::Ignored},
    {"FLAC", ".flac", "", OutputFormatRow::Pickers::Ignored},
    {"AC3", ".ac3", "", OutputFormatRow::Pickers::Ignored},
    {"AAC", ".aac", "", OutputFormatRow::Pickers::Ignored},
    {"AMR", ".amr", "-ar 8000 -ab 7.4k -ac 1", OutputFormatRow::Pickers::Ignored},
};
inline constexpr int kOutputFormatCount = int(std::size(kOutputFormats));

// The formats the code names, by their rows.
enum class OutputFormat { MP3 = 0, WMA, OGG, WAV, FLAC, AC3, AAC, AMR };
static_assert(kOutputFormats[int(OutputFormat::MP3)].caption == "MP3" &&
                  kOutputFormats[int(OutputFormat::WMA)].caption == "WMA" &&
                  kOutputFormats[int(OutputFormat::WAV)].caption == "WAV" &&
                  kOutputFormats[int(OutputFormat::AMR)].caption == "AMR",
              "the named formats are the table's rows");
