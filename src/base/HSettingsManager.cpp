#include "HSettingsManager.h"

HSettingsManager::HSettingsManager(QSettings::Scope scope, const QString& organization,
                                   const QString& application)
    : settings(QSettings::NativeFormat, scope, organization, application)
{
}

void HSettingsManager::setValue(const QString& key, const QVariant& value)
{
    settings.setValue(key, value);
}

QVariant HSettingsManager::value(const QString& key, const QVariant& defaultValue)
{
    if (!defaultsRegistry.contains(key)) {
        defaultsRegistry.insert(key, defaultValue);
    }
    return settings.value(key, defaultValue);
}

bool HSettingsManager::getBool(const QString& key, bool defaultValue) const
{
    return settings.value(key, defaultValue).toBool();
}

int HSettingsManager::getInt(const QString& key, int defaultValue) const
{
    return settings.value(key, defaultValue).toInt();
}

QString HSettingsManager::getString(const QString& key, const QString& defaultValue) const
{
    return settings.value(key, defaultValue).toString();
}

QVariant HSettingsManager::storedOrDefault(const QString& key)
{
    if (settings.contains(key)) {
        return settings.value(key);
    }
    // operator[] registers an invalid default for a key nobody asked about yet.
    return defaultsRegistry[key];
}

QString HSettingsManager::getString(const QString& key)
{
    return storedOrDefault(key).toString();
}

QDateTime HSettingsManager::getDateTime(const QString& key)
{
    return storedOrDefault(key).toDateTime();
}

bool HSettingsManager::contains(const QString& key) const
{
    return settings.contains(key);
}

QVariant HSettingsManager::ensureValue(const QString& key, const QVariant& defaultValue)
{
    if (!settings.contains(key)) {
        setValue(key, defaultValue);
    }
    return value(key, defaultValue);
}

QString HSettingsManager::fileName() const
{
    return settings.fileName();
}

void HSettingsManager::sync()
{
    settings.sync();
}
