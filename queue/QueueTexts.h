#pragma once

// The texts of the queue: the open dialog's file types and the hint's captions.

#include <QString>

// The file types the open dialog offers, as description and pattern pairs; the first takes
// every file, and no add checks a file's type.
inline QString MediaFilter()
{
    return QStringLiteral(
        "All Media Formats(*.*)|*.*|MP4 Files(*.mp4)|*.mp4|AVI Files(*.avi)|*.avi|MPG "
        "Files(*.mpg)|*.mpg|WMV Files(*.wmv)|*.wmv|Flash Video(*.flv)|*.flv|QuickTime "
        "Format(*.mov)|*.mov|DVD VOB(*.vob)|*.vob|Real Video(*.rm)|*.rm|3GP "
        "Video(*.3gp)|*.3gp|MP3 Audio(*.mp3)|*.mp3|WAVE Files(*.wav)|*.wav|WMA Audio(*.wma)|*.wma");
}

// The hint over the empty queue, as the label's caption ("&&" shows one ampersand).
inline QString IdleHintCaption()
{
    return QStringLiteral("Drag && Drop Files Here");
}

// The hint's caption while a folder is searched.
inline QString SearchingCaption()
{
    return QStringLiteral("Searching Files...");
}

// A caption as the label shows it: "&&" is one ampersand.
inline QString ShownCaption(const QString &caption)
{
    return QString(caption).replace(QStringLiteral("&&"), QStringLiteral("&"));
}
