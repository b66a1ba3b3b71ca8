#pragma once

#include <QObject>
#include <QTranslator>
#include <QVariantList>

class HSettingsManager;

// The interface's language: at start-up it installs our catalogue and Qt's own for the language
// in "application/language", or for the system's locale when that is empty. Published to QML as
// "hLanguage", which lists the catalogues and stores the user's choice for the next start.
class HTranslations : public QObject
{
    Q_OBJECT
    // Each entry a map: "code" (empty for the system's language) and "name", in that language.
    Q_PROPERTY(QVariantList languages READ languages CONSTANT)
    // What "application/language" holds now; empty for the system's language.
    Q_PROPERTY(QString chosen READ chosen NOTIFY chosenChanged)
    // The catalogue this run loaded ("de"), or empty when the texts are the English originals.
    Q_PROPERTY(QString active READ active CONSTANT)

public:
    explicit HTranslations(HSettingsManager* settings, QObject* parent = nullptr);

    // Loads and installs the catalogues; once, before the first translated text is made.
    void install();

    QVariantList languages() const;
    QString chosen() const;
    QString active() const { return activeLanguage; }

    // Stores the choice; it takes effect at the next start.
    Q_INVOKABLE void choose(const QString& code);

signals:
    void chosenChanged();
    void displayMessage(const QString& message);

private:
    HSettingsManager* const settings;
    QTranslator ours;
    QTranslator qts;
    QString activeLanguage;
};
