#include "frmOptions.h"

#include "Accessibility.h"
#include "HotArea.h"
#include "Picker.h"
#include "Skin.h"
#include "SkinChrome.h"
#include "SkinLayout.h"
#include "SkinStyle.h"
#include "platform/UserMessages.h"
#include "settings/SettingsFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include <cmath>

namespace {

namespace L = SkinLayout::Options;

// Hours, minutes and seconds of a stored time, each the whole part of what is left; minutes and
// seconds are taken from the fields as just written.
void ShowTime(qint32 seconds, QLineEdit *hours, QLineEdit *minutes, QLineEdit *rest)
{
    hours->setText(QString::number(qint64(std::floor(seconds / 3600.0))));
    const double h = LenientValue(hours->text());
    minutes->setText(QString::number(qint64(std::floor((seconds - h * 3600) / 60))));
    const double m = LenientValue(minutes->text());
    rest->setText(QString::number(qint64(std::floor(seconds - h * 3600 - m * 60))));
}

qint32 TimeOf(const QLineEdit *hours, const QLineEdit *minutes, const QLineEdit *seconds)
{
    return WholeSeconds(LenientValue(hours->text()) * 3600 + LenientValue(minutes->text()) * 60 +
                        LenientValue(seconds->text()));
}

} // namespace

frmOptions::frmOptions(CutterOptions &cutter, QString optionsFile, platform::UserMessages &messages,
                       int mostFilesAtOnce, QWidget *parent)
    : QDialog(parent), m_cutter(cutter), m_optionsFile(std::move(optionsFile)), m_messages(messages)
{
    BuildControls(mostFilesAtOnce);
    Form_Load();
}

void frmOptions::BuildControls(int mostFilesAtOnce)
{
    setWindowTitle(QStringLiteral("Options"));
    InstallAccessibility();
    setStyleSheet(SkinStyleSheet());
    m_chrome = MakeSkinnedDialog(this, Pictures::frmOptionsFace, L::kWindowSize, m_timer1);
    connect(m_chrome, &SkinChrome::BareSkinMoved, this, &frmOptions::Form_MouseMove);

    m_cmbSR = new Picker(this);
    m_cmbSR->setGeometry(L::kSoundPicker);
    m_cmbSR->addItems({QStringLiteral("ON"), QStringLiteral("OFF")});
    m_cmbSR->setToolTip(QStringLiteral("Play a sound when all files are converted"));
    m_cmbSR->setAccessibleName(QStringLiteral("Finish sound"));
    m_picButtonBR = new HotArea(this, L::kSoundButton);
    m_picButtonBR->SetIdlePicture(Skin::Picture(Pictures::imgButton));
    m_picButtonBR->SetHoverPicture(Skin::Picture(Pictures::imgButtonLight));
    m_picButtonBR->setToolTip(m_cmbSR->toolTip());
    // The picker opens its own list (Alt+Down): its button is for the mouse alone.
    m_picButtonBR->setFocusPolicy(Qt::NoFocus);
    connect(m_picButtonBR, &HotArea::Clicked, this, &frmOptions::picButtonBR_Click);

    m_chkMC = new QCheckBox(QStringLiteral("Music Cutter"), this);
    m_chkMC->setGeometry(L::kCutter);
    m_chkMC->setToolTip(QStringLiteral("Music Cutter: convert only a stretch of every file"));
    connect(m_chkMC, &QCheckBox::stateChanged, this, &frmOptions::chkMC_Click);
    // A user's click only ever turns the cutter on or off.
    connect(m_chkMC, &QCheckBox::clicked, this, [this] { m_chkMC->setTristate(false); });

    const auto field = [&](int top, int column, const char *name, const char *tip) {
        auto *box = new QLineEdit(QStringLiteral("0"), this);
        box->setGeometry(L::Field(top, column));
        // Only the main window's drop targets take drops: a dropped file is no time.
        box->setAcceptDrops(false);
        box->setToolTip(QString::fromLatin1(tip));
        box->setAccessibleName(QString::fromLatin1(name));
        return box;
    };
    m_txtFromH = field(L::kStartTop, 0, "Start, hours", "Start of the stretch: hours");
    m_txtFromM = field(L::kStartTop, 1, "Start, minutes", "Start of the stretch: minutes (below 60)");
    m_txtFromS = field(L::kStartTop, 2, "Start, seconds", "Start of the stretch: seconds (below 60)");
    m_txtToH = field(L::kLengthTop, 0, "Length, hours", "Length of the stretch: hours");
    m_txtToM = field(L::kLengthTop, 1, "Length, minutes", "Length of the stretch: minutes (below 60)");
    m_txtToS = field(L::kLengthTop, 2, "Length, seconds", "Length of the stretch: seconds (below 60)");
    // 1 converts the files one after another; more use as many cores.
    m_cmbFiles = new Picker(this);
    m_cmbFiles->setGeometry(L::kFilesPicker);
    for (int files = 1; files <= mostFilesAtOnce; ++files)
        m_cmbFiles->addItem(QString::number(files));
    m_cmbFiles->setToolTip(QStringLiteral("How many files convert at the same time (1: one after another)"));
    m_cmbFiles->setAccessibleName(QStringLiteral("Files at once"));
    m_picButtonFiles = new HotArea(this, L::kFilesButton);
    m_picButtonFiles->SetIdlePicture(Skin::Picture(Pictures::imgButton));
    m_picButtonFiles->SetHoverPicture(Skin::Picture(Pictures::imgButtonLight));
    m_picButtonFiles->setToolTip(m_cmbFiles->toolTip());
    m_picButtonFiles->setFocusPolicy(Qt::NoFocus);
    connect(m_picButtonFiles, &HotArea::Clicked, m_cmbFiles, &QComboBox::showPopup);

    QWidget *order[] = {m_cmbSR,  m_chkMC,  m_txtFromH, m_txtFromM, m_txtFromS,
                        m_txtToH, m_txtToM, m_txtToS,   m_cmbFiles};
    for (int i = 0; i + 1 < int(std::size(order)); ++i)
        setTabOrder(order[i], order[i + 1]);

    const QCursor hand = Skin::HandCursor();
    const auto button = [&](const QRect &place, const PictureName &hover, const char *tip,
                            void (frmOptions::*click)()) {
        auto *area = new HotArea(this, place);
        area->SetHoverPicture(Skin::Picture(hover));
        area->setToolTip(QString::fromLatin1(tip));
        area->setCursor(hand);
        connect(area, &HotArea::Clicked, this, click);
        return area;
    };
    m_imgOK = button(L::kOK, Pictures::frmOptionsOKLight, "Keep these options", &frmOptions::imgOK_Click);
    m_imgBack = button(L::kBack, Pictures::frmOptionsBackLight, "Back without changing anything",
                       &frmOptions::imgBack_Click);
    m_imgExit = button(L::kExit, Pictures::frmOptionsExitLight, "Close without changing anything",
                       &frmOptions::imgExit_Click);
    m_imgOK->Describe(QStringLiteral("OK"), m_imgOK->toolTip());
    m_imgBack->Describe(QStringLiteral("Back"), m_imgBack->toolTip());
    m_imgExit->Describe(QStringLiteral("Close"), m_imgExit->toolTip());
}

void frmOptions::keyPressEvent(QKeyEvent *event)
{
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
        imgOK_Click();
    else if (plain && event->key() == Qt::Key_Escape)
        imgBack_Click();
    else
        QDialog::keyPressEvent(event);
}

void frmOptions::Form_Load()
{
    m_chrome->Park();
    // An index the picker does not hold leaves it without a selection.
    m_cmbSR->setCurrentIndex(
        m_cutter.FinishSoundIndex == 0 || m_cutter.FinishSoundIndex == 1 ? m_cutter.FinishSoundIndex : -1);
    m_cmbFiles->setCurrentIndex(std::clamp(int(m_cutter.FilesAtOnce), 1, m_cmbFiles->count()) - 1);
    // 2 shows the box dimmed; any other value but 0 and 1 is refused and leaves it clear.
    switch (m_cutter.CutterEnabled) {
    case 1:
        m_chkMC->setCheckState(Qt::Checked);
        break;
    case 2:
        m_chkMC->setCheckState(Qt::PartiallyChecked);
        break;
    default:
        m_chkMC->setCheckState(Qt::Unchecked);
        break;
    }
    chkMC_Click();
    // A dimmed box (a stored 2) cuts too: its times are shown, so that OK keeps them.
    if (CutterValue() != 0) {
        ShowTime(m_cutter.CutStartSeconds, m_txtFromH, m_txtFromM, m_txtFromS);
        ShowTime(m_cutter.CutLengthSeconds, m_txtToH, m_txtToM, m_txtToS);
    }
    update();
    m_timer1.start();
}

qint16 frmOptions::CutterValue() const
{
    switch (m_chkMC->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

void frmOptions::chkMC_Click()
{
    const bool on = CutterValue() == 1;
    for (QLineEdit *box : {m_txtFromH, m_txtFromM, m_txtFromS, m_txtToH, m_txtToM, m_txtToS})
        box->setEnabled(on);
}

void frmOptions::picButtonBR_Click()
{
    m_cmbSR->showPopup();
}

void frmOptions::imgOK_Click()
{
    const std::pair<QLineEdit *, const char *> checks[] = {
        {m_txtFromM, "Minutes must less than 60"},
        {m_txtToM, "Minutes must less than 60"},
        {m_txtFromS, "Seconds must less than 60"},
        {m_txtToS, "Seconds must less than 60"},
    };
    for (const auto &[box, message] : checks) {
        if (LenientValue(box->text()) > 59) {
            m_messages.Show(QString::fromLatin1(message), QStringLiteral("Min"),
                            platform::UserMessages::Icon::Warning);
            box->setFocus();
            return;
        }
    }
    // No stretch at all: the cutter goes off, also from a dimmed box (a stored 2), which cuts
    // as well: every file would fail for a cut of length 0.
    const QLineEdit *fields[] = {m_txtFromH, m_txtFromM, m_txtFromS, m_txtToH, m_txtToM, m_txtToS};
    if (CutterValue() != 0 && std::all_of(std::begin(fields), std::end(fields), [](const QLineEdit *box) {
            return LenientValue(box->text()) == 0;
        }))
        m_chkMC->setCheckState(Qt::Unchecked);
    m_cutter.FinishSoundIndex = qint16(m_cmbSR->currentIndex());
    m_cutter.FilesAtOnce = qint16(m_cmbFiles->currentIndex() + 1);
    m_cutter.CutterEnabled = CutterValue();
    m_cutter.CutStartSeconds = TimeOf(m_txtFromH, m_txtFromM, m_txtFromS);
    m_cutter.CutLengthSeconds = TimeOf(m_txtToH, m_txtToM, m_txtToS);
    // When the file cannot be written, the new values still hold for this run.
    SaveCutterOptions(m_optionsFile, m_cutter);
    accept();
}

void frmOptions::imgBack_Click()
{
    reject();
}

void frmOptions::imgExit_Click()
{
    reject();
}

void frmOptions::Form_MouseMove()
{
    m_imgOK->Idle();
    m_imgBack->Idle();
    m_imgExit->Idle();
    m_picButtonBR->Idle();
    m_picButtonFiles->Idle();
}
