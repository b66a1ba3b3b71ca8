#pragma once

#include <QObject>
#include <QString>

// The external display as QML sees it ("hDisplay"). No platform implementation exists in this
// program, so it stays unavailable and its activation does nothing; QML may still write the texts
// and flags it shows.
class HDisplay : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString logMessage READ logMessage WRITE setLogMessage NOTIFY logMessageChanged)
    Q_PROPERTY(QString userMessage READ userMessage WRITE setUserMessage NOTIFY userMessageChanged)
    Q_PROPERTY(bool activated READ activated WRITE setActivated NOTIFY activatedChanged)
    Q_PROPERTY(bool available READ available WRITE setAvailable NOTIFY availableChanged)
    Q_PROPERTY(bool processing READ processing WRITE setProcessing NOTIFY processingChanged)
    Q_PROPERTY(bool failed READ failed WRITE setFailed NOTIFY failedChanged)

public:
    explicit HDisplay(QObject* parent = nullptr);

    QString logMessage() const { return logMessageValue; }
    QString userMessage() const { return userMessageValue; }
    bool activated() const { return activatedValue; }
    bool available() const { return availableValue; }
    bool processing() const { return processingValue; }
    bool failed() const { return failedValue; }

    void setLogMessage(const QString& value);
    void setUserMessage(const QString& value);
    void setAvailable(bool value);
    void setProcessing(bool value);
    void setFailed(bool value);

public slots:
    virtual void setActivated(bool value);
    virtual bool isSupported() const;

signals:
    void logMessageChanged();
    void userMessageChanged();
    void activatedChanged();
    void availableChanged();
    void processingChanged();
    void failedChanged();

private:
    QString logMessageValue;
    QString userMessageValue;
    bool activatedValue = false;
    bool availableValue = false;
    bool processingValue = false;
    bool failedValue = false;
};
