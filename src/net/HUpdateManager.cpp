#include "HUpdateManager.h"

#include "HRedaction.h"
#include "HUpdateAnswer.h"
#include "NetLogging.h"
#include "base/HSettingsManager.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrlQuery>

#include <memory>

namespace {
const QString lastCheckKey = QStringLiteral("general/last_update_check");
const QString stableChannel = QStringLiteral("stable");
const QString betaChannel = QStringLiteral("beta");
constexpr qint64 automaticCheckInterval = 7 * 24 * 3600;
// A version answer is one line; a change log a page of rich text.
constexpr qint64 versionCap = 64 * 1024;
constexpr qint64 changeLogCap = 1024 * 1024;
const char* const roleProperty = "gyreUpdateChannel";
const char* const tooLargeProperty = "gyreTooLarge";
const QString changeLogRole = QStringLiteral("changelog");

// The installer page for the platform we run on.
QString downloadPlatform()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("win32");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("macos");
#else
    return QStringLiteral("linux-") + QSysInfo::currentCpuArchitecture();
#endif
}
} // namespace

HUpdateManager::HUpdateManager(HSettingsManager* settingsStore, const QString& base, QObject* parent)
    : QThread(parent), serverBase(base), settings(settingsStore), network(new QNetworkAccessManager())
{
    connect(network, &QNetworkAccessManager::finished, this, &HUpdateManager::OnNetReplyFinished);
    // Emitted from the checker's thread; the slot runs queued on the main thread where we live.
    connect(this, &HUpdateManager::UrlResolved, this, &HUpdateManager::OnUrlResolved);
    timeoutMs =
        qBound(1, settings->ensureValue(QStringLiteral("application/update/timeout"), 15).toInt(), 600) *
        1000;
}

HUpdateManager::~HUpdateManager()
{
    wait();
    delete network;
}

void HUpdateManager::initialize(const QString& product, const QString& version, const QString& data)
{
    productId = product;
    currentVersion = ProductVersion(version);
    userData = data;

    const QDateTime lastCheck = settings->getDateTime(lastCheckKey);
    // An invalid date counts as 0 seconds ago: a program that never completed a check waits for
    // the user to ask for one.
    const qint64 secondsSince = lastCheck.isValid() ? lastCheck.secsTo(QDateTime::currentDateTime()) : 0;
    if (secondsSince > automaticCheckInterval && !isRunning() && !checking) {
        qCInfo(lcNet) << "Last update check" << lastCheck << "is more than a week old: checking";
        manualCheck = false;
        checking = true;
        start();
    }
}

void HUpdateManager::requestCheck(bool manual)
{
    if (isRunning() || checking) {
        // The check under way answers this request too.
        manualCheck = manualCheck || manual;
        return;
    }
    manualCheck = manual;
    checking = true;
    start(QThread::InheritPriority);
}

void HUpdateManager::run()
{
    // Wakes up name resolution and any proxy on the way before the real requests; the answer
    // does not matter and is never read.
    QNetworkAccessManager throwAway;
    std::unique_ptr<QNetworkReply> reply(throwAway.get(QNetworkRequest(QUrl(serverBase))));
    emit UrlResolved();
}

QString HUpdateManager::sourceText() const
{
    return productId + QLatin1Char('/') + currentVersion.text();
}

QNetworkRequest HUpdateManager::channelRequest(const QString& channel, const QString& what,
                                               bool withUserData) const
{
    QUrl url(serverBase + productId + QLatin1Char('/') + channel + QLatin1Char('/') + what);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("src"), sourceText());
    if (withUserData) {
        query.addQueryItem(QStringLiteral("data"), userData);
    }
    url.setQuery(query);
    return QNetworkRequest(url);
}

void HUpdateManager::send(const QNetworkRequest& prototype, const QString& role, qint64 cap)
{
    QNetworkRequest request(prototype);
    request.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = network->get(request);
    reply->setProperty(roleProperty, role);
    reply->setReadBufferSize(cap + 1);
    // Read no further than the cap: a server that sends without end costs memory only up to it.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, cap](qint64 received, qint64 total) {
        if (received > cap || total > cap) {
            reply->setProperty(tooLargeProperty, true);
            reply->abort();
        }
    });
}

QString HUpdateManager::describeFailure(QNetworkReply* reply, qint64 cap) const
{
    const QString host = QUrl(serverBase).host();
    // The whole answer may have arrived before its size was noticed.
    if (reply->property(tooLargeProperty).toBool() || reply->bytesAvailable() > cap) {
        return tr("the answer of %1 is larger than %2 KB").arg(host).arg(cap / 1024);
    }
    if (reply->error() == QNetworkReply::OperationCanceledError) {
        return tr("%1 did not answer within %2 s").arg(host).arg(timeoutMs / 1000);
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        return tr("%1 answered %2 %3")
            .arg(host)
            .arg(status)
            .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    }
    if (reply->error() != QNetworkReply::NoError) {
        return tr("%1 cannot be reached: %2")
            .arg(host, HRedaction::redacted(reply->errorString(), {userData}));
    }
    return QString();
}

void HUpdateManager::OnUrlResolved()
{
    pendingVersionReplies = 1;
    channelResults.clear();
    failure.clear();

    const bool sendUserData = !userData.isEmpty();
    const QNetworkRequest stableRequest =
        channelRequest(stableChannel, QStringLiteral("version"), sendUserData);
    if (sendUserData) {
        userData.clear();
        emit ClearUserData();
    }
    send(stableRequest, stableChannel, versionCap);

    if (currentVersion.buildNumber() != 400) {
        ++pendingVersionReplies;
        send(channelRequest(betaChannel, QStringLiteral("version"), false), betaChannel, versionCap);
    }
}

void HUpdateManager::OnNetReplyFinished(QNetworkReply* reply)
{
    reply->deleteLater();
    const QString role = reply->property(roleProperty).toString();
    const qint64 cap = role == changeLogRole ? changeLogCap : versionCap;
    const QString reason = describeFailure(reply, cap);
    const bool failed = !reason.isEmpty();
    if (failed) {
        qCInfo(lcNet).noquote() << "Update request failed:" << HRedaction::redacted(reply->url().toString())
                                << reason;
    }
    if (role == changeLogRole) {
        // Announced all the same: the version is known, only its notes are missing.
        latestChangeLog = failed ? QString() : QString::fromUtf8(reply->readAll()).trimmed();
        checking = false;
        emit NewVersionAvailable();
        return;
    }
    if (role != stableChannel && role != betaChannel) {
        return;
    }
    --pendingVersionReplies;
    if (failed) {
        failure = reason;
    } else {
        const QString body = QString::fromUtf8(reply->readAll());
        if (HUpdateAnswer::parse(body)) {
            channelResults.insert(role, body.trimmed());
            settings->setValue(lastCheckKey, QDateTime::currentDateTime());
        } else {
            failure = tr("the answer of %1 holds no version").arg(QUrl(serverBase).host());
            qCInfo(lcNet).noquote() << "Update answer without a version from" << role << "channel";
        }
    }
    if (pendingVersionReplies == 0) {
        evaluate();
    }
}

void HUpdateManager::evaluate()
{
    std::optional<HUpdateAnswer> answer;
    QString bestChannel;
    // Stable first, so that a beta answer only wins when it is strictly newer.
    for (const QString& channel : {stableChannel, betaChannel}) {
        const std::optional<HUpdateAnswer> candidate = HUpdateAnswer::parse(channelResults.value(channel));
        if (candidate && (!answer || candidate->version.isNewerThan(answer->version))) {
            answer = candidate;
            bestChannel = channel;
        }
    }
    if (!answer) {
        checking = false;
        if (manualCheck) {
            emit CheckFailed(failure);
        }
        return;
    }

    if (answer->version.isNewerThan(currentVersion)) {
        channelResults.clear();
        latest = answer->version;
        latestDate = answer->date;
        const QString channelBase =
            serverBase + productId + QLatin1Char('/') + bestChannel + QLatin1Char('/');
        download = channelBase + downloadPlatform();
        history = channelBase + QStringLiteral("history?src=") + sourceText();
        send(channelRequest(bestChannel, QStringLiteral("changelog"), false), changeLogRole, changeLogCap);
    } else {
        checking = false;
        if (manualCheck) {
            emit AlreadyLatestVersion();
        }
    }
}
