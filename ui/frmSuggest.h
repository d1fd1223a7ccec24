#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>

class HotArea;
class QLabel;
class QLineEdit;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;
class SkinChrome;

// The feedback form: sends a name, an e-mail address and a comment to the product's site as one
// HTTP GET, and says plainly whether that worked. Nothing is stored or logged.
class frmSuggest : public QDialog
{
    Q_OBJECT
public:
    // How long an answer may take, from Send, before the form says it was not sent.
    static constexpr int kAnswerMilliSeconds = 30000;
    // The most of an answer's body that is read: the status is what counts.
    static constexpr qint64 kLongestAnswer = 64 * 1024;

    // `site` is the product's web address (the build's own, or a test's server).
    explicit frmSuggest(QString site, QWidget *parent = nullptr,
                        int answerMilliSeconds = kAnswerMilliSeconds);
    ~frmSuggest() override;

    // Send: checks that the three fields hold something, then sends them.
    void Command1_Click();
    // Back: closes the form, abandoning a request still under way.
    void Command2_Click();

    // The request address for the three texts, each percent-encoded as a query value.
    static QByteArray RequestAddress(const QString &site, const QString &name, const QString &email,
                                     const QString &comment);

    QLineEdit *txtName() const { return m_txtName; }
    QLineEdit *txtEMail() const { return m_txtEMail; }
    QLineEdit *txtComment() const { return m_txtComment; }
    QLabel *lblSending() const { return m_lblSending; }
    HotArea *imgSend() const { return m_imgSend; }
    HotArea *imgBack() const { return m_imgBack; }
    HotArea *imgExit() const { return m_imgExit; }
    QPushButton *Command1() const { return m_Command1; }
    QTimer &Timer1() { return m_timer1; }

protected:
    void closeEvent(QCloseEvent *event) override;
    // Enter sends (while Send can be pressed) and Esc goes back, wherever the focus is.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void BuildControls();
    void Form_Load();
    void Form_MouseMove();
    void ShowStatus(const QString &text);
    void SetSendEnabled(bool enabled);
    void Answered();
    void AnswerTimedOut();
    void Abandon();

    QString m_site;
    int m_answerMilliSeconds;
    SkinChrome *m_chrome = nullptr;
    QTimer m_timer1;
    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer m_answerTimer;
    qint64 m_answerBytes = 0;
    QLineEdit *m_txtName = nullptr;
    QLineEdit *m_txtEMail = nullptr;
    QLineEdit *m_txtComment = nullptr;
    QLabel *m_lblSending = nullptr;
    HotArea *m_imgSend = nullptr;
    HotArea *m_imgBack = nullptr;
    HotArea *m_imgExit = nullptr;
    QPushButton *m_Command1 = nullptr;
    QPushButton *m_Command2 = nullptr;
};
