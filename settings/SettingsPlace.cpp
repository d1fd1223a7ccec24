#include "SettingsPlace.h"

#include "SettingsFiles.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

SettingsPlace::SettingsPlace(QString programFolder, QString configFolder)
    : m_programFolder(std::move(programFolder)), m_configFolder(std::move(configFolder))
{
}

bool SettingsPlace::BesideTheProgram() const
{
    return platform::SettingsMayLiveIn(m_programFolder);
}

QString SettingsPlace::Beside(const QString &name) const
{
    return m_programFolder + platform::PathSeparator() + name;
}

QString SettingsPlace::InConfig(const QString &name) const
{
    return m_configFolder + platform::PathSeparator() + name;
}

QString SettingsPlace::ToRead(const QString &name) const
{
    if (BesideTheProgram() || !QFileInfo::exists(InConfig(name)))
        return Beside(name);
    return InConfig(name);
}

QString SettingsPlace::ToWrite(const QString &name) const
{
    if (BesideTheProgram())
        return Beside(name);
    QDir().mkpath(m_configFolder);
    return InConfig(name);
}

void SettingsPlace::RemoveSaveLeftovers() const
{
    ::RemoveSaveLeftovers(m_programFolder);
    ::RemoveSaveLeftovers(m_configFolder);
}
