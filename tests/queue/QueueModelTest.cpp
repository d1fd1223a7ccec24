#include "queue/QueueModel.h"
#include "TestSupport.h"
#include "queue/QueueEntries.h"

#include <QFile>
#include <QTemporaryDir>

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

QueueEntry Entry(const QString &path)
{
    return {path, path, path.right(3).toUpper(), {}};
}

TEST(QueueModel, RowsAndPathsStayInStep)
{
    QueueModel q;
    q.Append(Entry("/v/a.mp4"));
    q.Append(Entry("/v/a.mp4")); // the same file twice is queued twice
    q.Append({Entry("/v/b.avi"), Entry("/v/c.wmv")});
    ASSERT_EQ(q.rowCount(), 4);
    EXPECT_EQ(q.columnCount(), 2);
    EXPECT_EQ(q.headerData(0, Qt::Horizontal).toString(), "FileName");
    EXPECT_EQ(q.headerData(1, Qt::Horizontal).toString(), "Format");
    EXPECT_EQ(q.index(2, 0).data().toString(), "/v/b.avi");
    EXPECT_EQ(q.index(2, 1).data().toString(), "AVI");
    EXPECT_EQ(q.lstFile(), QStringList({"/v/a.mp4", "/v/a.mp4", "/v/b.avi", "/v/c.wmv"}));

    EXPECT_FALSE(q.RemoveRow(-1)); // no selection removes nothing
    EXPECT_FALSE(q.RemoveRow(4));
    EXPECT_TRUE(q.RemoveRow(2));
    EXPECT_EQ(q.lstFile(), QStringList({"/v/a.mp4", "/v/a.mp4", "/v/c.wmv"}));
    EXPECT_EQ(q.index(2, 0).data().toString(), "/v/c.wmv");
    EXPECT_TRUE(q.RemoveHead());
    EXPECT_EQ(q.Count(), 2);
}

TEST(QueueModel, RemoveAllIsOneStep)
{
    QueueModel q;
    for (int i = 0; i < 50; ++i)
        q.Append(Entry(QString("/v/%1.mp4").arg(i)));
    QSignalSpy removed(&q, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&q, &QAbstractItemModel::modelReset);
    q.RemoveAll();
    EXPECT_EQ(removed.count(), 0);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_TRUE(q.IsEmpty());
    q.RemoveAll(); // on an empty queue
    EXPECT_FALSE(q.RemoveHead());
}

// Each way of filling the queue takes the format code from its own text: the dialog's from the
// row trimmed of spaces (only spaces), a folder's from the path trimmed of spaces.
TEST(QueueEntries, FormatCodesTrimSpacesOnly)
{
    QTemporaryDir dir;
    struct Row
    {
        const char *name;
        QString code;
    } rows[] = {{"a.mp4\t ", "P4\t"}, {"b.mp3 ", "MP3"}, {" c.ogg  ", "OGG"}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = PutFile(dir.path() + "/" + QString::fromLatin1(row.name));
        EXPECT_EQ(DialogEntry(path, dir.path() + "/tmp").formatCode, row.code);
        EXPECT_EQ(FoundFileEntries({path}).value(0).formatCode, row.code);
    }
}

} // namespace
