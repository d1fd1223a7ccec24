#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

// One queued file: the path the converter reads, the text its row shows, and its format code.
struct QueueEntry
{
    QString inputPath;
    QString rowText;
    QString formatCode;
    // Why the entry cannot be converted, known when it was queued (its copy failed); empty
    // for every other entry.
    QString problem;
};

// The conversion queue, in insertion order. Each entry carries its path and its row together,
// so the list the user sees and the paths the converter reads never fall out of step.
class QueueModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { FileNameColumn = 0, FormatColumn = 1, ColumnCount = 2 };
    enum Role { InputPathRole = Qt::UserRole + 1, ConvertingRole };

    explicit QueueModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void Append(const QueueEntry &entry);
    void Append(const QList<QueueEntry> &entries);
    bool IsEmpty() const { return m_entries.isEmpty(); }
    int Count() const { return int(m_entries.size()); }
    const QueueEntry &At(int row) const { return m_entries.at(row); }
    // The paths the converter will read, in order: the hidden path list beside the rows.
    QStringList lstFile() const;
    // The paths of rows `first` to `last`.
    QStringList InputPaths(int first, int last) const;

    // Takes the head entry off once its conversion has ended. False when the queue is empty.
    bool RemoveHead();
    // Remove Selected: removes exactly the row given; an invalid row removes nothing.
    bool RemoveRow(int row);
    // Remove All: empties the queue in one step, so no other handler sees it half emptied.
    void RemoveAll();
    // Marks the row whose file is being converted (`ConvertingRole`), or takes the mark off.
    void SetConverting(int row, bool converting);
    bool IsConverting(int row) const { return m_converting.value(row, false); }

private:
    QList<QueueEntry> m_entries;
    // Beside each entry: whether its file is being converted. Kept apart from the entries, so
    // an entry copied out of the queue (to be queued again) carries no mark.
    QList<bool> m_converting;
};
