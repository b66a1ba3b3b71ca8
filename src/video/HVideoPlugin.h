#pragma once

#include <QObject>
#include <QVariantList>

class HSettingsManager;

// The user's choice of video back end: offers the choices, keeps the choice in the settings, and says
// that a change needs a restart. Hardware decoding follows from the choice; the libvlc instance
// reads it when it is made. Its
// constructor registers the libvlc video item for QML ("import VLCQt 1.0").
class HVideoPlugin : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString currentPlugin READ getCurrentPlugin WRITE setCurrentPlugin NOTIFY currentPluginChanged)
    Q_PROPERTY(bool hardwareDecoding READ hardwareDecoding NOTIFY currentPluginChanged)

public:
    explicit HVideoPlugin(HSettingsManager* settings);

    QString getCurrentPlugin() const { return currentPlugin; }
    void setCurrentPlugin(const QString& plugin);
    bool hardwareDecoding() const;

    // Each entry is a QStringList: identifier, label, description.
    Q_INVOKABLE QVariantList pluginsList() const { return plugins; }

signals:
    void currentPluginChanged();
    void displayMessage(QString message);

private:
    QVariantList plugins;
    QString currentPlugin;
    HSettingsManager* const settings;
};
