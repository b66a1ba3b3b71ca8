#pragma once

#include <QObject>
#include <QVariantList>

class HSettingsManager;

// The user's choice of video back end: offers the choices, keeps the choice in the settings, sets the
// process-wide hardware-decoding flag from it, and says that a change needs a restart. Its
// constructor registers the libvlc video item for QML ("import VLCQt 1.0").
class HVideoPlugin : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString currentPlugin READ getCurrentPlugin WRITE setCurrentPlugin NOTIFY currentPluginChanged)

public:
    // hardwareDecoding is the flag main() owns; it must outlive this object.
    HVideoPlugin(HSettingsManager* settings, bool* hardwareDecoding);
    ~HVideoPlugin() override;

    QString getCurrentPlugin() const { return currentPlugin; }
    void setCurrentPlugin(const QString& plugin);

    // Each entry is a QStringList: identifier, label, description.
    Q_INVOKABLE QVariantList pluginsList() const { return plugins; }

signals:
    void currentPluginChanged();
    void displayMessage(QString message);

private:
    void updateHardwareDecoding();

    QVariantList plugins;
    QString currentPlugin;
    HSettingsManager* const settings;
    bool* const hardwareDecoding;
};
