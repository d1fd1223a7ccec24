#pragma once

#include "DOSOutputs.h"
#include "platform/ConverterProcess.h"

#include <QObject>
#include <QStringDecoder>

// One converter run that is watched without waiting for it: its output and its end come as
// signals from the application's event loop, so several can run side by side.
class ConverterJob : public QObject
{
    Q_OBJECT
public:
    // `converterPath` is the converter the command lines name: exactly this path is started.
    explicit ConverterJob(QString converterPath, QObject *parent = nullptr);
    ~ConverterJob() override;

    // Starts the command line; false when the converter could not be started.
    bool Start(const QString &commandLine);
    // Ends the converter at once; its end still comes as `Ended`.
    void Kill();
    // Ends the converter and waits for it, without a signal (the program is closing).
    void KillAndForget();

    // The end of what the converter printed (see DOSOutputs::KeptOutputChars).
    QString Outputs() const { return m_outputs; }
    DOSOutputs::ChildEnd End() const { return m_end; }

signals:
    void ReceiveOutputs(const QString &CommandOutputs);
    // The converter has ended and its output has been read to the end.
    void Ended();

private:
    void ReadWaiting();
    void Finished(int exitCode, int endSignal);

    QString m_converterPath;
    platform::ConverterProcess *m_process;
    // One decoder for the whole run, so a character cut by a read boundary is not garbled.
    QStringDecoder m_decode{QStringConverter::Utf8}; // the converter writes UTF-8 everywhere
    QString m_outputs;
    DOSOutputs::ChildEnd m_end;
};
