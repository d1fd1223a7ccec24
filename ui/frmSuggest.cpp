#include "frmSuggest.h"

#include "Accessibility.h"
#include "HotArea.h"
#include "Skin.h"
#include "SkinChrome.h"
#include "SkinLayout.h"
#include "SkinStyle.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QUrl>

namespace {

namespace L = SkinLayout::Suggest;

} // namespace

frmSuggest::frmSuggest(QString site, QWidget *parent, int answerMilliSeconds)
    : QDialog(parent), m_site(std::move(site)), m_answerMilliSeconds(answerMilliSeconds),
      m_network(new QNetworkAccessManager(this))
{
    m_answerTimer.setSingleShot(true);
    connect(&m_answerTimer, &QTimer::timeout, this, &frmSuggest::AnswerTimedOut);
    BuildControls();
    Form_Load();
}

frmSuggest::~frmSuggest()
{
    Abandon();
}

void frmSuggest::BuildControls()
{
    setWindowTitle(QStringLiteral("FeedBack"));
    InstallAccessibility();
    setStyleSheet(SkinStyleSheet());
    m_chrome = MakeSkinnedDialog(this, Pictures::frmSuggestFace, L::kWindowSize, m_timer1);
    connect(m_chrome, &SkinChrome::BareSkinMoved, this, &frmSuggest::Form_MouseMove);

    const auto field = [&](const QRect &place, int limit, const char *tip) {
        auto *box = new QLineEdit(this);
        box->setGeometry(place);
        box->setMaxLength(limit);
        // Only the main window's drop targets take drops: a dropped file is no name or comment.
        box->setAcceptDrops(false);
        box->setToolTip(QString::fromLatin1(tip));
        return box;
    };
    m_txtName = field(L::kName, 50, "Your Name");
    m_txtEMail = field(L::kEMail, 100, "Email");
    m_txtComment = field(L::kComment, 256, "Your comment");
    setTabOrder(m_txtName, m_txtEMail);
    setTabOrder(m_txtEMail, m_txtComment);

    m_lblSending = new QLabel(this);
    m_lblSending->setObjectName(QStringLiteral("lblSending"));
    m_lblSending->setGeometry(L::kSending);
    m_lblSending->setAlignment(Qt::AlignCenter);
    m_lblSending->hide();

    const QCursor hand = Skin::HandCursor();
    const auto button = [&](const QRect &place, const PictureName &hover, const char *tip) {
        auto *area = new HotArea(this, place);
        area->SetHoverPicture(Skin::Picture(hover));
        area->setToolTip(QString::fromLatin1(tip));
        area->setCursor(hand);
        return area;
    };
    m_imgSend = button(L::kSend, Pictures::frmSuggestSendLight, "Send your feedback now");
    m_imgBack = button(L::kBack, Pictures::frmSuggestBackLight, "back to main");
    m_imgExit = button(L::kExit, Pictures::frmSuggestExitLight, "Exit");
    m_imgSend->Describe(QStringLiteral("Send"), m_imgSend->toolTip());
    m_imgBack->Describe(QStringLiteral("Back"), m_imgBack->toolTip());
    m_imgExit->Describe(QStringLiteral("Exit"), QStringLiteral("Close the form"));
    m_txtName->setAccessibleName(QStringLiteral("Your name"));
    m_txtEMail->setAccessibleName(QStringLiteral("Your e-mail address"));
    m_txtComment->setAccessibleName(QStringLiteral("Your comment"));
    setTabOrder(m_txtComment, m_imgSend);
    setTabOrder(m_imgSend, m_imgBack);
    setTabOrder(m_imgBack, m_imgExit);

    // The two operations, as buttons outside the visible face.
    m_Command1 = new QPushButton(QStringLiteral("Send"), this);
    m_Command2 = new QPushButton(QStringLiteral("Back"), this);
    for (QPushButton *command : {m_Command1, m_Command2}) {
        command->setGeometry(QRect(QPoint(L::kWindowSize.width() + 10, 0), QSize(60, 20)));
        command->setFocusPolicy(Qt::NoFocus);
        command->setAutoDefault(false);
        // Screen readers hear one Send and one Back: the skin's.
        command->hide();
    }
    connect(m_Command1, &QPushButton::clicked, this, &frmSuggest::Command1_Click);
    connect(m_Command2, &QPushButton::clicked, this, &frmSuggest::Command2_Click);
    connect(m_imgSend, &HotArea::Clicked, this, &frmSuggest::Command1_Click);
    connect(m_imgBack, &HotArea::Clicked, this, &frmSuggest::Command2_Click);
    connect(m_imgExit, &HotArea::Clicked, this, &frmSuggest::Command2_Click);
}

void frmSuggest::Form_Load()
{
    m_chrome->Park();
    update();
    m_timer1.start();
}

void frmSuggest::Form_MouseMove()
{
    m_imgExit->Idle();
    m_imgBack->Idle();
    m_imgSend->Idle();
}

void frmSuggest::ShowStatus(const QString &text)
{
    m_lblSending->setText(text);
    m_lblSending->show();
}

void frmSuggest::SetSendEnabled(bool enabled)
{
    m_Command1->setEnabled(enabled);
    m_imgSend->setEnabled(enabled);
}

QByteArray frmSuggest::RequestAddress(const QString &site, const QString &name, const QString &email,
                                      const QString &comment)
{
    // Each value percent-encoded whole, so that no text can add or change a key.
    return site.toUtf8() + "/suggest/post.php?name=" + QUrl::toPercentEncoding(name) +
           "&age=" + QUrl::toPercentEncoding(email) + "&comment=" + QUrl::toPercentEncoding(comment);
}

void frmSuggest::Command1_Click()
{
    const std::pair<QLineEdit *, const char *> required[] = {
        {m_txtName, "Your Name?"}, {m_txtEMail, "Your Email?"}, {m_txtComment, "Comment?"}};
    for (const auto &[box, prompt] : required) {
        if (box->text().isEmpty()) {
            ShowStatus(QString::fromLatin1(prompt));
            box->setFocus();
            return;
        }
    }
    ShowStatus(QStringLiteral("Sending..."));
    SetSendEnabled(false);
    QNetworkRequest request(
        QUrl::fromEncoded(RequestAddress(m_site, m_txtName->text(), m_txtEMail->text(), m_txtComment->text()),
                          QUrl::StrictMode));
    // The comment goes to the product's site and nowhere else.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    m_reply = m_network->get(request);
    m_answerBytes = 0;
    // Only the status counts: a body that never ends is neither kept nor waited for.
    m_reply->setReadBufferSize(kLongestAnswer);
    connect(m_reply, &QNetworkReply::readyRead, this, [this] {
        if (!m_reply)
            return;
        m_answerBytes += m_reply->skip(m_reply->bytesAvailable());
        if (m_answerBytes >= kLongestAnswer)
            Answered();
    });
    connect(m_reply, &QNetworkReply::finished, this, &frmSuggest::Answered);
    // However the answer trickles in, the form says how it went when the time is up.
    m_answerTimer.start(m_answerMilliSeconds);
}

void frmSuggest::Answered()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    m_reply = nullptr;
    m_answerTimer.stop();
    reply->disconnect(this);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool sent = reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
    if (!reply->isFinished())
        reply->abort();
    reply->deleteLater();
    if (sent) {
        ShowStatus(QStringLiteral("Finished."));
        return;
    }
    // Nothing typed is lost: the user can send again.
    ShowStatus(QStringLiteral("Not sent."));
    SetSendEnabled(true);
}

void frmSuggest::AnswerTimedOut()
{
    Abandon();
    ShowStatus(QStringLiteral("Not sent."));
    SetSendEnabled(true);
}

void frmSuggest::Abandon()
{
    m_answerTimer.stop();
    if (QNetworkReply *reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void frmSuggest::Command2_Click()
{
    close();
}

void frmSuggest::keyPressEvent(QKeyEvent *event)
{
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (m_imgSend->isEnabled())
            Command1_Click();
    } else if (plain && event->key() == Qt::Key_Escape) {
        Command2_Click();
    } else {
        QDialog::keyPressEvent(event);
    }
}

void frmSuggest::closeEvent(QCloseEvent *event)
{
    Abandon();
    QDialog::closeEvent(event);
}
