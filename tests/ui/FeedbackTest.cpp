#include "TestSupport.h"
#include "ui/HotArea.h"
#include "ui/frmSuggest.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A small HTTP server in the test: records each request line and answers with `status`, or
// never answers when `status` is 0.
class LocalServer : public QObject
{
public:
    explicit LocalServer(int status) : m_status(status)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    m_received += socket->readAll();
                    if (!m_received.contains("\r\n\r\n") || m_status == 0)
                        return;
                    requests << m_received.left(m_received.indexOf("\r\n"));
                    m_received.clear();
                    socket->write("HTTP/1.1 " + QByteArray::number(m_status) +
                                  " Answer\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                sockets << socket;
            }
        });
    }
    QString Site() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    QByteArray Received() const { return m_received; }

    QList<QByteArray> requests;
    QList<QPointer<QTcpSocket>> sockets;

private:
    QTcpServer m_server;
    int m_status;
    QByteArray m_received;
};

bool WaitForStatus(const frmSuggest &form, const QString &status)
{
    return QTest::qWaitFor([&] { return form.lblSending()->text() == status; }, 5000);
}

void Fill(frmSuggest &form, const QString &name, const QString &email, const QString &comment)
{
    form.txtName()->setText(name);
    form.txtEMail()->setText(email);
    form.txtComment()->setText(comment);
}

TEST(Feedback, TheRequestCarriesTheFieldsAndNothingMore)
{
    struct Case
    {
        QString name, email, comment;
        QByteArray query;
    } cases[] = {
        {"Ann", "ann@example.org", "Nice", "name=Ann&age=ann%40example.org&comment=Nice"},
        {"a&b=c#d", "x+y%z", "say \"hi\" + 'there'",
         "name=a%26b%3Dc%23d&age=x%2By%25z&comment=say%20%22hi%22%20%2B%20%27there%27"},
        {"J\u00f6rg \u65e5", "j@x", "&name=evil",
         "name=J%C3%B6rg%20%E6%97%A5&age=j%40x&comment=%26name%3Devil"},
        {"n", "e", QString(256, 'c'), "name=n&age=e&comment=" + QByteArray(256, 'c')},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        LocalServer server(200);
        frmSuggest form(server.Site());
        form.show();
        Fill(form, c.name, c.email, c.comment);
        form.Command1_Click();
        EXPECT_EQ(form.lblSending()->text(), "Sending...");
        EXPECT_FALSE(form.imgSend()->isEnabled());
        EXPECT_FALSE(form.Command1()->isEnabled());
        ASSERT_TRUE(WaitForStatus(form, "Finished."));
        ASSERT_EQ(server.requests.size(), 1);
        EXPECT_EQ(server.requests[0], "GET /suggest/post.php?" + c.query + " HTTP/1.1");
        EXPECT_FALSE(form.imgSend()->isEnabled()); // sent once; closing starts afresh
    }
}

// Screen readers hear one Send and one Back; Enter sends and Esc goes back from any field.
TEST(Feedback, OneSendOneBackAndTheirKeys)
{
    frmSuggest form("http://127.0.0.1:9");
    form.show();
    QStringList heard;
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&form);
    for (int i = 0; i < face->childCount(); ++i) {
        if (!face->child(i)->state().invisible)
            heard << face->child(i)->text(QAccessible::Name);
    }
    EXPECT_EQ(heard.count("Send"), 1) << heard.join(", ");
    EXPECT_EQ(heard.count("Back"), 1) << heard.join(", ");
    form.txtEMail()->setFocus();
    QTest::keyClick(form.txtEMail(), Qt::Key_Return);
    EXPECT_EQ(form.lblSending()->text(), "Your Name?");
    QTest::keyClick(form.txtName(), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    // The form's own close button closes it too.
    form.show();
    QTest::mouseClick(form.imgExit(), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

TEST(Feedback, EachEmptyFieldIsAskedForInTurn)
{
    LocalServer server(200);
    frmSuggest form(server.Site());
    form.show();
    form.txtComment()->setText(QString(300, 'x'));
    EXPECT_EQ(form.txtComment()->text().size(), 256); // no more can be typed
    form.txtName()->setText(QString(300, 'x'));
    EXPECT_EQ(form.txtName()->text().size(), 50);
    form.txtEMail()->setText(QString(300, 'x'));
    EXPECT_EQ(form.txtEMail()->text().size(), 100);
    form.txtName()->clear();
    form.txtEMail()->clear();
    form.txtComment()->clear();
    const struct
    {
        QLineEdit *fill;
        const char *prompt;
        QLineEdit *focus;
    } steps[] = {{nullptr, "Your Name?", form.txtName()},
                 {form.txtName(), "Your Email?", form.txtEMail()},
                 {form.txtEMail(), "Comment?", form.txtComment()}};
    EXPECT_FALSE(form.lblSending()->isVisible());
    for (const auto &step : steps) {
        if (step.fill)
            step.fill->setText(" ");
        form.Command1_Click();
        EXPECT_EQ(form.lblSending()->text(), step.prompt);
        EXPECT_TRUE(form.lblSending()->isVisible());
        EXPECT_EQ(form.focusWidget(), step.focus);
        EXPECT_TRUE(form.imgSend()->isEnabled());
    }
    EXPECT_TRUE(server.requests.isEmpty());
}

TEST(Feedback, AFailureIsNotReportedAsSuccess)
{
    LocalServer notFound(404), broken(500), silent(0);
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const QString closedSite = QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    const QString sites[] = {notFound.Site(), broken.Site(), closedSite, "http://brimwave.invalid",
                             silent.Site()};
    for (const QString &site : sites) {
        SCOPED_TRACE(site.toStdString());
        frmSuggest form(site, nullptr, 500);
        form.show();
        Fill(form, "Ann", "ann@example.org", "Nice");
        form.Command1_Click();
        ASSERT_TRUE(WaitForStatus(form, "Not sent."));
        EXPECT_TRUE(form.imgSend()->isEnabled());
        EXPECT_EQ(form.txtComment()->text(), "Nice");
    }
}

TEST(Feedback, ClosingWhileSendingAbandonsTheRequest)
{
    LocalServer silent(0);
    auto form = std::make_unique<frmSuggest>(silent.Site());
    form->show();
    Fill(*form, "Ann", "ann@example.org", "Nice");
    form->Command1_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return silent.Received().contains("\r\n\r\n"); }, 5000));
    form->Command2_Click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->lblSending()->text(), "Sending...");
    // The connection is let go: the server sees it closed.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !silent.sockets.isEmpty() &&
                   (silent.sockets[0].isNull() ||
                    silent.sockets[0]->state() != QAbstractSocket::ConnectedState);
        },
        5000));
    form.reset();
    QTest::qWait(50);
}

// A server that answers every request with `head`, then sends `chunk` every `everyMs`
// milliseconds for as long as the connection lasts.
class TalkingServer : public QObject
{
public:
    TalkingServer(QByteArray head, QByteArray chunk, int everyMs)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [=] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                ++requests;
                connect(socket, &QTcpSocket::readyRead, socket, [=] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    socket->write(head);
                    if (everyMs == 0) {
                        socket->disconnectFromHost();
                        return;
                    }
                    auto *more = new QTimer(socket);
                    connect(more, &QTimer::timeout, socket, [=] {
                        if (socket->bytesToWrite() < 1024 * 1024)
                            socket->write(chunk);
                    });
                    more->start(everyMs);
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    quint16 Port() const { return m_server.serverPort(); }
    int requests = 0;

private:
    QTcpServer m_server;
};

TEST(Feedback, AnAnswerIsJudgedByItsStatusAndInTime)
{
    TalkingServer elsewhere("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", {}, 1000);
    struct Case
    {
        const char *name;
        QByteArray head, chunk;
        int everyMs;
        const char *status;
    } cases[] = {
        {"a body without end", "HTTP/1.1 200 OK\r\nContent-Length: 100000000000\r\n\r\n",
         QByteArray(65536, 'x'), 5, "Finished."},
        {"an answer that trickles past the time allowed", "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n",
         "x", 50, "Not sent."},
        {"a 2xx status cut off by a network error",
         "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nabc",
         {},
         0,
         "Not sent."},
        {"a 3xx status", "HTTP/1.1 300 Multiple Choices\r\nContent-Length: 0\r\n\r\n", {}, 0, "Not sent."},
        {"a redirect to another host",
         "HTTP/1.1 302 Found\r\nLocation: http://localhost:" + QByteArray::number(elsewhere.Port()) +
             "/suggest/post.php\r\nContent-Length: 0\r\n\r\n",
         {},
         1000,
         "Not sent."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TalkingServer server(c.head, c.chunk, c.everyMs);
        frmSuggest form(QStringLiteral("http://127.0.0.1:%1").arg(server.Port()), nullptr, 500);
        form.show();
        Fill(form, "Ann", "ann@example.org", "Nice");
        form.Command1_Click();
        EXPECT_TRUE(WaitForStatus(form, c.status)) << form.lblSending()->text();
    }
    EXPECT_EQ(elsewhere.requests, 0);
}

} // namespace
