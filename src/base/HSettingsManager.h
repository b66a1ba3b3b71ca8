#pragma once

#include "KernelSettingsWriter.h"

#include <QDateTime>
#include <QHash>
#include <QSettings>

// The persistent preferences of the program in the platform's native per-user store, plus a registry
// of the defaults that callers asked for, so that a later getString(key) can answer with them.
class HSettingsManager : public KernelSettingsWriter
{
public:
    HSettingsManager(QSettings::Scope scope, const QString& organization, const QString& application);

    void setValue(const QString& key, const QVariant& value) override;

    // Registers defaultValue as the key's default unless one is registered already (the first wins).
    QVariant value(const QString& key, const QVariant& defaultValue);

    bool getBool(const QString& key, bool defaultValue) const;
    int getInt(const QString& key, int defaultValue) const;
    QString getString(const QString& key, const QString& defaultValue) const;

    // The stored value, else the registered default; an unknown key registers an invalid default.
    QString getString(const QString& key);
    QDateTime getDateTime(const QString& key);

    bool contains(const QString& key) const;

    // Writes the default when the key is missing (first start), then reads the key.
    QVariant ensureValue(const QString& key, const QVariant& defaultValue);

    QString fileName() const;
    void sync();

private:
    QVariant storedOrDefault(const QString& key);
    void clearDeadLock() const;

    QSettings settings;
    QHash<QString, QVariant> defaultsRegistry;
};
