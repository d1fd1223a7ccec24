#include "QueueModel.h"

#include <algorithm>

QueueModel::QueueModel(QObject *parent) : QAbstractTableModel(parent) {}

int QueueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Count();
}

int QueueModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant QueueModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return {};
    const QueueEntry &entry = m_entries.at(index.row());
    if (role == InputPathRole)
        return entry.inputPath;
    if (role == ConvertingRole)
        return IsConverting(index.row());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return index.column() == FileNameColumn ? entry.rowText : entry.formatCode;
    return {};
}

QVariant QueueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == FileNameColumn)
        return QStringLiteral("FileName");
    if (section == FormatColumn)
        return QStringLiteral("Format");
    return {};
}

void QueueModel::Append(const QueueEntry &entry)
{
    Append(QList<QueueEntry>{entry});
}

void QueueModel::Append(const QList<QueueEntry> &entries)
{
    if (entries.isEmpty())
        return;
    beginInsertRows({}, Count(), Count() + int(entries.size()) - 1);
    m_entries.append(entries);
    m_converting.append(QList<bool>(entries.size(), false));
    endInsertRows();
}

QStringList QueueModel::lstFile() const
{
    return InputPaths(0, Count() - 1);
}

QStringList QueueModel::InputPaths(int first, int last) const
{
    QStringList paths;
    paths.reserve(std::max(last - first + 1, 0));
    for (int row = std::max(first, 0); row <= last && row < Count(); ++row)
        paths.append(m_entries.at(row).inputPath);
    return paths;
}

bool QueueModel::RemoveHead()
{
    return RemoveRow(0);
}

bool QueueModel::RemoveRow(int row)
{
    if (row < 0 || row >= Count())
        return false;
    beginRemoveRows({}, row, row);
    m_entries.removeAt(row);
    m_converting.removeAt(row);
    endRemoveRows();
    return true;
}

void QueueModel::RemoveAll()
{
    beginResetModel();
    m_entries.clear();
    m_converting.clear();
    endResetModel();
}

void QueueModel::SetConverting(int row, bool converting)
{
    if (row < 0 || row >= Count() || m_converting.at(row) == converting)
        return;
    m_converting[row] = converting;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1), {ConvertingRole});
}
