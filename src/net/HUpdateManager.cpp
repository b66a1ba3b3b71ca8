#include "HUpdateManager.h"

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
const QString awaitingAnswer = QStringLiteral("CHECK");
constexpr qint64 automaticCheckInterval = 7 * 24 * 3600;

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
    if (secondsSince > automaticCheckInterval && !isRunning()) {
        qCInfo(lcNet) << "Last update check" << lastCheck << "is more than a week old: checking";
        manualCheck = false;
        start();
    }
}

void HUpdateManager::requestCheck(bool manual)
{
    if (isRunning()) {
        return;
    }
    manualCheck = manual;
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

void HUpdateManager::OnUrlResolved()
{
    pendingVersionReplies = 1;
    channelResults.insert(stableChannel, awaitingAnswer);

    const bool sendUserData = !userData.isEmpty();
    const QNetworkRequest stableRequest =
        channelRequest(stableChannel, QStringLiteral("version"), sendUserData);
    if (sendUserData) {
        userData.clear();
        emit ClearUserData();
    }
    network->get(stableRequest);

    if (currentVersion.buildNumber() != 400) {
        ++pendingVersionReplies;
        channelResults.insert(betaChannel, awaitingAnswer);
        network->get(channelRequest(betaChannel, QStringLiteral("version"), false));
    }
}

void HUpdateManager::OnNetReplyFinished(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        // A failed version request leaves the count pending: this check ends here, silently.
        qCInfo(lcNet) << "Update request failed:" << reply->url().toString() << reply->errorString();
        return;
    }

    const QString body = QString::fromUtf8(reply->readAll());
    const QString url = reply->url().toString();

    if (url.contains(QLatin1String("version"))) {
        --pendingVersionReplies;
        settings->setValue(lastCheckKey, QDateTime::currentDateTime());

        const QString channel = url.contains(QLatin1String("/stable/")) ? stableChannel : betaChannel;
        if (HUpdateAnswer::parse(body)) {
            channelResults.insert(channel, body.trimmed());
        } else {
            channelResults.remove(channel);
        }
        if (pendingVersionReplies == 0) {
            evaluate();
        }
    }

    if (url.contains(QLatin1String("changelog"))) {
        latestChangeLog = body.trimmed();
        emit NewVersionAvailable();
    }
}

void HUpdateManager::evaluate()
{
    std::optional<HUpdateAnswer> answer;
    QString bestChannel;
    // Stable first, so that a beta answer only wins when it is strictly newer. Entries still
    // awaiting an answer from an earlier, failed check are no version and take no part.
    for (const QString& channel : {stableChannel, betaChannel}) {
        const QString value = channelResults.value(channel);
        const std::optional<HUpdateAnswer> candidate =
            value == awaitingAnswer ? std::nullopt : HUpdateAnswer::parse(value);
        if (candidate && (!answer || candidate->version.isNewerThan(answer->version))) {
            answer = candidate;
            bestChannel = channel;
        }
    }
    if (!answer) {
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
        network->get(channelRequest(bestChannel, QStringLiteral("changelog"), false));
    } else if (manualCheck) {
        emit AlreadyLatestVersion();
    }
}
