#include "BatchOutputs.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

QString CleanAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// "title.ext" becomes "title (n).ext"; a name without an extension gets the number at its end.
QString Numbered(const QString &path, int number)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
    const QString numbered = base + QStringLiteral(" (%1)").arg(number);
    return suffix.isEmpty() ? numbered : numbered + QLatin1Char('.') + suffix;
}

// The place of `path`: its folder's identity and its name; none when the folder is not there.
std::optional<std::pair<std::pair<quint64, quint64>, QString>> PlaceOf(const QString &path)
{
    const QFileInfo info(path);
    const platform::FileStamp folder = platform::StampOf(info.absolutePath());
    if (!folder.exists)
        return std::nullopt;
    return std::make_pair(std::make_pair(folder.device, folder.number), info.fileName());
}

} // namespace

void BatchOutputs::Known::Hold(const QString &path)
{
    paths.insert(CleanAbsolute(path));
    if (const auto place = PlaceOf(path))
        places.insert(*place);
}

void BatchOutputs::Known::Let(const QString &path)
{
    paths.remove(CleanAbsolute(path));
    if (const auto place = PlaceOf(path))
        places.remove(*place);
}

void BatchOutputs::Known::Add(const QString &path)
{
    paths.insert(CleanAbsolute(path));
    const platform::FileStamp stamp = platform::StampOf(path);
    if (stamp.exists)
        files.insert({stamp.device, stamp.number});
}

bool BatchOutputs::Known::Holds(const QString &path) const
{
    if (paths.contains(CleanAbsolute(path)))
        return true;
    if (!places.isEmpty()) {
        if (const auto place = PlaceOf(path); place && places.contains(*place))
            return true;
    }
    const platform::FileStamp stamp = platform::StampOf(path);
    return stamp.exists && files.contains({stamp.device, stamp.number});
}

void BatchOutputs::Clear()
{
    m_inputs = {};
    m_outputs = {};
}

void BatchOutputs::Queued(const QStringList &paths)
{
    m_unbooked += paths;
}

void BatchOutputs::Book(qsizetype count) const
{
    if (m_unbooked.isEmpty())
        return;
    // Room for every path queued together at once, not as they come.
    m_queuedPaths.reserve(m_queuedPaths.size() + size_t(m_unbooked.size()));
    for (; count > 0 && !m_unbooked.isEmpty(); --count) {
        const QString clean = CleanAbsolute(m_unbooked.takeLast());
        if (m_queuedPaths[clean].entries++ == 0)
            m_unidentified.append(clean);
    }
}

void BatchOutputs::Unqueued(const QString &path)
{
    // The queue names an entry as it queued it: one that leaves before it was booked is simply
    // not booked.
    if (const qsizetype unbooked = m_unbooked.lastIndexOf(path); unbooked >= 0) {
        m_unbooked.removeAt(unbooked);
        return;
    }
    const QString clean = CleanAbsolute(path);
    auto it = m_queuedPaths.find(clean);
    if (it == m_queuedPaths.end() && !m_unbooked.isEmpty()) {
        BookAll();
        it = m_queuedPaths.find(clean);
    }
    if (it == m_queuedPaths.end() || --it->second.entries > 0)
        return;
    if (const std::optional<FileId> &id = it->second.id) {
        const auto file = m_queuedFiles.find(*id);
        if (file != m_queuedFiles.end() && --file.value() <= 0)
            m_queuedFiles.erase(file);
    }
    m_queuedPaths.erase(it);
}

void BatchOutputs::QueueEmptied()
{
    m_unbooked.clear();
    m_queuedPaths.clear();
    m_queuedFiles.clear();
    m_unidentified.clear();
}

void BatchOutputs::Identify(const QString &cleanPath) const
{
    const auto it = m_queuedPaths.find(cleanPath);
    if (it == m_queuedPaths.end() || std::exchange(it->second.identified, true))
        return;
    if (const platform::FileStamp stamp = platform::StampOf(cleanPath); stamp.exists) {
        it->second.id = FileId{stamp.device, stamp.number};
        ++m_queuedFiles[*it->second.id];
    }
}

bool BatchOutputs::IdentifySome(int count)
{
    Book(count);
    for (; count > 0 && !m_unidentified.isEmpty(); --count)
        Identify(m_unidentified.takeLast());
    return !m_unbooked.isEmpty() || !m_unidentified.isEmpty();
}

void BatchOutputs::AddInput(const QString &path)
{
    m_inputs.Add(path);
}

bool BatchOutputs::IsQueued(const QString &path) const
{
    BookAll();
    if (m_queuedPaths.count(CleanAbsolute(path)) > 0)
        return true;
    // Only a file that exists can be a queued file of another name.
    if (m_queuedPaths.empty())
        return false;
    const platform::FileStamp stamp = platform::StampOf(path);
    if (!stamp.exists)
        return false;
    while (!m_unidentified.isEmpty())
        Identify(m_unidentified.takeLast());
    return m_queuedFiles.contains({stamp.device, stamp.number});
}

bool BatchOutputs::IsInput(const QString &path) const
{
    return m_inputs.Holds(path) || IsQueued(path);
}

QString BatchOutputs::TakeOutput(const QString &path)
{
    QString chosen = path;
    for (int number = 2; m_outputs.Holds(chosen); ++number) {
        chosen = Numbered(path, number);
        while (QFileInfo::exists(chosen) || IsInput(chosen))
            chosen = Numbered(path, ++number);
    }
    // The name is held before the converter creates the file, and by the file once it exists.
    m_outputs.Hold(chosen);
    return chosen;
}

void BatchOutputs::OutputEnded(const QString &path)
{
    if (QFileInfo::exists(path))
        m_outputs.Add(path);
    else
        m_outputs.Let(path);
}
