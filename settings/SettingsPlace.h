#pragma once

#include <QString>

// Where setup.ini and options.ini live. Beside the program when its folder may be written (a
// portable copy, or the build folder); otherwise (an installed program) in the per-user
// configuration folder, with the same bytes. In an installed program a file found beside it
// still serves, until the user's own file exists, so a choice once saved is never lost.
class SettingsPlace
{
public:
    SettingsPlace(QString programFolder, QString configFolder);

    QString ToRead(const QString &name) const;
    // Where a save goes; makes the configuration folder when that is the place.
    QString ToWrite(const QString &name) const;
    // Deletes what stopped saves left in both places.
    void RemoveSaveLeftovers() const;

private:
    bool BesideTheProgram() const;
    QString Beside(const QString &name) const;
    QString InConfig(const QString &name) const;

    QString m_programFolder;
    QString m_configFolder;
};
