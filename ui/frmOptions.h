#pragma once

#include "settings/CutterOptions.h"

#include <QDialog>
#include <QTimer>

class HotArea;
class QCheckBox;
class QComboBox;
class QLineEdit;
class SkinChrome;
namespace platform {
class UserMessages;
}

// The cutter options dialog: whether a sound plays when a batch ends, and the Music Cutter's
// start and length, in hours, minutes and seconds. OK checks the fields, stores them in the
// program's one CutterOptions record and writes options.ini; Back and Exit change nothing.
// Each opening builds the dialog anew from the record.
class frmOptions : public QDialog
{
    Q_OBJECT
public:
    // The files-at-once picker offers 1 to `mostFilesAtOnce`.
    frmOptions(CutterOptions &cutter, QString optionsFile, platform::UserMessages &messages,
               int mostFilesAtOnce = MostFilesAtOnce(), QWidget *parent = nullptr);

    void chkMC_Click();
    void picButtonBR_Click();
    void imgOK_Click();
    void imgBack_Click();
    void imgExit_Click();

    QComboBox *cmbSR() const { return m_cmbSR; }
    QComboBox *cmbFiles() const { return m_cmbFiles; }
    QCheckBox *chkMC() const { return m_chkMC; }
    QLineEdit *txtFromH() const { return m_txtFromH; }
    QLineEdit *txtFromM() const { return m_txtFromM; }
    QLineEdit *txtFromS() const { return m_txtFromS; }
    QLineEdit *txtToH() const { return m_txtToH; }
    QLineEdit *txtToM() const { return m_txtToM; }
    QLineEdit *txtToS() const { return m_txtToS; }
    HotArea *imgOK() const { return m_imgOK; }
    HotArea *imgBack() const { return m_imgBack; }
    HotArea *imgExit() const { return m_imgExit; }
    HotArea *picButtonBR() const { return m_picButtonBR; }
    HotArea *picButtonFiles() const { return m_picButtonFiles; }
    QTimer &Timer1() { return m_timer1; }

protected:
    // Enter is OK and Esc is Back, wherever the focus is (a focused button takes its own Enter).
    void keyPressEvent(QKeyEvent *event) override;

private:
    void BuildControls(int mostFilesAtOnce);
    void Form_Load();
    void Form_MouseMove();
    // The check box's value: 0 clear, 1 checked, 2 dimmed.
    qint16 CutterValue() const;

    CutterOptions &m_cutter;
    QString m_optionsFile;
    platform::UserMessages &m_messages;
    SkinChrome *m_chrome = nullptr;
    QTimer m_timer1;
    QComboBox *m_cmbSR = nullptr;
    QComboBox *m_cmbFiles = nullptr;
    QCheckBox *m_chkMC = nullptr;
    QLineEdit *m_txtFromH = nullptr;
    QLineEdit *m_txtFromM = nullptr;
    QLineEdit *m_txtFromS = nullptr;
    QLineEdit *m_txtToH = nullptr;
    QLineEdit *m_txtToM = nullptr;
    QLineEdit *m_txtToS = nullptr;
    HotArea *m_imgOK = nullptr;
    HotArea *m_imgBack = nullptr;
    HotArea *m_imgExit = nullptr;
    HotArea *m_picButtonBR = nullptr;
    HotArea *m_picButtonFiles = nullptr;
};
