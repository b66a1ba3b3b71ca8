#pragma once

#include "base/ProductVersion.h"

#include <QDate>
#include <QHash>
#include <QThread>

class HSettingsManager;
class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

// Asks the download server whether a newer version exists, on the "stable" channel and, for
// pre-release builds, on the "beta" channel too. Its own thread only starts a check; requests and
// answers are handled on the main thread. A newer version is announced once its change log arrived
// (or failed to). Every request ends within its timeout ("application/update/timeout", seconds),
// every answer is read up to a cap, and a check the user asked for always ends in a signal: newer,
// up to date, or failed with the reason.
class HUpdateManager : public QThread
{
    Q_OBJECT

public:
    HUpdateManager(HSettingsManager* settings, const QString& serverBase, QObject* parent = nullptr);
    ~HUpdateManager() override;

    void initialize(const QString& productId, const QString& currentVersion, const QString& userData);
    void requestCheck(bool manual);

    ProductVersion latestVersion() const { return latest; }
    QDate latestVersionDate() const { return latestDate; }
    QString changeLog() const { return latestChangeLog; }
    QString downloadUrl() const { return download; }
    QString historyUrl() const { return history; }
    QString serverBaseAddress() const { return serverBase; }

signals:
    void NewVersionAvailable();
    void AlreadyLatestVersion();
    // Only for a check the user asked for; `reason` names the server and the cause.
    void CheckFailed(const QString& reason);
    void ClearUserData();
    void UrlResolved();

protected:
    void run() override;

private slots:
    void OnNetReplyFinished(QNetworkReply* reply);
    void OnUrlResolved();

private:
    QNetworkRequest channelRequest(const QString& channel, const QString& what, bool withUserData) const;
    void send(const QNetworkRequest& request, const QString& channel, qint64 cap);
    // Why the request failed (too large for `cap`, a timeout, an HTTP error, a transport error), or
    // empty when it did not.
    QString describeFailure(QNetworkReply* reply, qint64 cap) const;
    QString sourceText() const;
    void evaluate();

    ProductVersion latest;
    QDate latestDate;
    QString latestChangeLog;
    QString download;
    QString history;
    const QString serverBase;
    QString productId;
    ProductVersion currentVersion;
    QString userData;
    bool manualCheck = false;
    bool checking = false;
    int pendingVersionReplies = 0;
    QHash<QString, QString> channelResults;
    QString failure;
    int timeoutMs = 15000;
    HSettingsManager* const settings;
    QNetworkAccessManager* const network;
};
