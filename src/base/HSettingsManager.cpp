#include "HSettingsManager.h"

#include "BaseLogging.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

HSettingsManager::HSettingsManager(QSettings::Scope scope, const QString& organization,
                                   const QString& application)
    : settings(QSettings::NativeFormat, scope, organization, application)
{
    // Every save writes a whole new file beside the old one and renames it over: a crash or a kill
    // in the middle leaves the old file, never half of each; a store that cannot save that way
    // does not save at all (and says so in sync()).
    settings.setAtomicSyncRequired(true);
    clearDeadLock();
    if (settings.status() == QSettings::FormatError) {
        // The next save would replace what could not be read; keep it for the user.
        const QString copy = settings.fileName() + QStringLiteral(".unreadable");
        QFile::remove(copy);
        QFile::copy(settings.fileName(), copy);
        qCWarning(lcSettings).noquote()
            << "The settings in" << settings.fileName() << "cannot be read; they were kept as" << copy
            << "and the defaults apply.";
    }
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

void HSettingsManager::clearDeadLock() const
{
    // A program killed while it took the store's lock leaves the lock file empty. Qt's lock holds
    // on to such a file for 30 s before it calls it stale, and every save until then waits: the
    // program would hang. A live lock is written within microseconds of being made, so one still
    // empty or unreadable after a tenth of a second is such a leftover.
    const QString path = settings.fileName() + QStringLiteral(".lock");
    const auto unreadable = [&path] {
        qint64 pid = 0;
        QString host;
        QString application;
        return QFileInfo::exists(path) && !QLockFile(path).getLockInfo(&pid, &host, &application);
    };
    if (!unreadable()) {
        return;
    }
    const qint64 age = QFileInfo(path).lastModified().msecsTo(QDateTime::currentDateTime());
    if (age < 100) {
        QThread::msleep(unsigned(100 - qMax<qint64>(age, 0)));
    }
    if (unreadable() && QFile::remove(path)) {
        qCWarning(lcSettings).noquote() << "Removed the lock a killed program left on the settings:" << path;
    }
}

void HSettingsManager::sync()
{
    clearDeadLock();
    settings.sync();
    if (settings.status() == QSettings::AccessError) {
        qCWarning(lcSettings).noquote() << "The settings cannot be saved to" << settings.fileName();
    }
}
