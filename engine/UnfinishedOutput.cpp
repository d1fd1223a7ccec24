#include "UnfinishedOutput.h"

#include "platform/TextEncoding.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QByteArray kHeader("brimwave unfinished output 1");
// A file's time may be coarser than the clock that noted the start.
constexpr qint64 kClockSlackNanoseconds = 2'000'000'000;

QByteArray StampLine(const platform::FileStamp &stamp)
{
    return QByteArray::number(int(stamp.exists)) + ' ' + QByteArray::number(stamp.device) + ' ' +
           QByteArray::number(stamp.number) + ' ' + QByteArray::number(stamp.size) + ' ' +
           QByteArray::number(stamp.modifiedNanoseconds);
}

std::optional<platform::FileStamp> StampFromLine(const QByteArray &line)
{
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() != 5)
        return std::nullopt;
    bool ok[5] = {};
    platform::FileStamp stamp;
    stamp.exists = fields[0].toInt(&ok[0]) != 0;
    stamp.device = fields[1].toULongLong(&ok[1]);
    stamp.number = fields[2].toULongLong(&ok[2]);
    stamp.size = fields[3].toLongLong(&ok[3]);
    stamp.modifiedNanoseconds = fields[4].toLongLong(&ok[4]);
    if (std::find(std::begin(ok), std::end(ok), false) != std::end(ok))
        return std::nullopt;
    return stamp;
}

} // namespace

UnfinishedOutput::UnfinishedOutput(QString notePath) : m_notePath(std::move(notePath)) {}

void UnfinishedOutput::Note(const QString &output, const platform::FileStamp &before)
{
    m_output = output;
    m_before = before;
    m_startNanoseconds = QDateTime::currentMSecsSinceEpoch() * 1'000'000;
    m_writtenNoted = false;
    Write(nullptr);
}

void UnfinishedOutput::NoteWhenWritten()
{
    if (m_writtenNoted || m_notePath.isEmpty())
        return;
    const platform::FileStamp now = platform::StampOf(m_output);
    if (!now.exists || now == m_before)
        return;
    m_writtenNoted = true;
    Write(&now);
}

void UnfinishedOutput::Clear()
{
    m_writtenNoted = true;
    if (!m_notePath.isEmpty())
        QFile::remove(m_notePath);
}

void UnfinishedOutput::Write(const platform::FileStamp *written) const
{
    if (m_notePath.isEmpty())
        return;
    QByteArray text = kHeader + '\n' + platform::NameBytes(m_output).toPercentEncoding() + '\n' +
                      StampLine(m_before) + '\n' + QByteArray::number(m_startNanoseconds) + '\n';
    if (written)
        text += StampLine(*written) + '\n';
    // Committed to the disk, so that the note outlives a power loss.
    QSaveFile note(m_notePath);
    if (note.open(QIODevice::WriteOnly) && note.write(text) == text.size())
        note.commit();
}

void UnfinishedOutput::RemoveLeftover(const QString &notePath)
{
    QFile note(notePath);
    if (notePath.isEmpty() || !QFileInfo(notePath).isFile() || !note.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> lines = note.read(64 * 1024).split('\n');
    note.close();
    if (lines.size() >= 4 && lines[0] == kHeader) {
        const QString output = platform::NameFromBytes(QByteArray::fromPercentEncoding(lines[1]));
        const std::optional<platform::FileStamp> before = StampFromLine(lines[2]);
        bool startOk = false;
        const qint64 start = lines[3].toLongLong(&startOk);
        const std::optional<platform::FileStamp> written =
            lines.size() > 4 && !lines[4].isEmpty() ? StampFromLine(lines[4]) : std::nullopt;
        const platform::FileStamp now = platform::StampOf(output);
        // Changed since the conversion began, not before it, and still the converter's own file.
        const bool ours = before && startOk && now.exists && !(now == *before) &&
                          now.modifiedNanoseconds >= start - kClockSlackNanoseconds &&
                          (!written || (now.device == written->device && now.number == written->number));
        if (ours && !platform::IsSymLink(output) && QFileInfo(output).isFile())
            QFile::remove(output);
    }
    QFile::remove(notePath);
}

QString UnfinishedOutput::NoteOf(const QString &notePath, int slot)
{
    if (notePath.isEmpty() || slot == 0)
        return notePath;
    return notePath + QLatin1Char('.') + QString::number(slot + 1);
}

void UnfinishedOutput::RemoveLeftovers(const QString &notePath)
{
    for (int slot = 0; slot < kMostNotes; ++slot)
        RemoveLeftover(NoteOf(notePath, slot));
}
