#include "SettingsFiles.h"

#include "OutputPickers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QThread>

#include <cmath>
#include <limits>

namespace {

const QLatin1String kLineEnd("\r\n");

QString Quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The most of a settings file that is read: its values need a few hundred bytes, and whatever
// lies beyond is damage.
constexpr qint64 kLongestSettingsFile = 64 * 1024;

// Writes the new content over the old in the same file, for a folder that takes no new file.
// The old content is put back when the write fails.
bool WriteInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    // Unbuffered: a write that fails leaves nothing waiting in a buffer to stop the old bytes'
    // way back.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    const QByteArray old = file.read(kLongestSettingsFile);
    // The new values cover the whole of the old bytes, so that a stop before the file is cut
    // to length leaves no old tail to be read as values.
    const QByteArray padded = PaddedForInPlace(bytes, old.size());
    if (file.seek(0) && file.write(padded) == padded.size() && file.flush() && file.resize(bytes.size()))
        return true;
    file.unsetError();
    file.seek(0);
    file.write(old);
    file.flush();
    file.resize(old.size());
    return false;
}

// Replaces the file whole, or leaves it as it was: every write is checked before the new file
// takes the old one's place, so a full disk never leaves an empty or cut file behind.
bool WriteWhole(const QString &path, const QString &content)
{
    const QByteArray bytes = content.toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return WriteInPlace(path, bytes);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// The file's first bytes; none for anything but a regular file (a device or a pipe would never
// end or would block), so no settings file can stop or slow the start.
std::optional<QByteArray> ReadBounded(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(kLongestSettingsFile);
}

// Applies a stored picker index when it names an item of the picker, or -1 (no selection).
void ApplyIndex(const std::optional<QString> &field, int itemCount, qint16 &index)
{
    if (!field)
        return;
    const std::optional<qint16> value = IndexFromText(*field);
    if (value && *value >= -1 && *value < itemCount)
        index = *value;
}

template <typename Int> void ApplyLenient(const std::optional<QString> &field, Int &target)
{
    if (!field)
        return;
    const double value = LenientNumber(*field);
    if (value >= double(std::numeric_limits<Int>::min()) && value <= double(std::numeric_limits<Int>::max()))
        target = Int(value);
}

} // namespace

QByteArray PaddedForInPlace(const QByteArray &bytes, qint64 oldSize)
{
    return oldSize <= bytes.size() ? bytes : bytes + QByteArray(oldSize - bytes.size(), ' ');
}

void RemoveSaveLeftovers(const QString &folder)
{
    // A save stopped before its end leaves its new file under a name the saving made: the
    // file's name, a dot and six random letters or digits. A name whose six are all small
    // letters ("backup") is more likely the user's own, and stays.
    static const QRegularExpression leftover(QStringLiteral("^(setup|options)\\.ini\\.[A-Za-z0-9]{6}$"));
    static const QRegularExpression word(QStringLiteral("\\.[a-z]{6}$"));
    const QFileInfoList entries =
        QDir(folder).entryInfoList({QStringLiteral("*.ini.*")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        if (leftover.match(entry.fileName()).hasMatch() && !word.match(entry.fileName()).hasMatch() &&
            !entry.isSymLink() && entry.size() <= kLongestSettingsFile)
            QFile::remove(entry.filePath());
    }
}

SettingsFieldReader::SettingsFieldReader(const QByteArray &content) : m_text(QString::fromUtf8(content)) {}

std::optional<QString> SettingsFieldReader::Next()
{
    const qsizetype size = m_text.size();
    while (m_pos < size && m_text.at(m_pos) == QLatin1Char(' '))
        ++m_pos;
    if (m_pos >= size)
        return std::nullopt;

    const auto isDelimiter = [](QChar ch) {
        return ch == QLatin1Char(',') || ch == QLatin1Char('\r') || ch == QLatin1Char('\n');
    };
    QString value;
    if (m_text.at(m_pos) == QLatin1Char('"')) {
        qsizetype close = m_text.indexOf(QLatin1Char('"'), m_pos + 1);
        if (close < 0)
            close = size;
        value = m_text.mid(m_pos + 1, close - m_pos - 1);
        m_pos = close + 1;
        while (m_pos < size && !isDelimiter(m_text.at(m_pos)))
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < size && !isDelimiter(m_text.at(m_pos)))
            ++m_pos;
        value = m_text.mid(start, m_pos - start);
        while (value.endsWith(QLatin1Char(' ')))
            value.chop(1);
    }
    if (m_pos < size && m_text.at(m_pos) == QLatin1Char(',')) {
        ++m_pos;
    } else {
        if (m_pos < size && m_text.at(m_pos) == QLatin1Char('\r'))
            ++m_pos;
        if (m_pos < size && m_text.at(m_pos) == QLatin1Char('\n'))
            ++m_pos;
    }
    return value;
}

std::optional<qint16> IndexFromText(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    const QString trimmed = text.trimmed();
    if (!number.match(trimmed).hasMatch())
        return std::nullopt;
    const double value = std::nearbyint(trimmed.toDouble());
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

double LenientValue(const QString &text)
{
    static const QRegularExpression leading(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)"));
    QString compact = text;
    compact.remove(QLatin1Char(' '));
    const QRegularExpressionMatch match = leading.match(compact);
    return match.hasMatch() ? match.captured(0).toDouble() : 0.0;
}

double LenientNumber(const QString &text)
{
    return std::nearbyint(LenientValue(text));
}

qint32 WholeSeconds(double seconds)
{
    // Rounded halves to even; a time too large for the field is the largest that fits.
    if (std::isnan(seconds))
        return 0;
    const double rounded = std::nearbyint(seconds);
    if (rounded >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (rounded <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(rounded);
}

void LoadAppSettings(const QString &path, AppSettings &settings, const QString &defaultFolder)
{
    if (const std::optional<QByteArray> content = ReadBounded(path)) {
        SettingsFieldReader reader(*content);
        ApplyIndex(reader.Next(), int(OutputPickers::BitrateItems().size()), settings.BitrateIndex);
        ApplyIndex(reader.Next(), int(OutputPickers::SampleRateItems().size()), settings.SampleRateIndex);
        ApplyIndex(reader.Next(), int(OutputPickers::ChannelItems().size()), settings.ChannelIndex);
        if (const std::optional<QString> folder = reader.Next())
            settings.OutputFolder = *folder;
        ApplyIndex(reader.Next(), int(OutputPickers::FormatItems().size()), settings.FormatIndex);
    }
    if (settings.OutputFolder.isEmpty())
        settings.OutputFolder = defaultFolder;
}

bool SaveAppSettings(const QString &path, const AppSettings &settings)
{
    // A folder is written between quotes and nothing is escaped: a quote in it would shift every
    // value after it. Such a folder is never used, so the one the file holds is kept.
    QString folder = settings.OutputFolder;
    if (folder.contains(QLatin1Char('"'))) {
        folder.clear();
        if (const std::optional<QByteArray> content = ReadBounded(path)) {
            SettingsFieldReader reader(*content);
            for (int field = 0; field < 3; ++field)
                reader.Next();
            folder = reader.Next().value_or(QString());
        }
    }
    const QStringList values = {
        QString::number(settings.BitrateIndex), QString::number(settings.SampleRateIndex),
        QString::number(settings.ChannelIndex), folder, QString::number(settings.FormatIndex)};
    QString content;
    for (const QString &value : values)
        content += Quoted(value) + kLineEnd;
    return WriteWhole(path, content);
}

int MostFilesAtOnce()
{
    return std::clamp(QThread::idealThreadCount(), 1, 16);
}

CutterOptions LoadCutterOptions(const QString &path, int mostFilesAtOnce)
{
    CutterOptions options;
    if (const std::optional<QByteArray> content = ReadBounded(path)) {
        SettingsFieldReader reader(*content);
        ApplyLenient(reader.Next(), options.FinishSoundIndex);
        ApplyLenient(reader.Next(), options.CutterEnabled);
        ApplyLenient(reader.Next(), options.CutStartSeconds);
        ApplyLenient(reader.Next(), options.CutLengthSeconds);
        const std::optional<QString> filesAtOnce = reader.Next();
        const std::optional<qint16> files = filesAtOnce ? IndexFromText(*filesAtOnce) : std::nullopt;
        if (files && *files >= 1 && *files <= mostFilesAtOnce)
            options.FilesAtOnce = *files;
    }
    return options;
}

bool SaveCutterOptions(const QString &path, const CutterOptions &options)
{
    QString content;
    for (const qint32 value : {qint32(options.FinishSoundIndex), qint32(options.CutterEnabled),
                               options.CutStartSeconds, options.CutLengthSeconds})
        content += QString::number(value) + kLineEnd;
    if (options.FilesAtOnce != 1)
        content += QString::number(options.FilesAtOnce) + kLineEnd;
    return WriteWhole(path, content);
}
