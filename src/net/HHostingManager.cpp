#include "HHostingManager.h"

#include "HRedaction.h"
#include "NetLogging.h"
#include "VideosListModel.h"
#include "base/KernelSettingsWriter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {
// The program's own key for the stored secrets.
constexpr quint64 scramblerKey = Q_UINT64_C(0x5a17c3e98b264d1f);

const QString userNameKey = QStringLiteral("application/hosting/userName");
const QString passwordKey = QStringLiteral("application/hosting/password");
const QString accessTokenKey = QStringLiteral("application/hosting/accessToken");
const QString refreshTokenKey = QStringLiteral("application/hosting/refreshToken");
const QString apiKeyKey = QStringLiteral("application/hosting/apiKey");

const QString invalidGrant = QStringLiteral("invalid_grant");
const QString expiredToken = QStringLiteral("The access token provided has expired.");
const QString invalidRefreshToken = QStringLiteral("Invalid refresh token");

// What follows a request's answer.
enum Next
{
    Nothing,
    RefreshToken,
    Login,
    Disconnect
};

QUrl apiUrl(const QString& text)
{
    return QUrl(text, QUrl::TolerantMode);
}

// A name or secret as one path segment: a "/", "?" or "#" in a password must not change the path or
// cut the URL short.
QString segment(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}
} // namespace

HHostingManager::HHostingManager(KernelSettingsWriter* settingsWriter, QObject* parent)
    : QObject(parent), settings(settingsWriter), scrambler(scramblerKey), apiBase(defaultApiBase()),
      network(new QNetworkAccessManager()), model(new VideosListModel())
{
    connect(network, &QNetworkAccessManager::finished, this, &HHostingManager::receiveReply);
}

HHostingManager::~HHostingManager()
{
    delete network;
    delete model;
}

QString HHostingManager::defaultApiBase()
{
    QString base = qEnvironmentVariable("GYRE_HOSTING_API", QStringLiteral(GYRE_HOSTING_API_DEFAULT));
    if (!base.endsWith(QLatin1Char('/'))) {
        base += QLatin1Char('/');
    }
    return base;
}

void HHostingManager::setHostingState(HostingState value)
{
    if (value != state) {
        state = value;
        emit hostingStateChanged();
    }
}

void HHostingManager::setRequestType(RequestType value)
{
    if (value != request) {
        request = value;
        emit requestTypeChanged();
    }
}

QString HHostingManager::scrambled(const QString& secret)
{
    return scrambler.encryptToString(secret);
}

QString HHostingManager::serverName() const
{
    return apiUrl(apiBase).host();
}

QString HHostingManager::redacted(const QString& text) const
{
    return HRedaction::redacted(text, {password, accessToken, refreshToken, apiKey});
}

void HHostingManager::sendRequest(RequestType type, const QUrl& url, const QByteArray& body)
{
    if (request != None) {
        if (type == Content) {
            // The newest listing is the one the user wants; it waits for a login in flight.
            pendingContentUrl = url;
            pendingContentBody = body;
            if (request != Content) {
                return;
            }
        } else if (type != Connection) {
            return;
        }
        // Superseded: its answer, should it still come, is ignored.
        if (QNetworkReply* old = currentReply.data()) {
            currentReply.clear();
            old->abort();
            old->deleteLater();
        }
        setRequestType(None);
    }
    if (type != None) {
        setRequestType(type);
    }
    if (request == Content) {
        pendingContentUrl = url;
        pendingContentBody = body;
    }
    if (url.scheme() != QLatin1String("https")) {
        handleFailure(tr("The hosting service at %1 is not reached over HTTPS: the password and the tokens "
                         "would travel in the clear, so nothing is sent.")
                          .arg(apiBase),
                      QJsonObject());
        return;
    }

    QNetworkRequest networkRequest(url);
    networkRequest.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    networkRequest.setTransferTimeout(timeoutMs);
    cancelled = false;
    // Certificate errors are never ignored: the requests carry the password and the tokens, and a
    // failed handshake is reported like any transport error.
    if (request == Connection) {
        currentReply = network->get(networkRequest);
    } else {
        networkRequest.setRawHeader("Authorization", QStringLiteral("Bearer %1").arg(accessToken).toUtf8());
        currentReply = network->post(networkRequest, body);
    }
}

void HHostingManager::cancelRequest()
{
    if (currentReply) {
        cancelled = true;
        currentReply->abort();
    }
}

void HHostingManager::requestConnection(const QString& name, const QString& secret)
{
    setHostingState(Connecting);
    userName = name;
    password = secret;
    sendRequest(
        Connection,
        apiUrl(QStringLiteral("%1public/token/%2/%3").arg(apiBase, segment(userName), segment(password))),
        QByteArray());
}

void HHostingManager::requestTokenRefresh()
{
    setHostingState(Connecting);
    sendRequest(Connection,
                apiUrl(QStringLiteral("%1public/refresh_token/%2/%3/%4/%5")
                           .arg(apiBase, segment(apiKey), segment(userName), segment(password),
                                segment(refreshToken))),
                QByteArray());
}

void HHostingManager::requestTestAccess()
{
    setHostingState(Connecting);
    sendRequest(TestAccess, apiUrl(QStringLiteral("%1oauth/ready").arg(apiBase)), QByteArray());
}

QByteArray HHostingManager::contentFilter(int start) const
{
    const QJsonObject order{{firstOrderType, firstOrderDirection}};
    const QJsonObject filter{{QStringLiteral("start"), start},
                             {QStringLiteral("limit"), limit},
                             {QStringLiteral("order"), QJsonArray{order}},
                             {QStringLiteral("shuffle"), shuffle}};
    return QJsonDocument(QJsonObject{{QStringLiteral("filter"), filter}}).toJson();
}

void HHostingManager::requestContent(int contentCategory, int start, const QString& otherUser)
{
    QString path;
    switch (contentCategory) {
    case PublicVideos:
        path = QStringLiteral("public/videos");
        break;
    case MyVideos:
        path = QStringLiteral("oauth/videos/") + segment(apiKey);
        break;
    case UserVideos:
        path = QStringLiteral("public/videos/") + segment(otherUser);
        break;
    default:
        return;
    }
    const QUrl url = apiUrl(apiBase + path);
    const QByteArray body = contentFilter(start);
    model->clearVideos();
    sendRequest(Content, url, body);
}

void HHostingManager::requestDisconnection()
{
    userName.clear();
    password.clear();
    accessToken.clear();
    refreshToken.clear();
    apiKey.clear();
    for (const QString& key : {userNameKey, passwordKey, accessTokenKey, refreshTokenKey, apiKeyKey}) {
        settings->setValue(key, QString());
    }
    pendingContentUrl.clear();
    pendingContentBody.clear();
    setHostingState(Disconnected);
}

QString HHostingManager::describeFailure(QNetworkReply* reply) const
{
    const QString host = serverName();
    if (reply->error() == QNetworkReply::OperationCanceledError) {
        return cancelled ? tr("Cancelled.")
                         : tr("The hosting service at %1 did not answer within %2 s.")
                               .arg(host)
                               .arg(timeoutMs / 1000);
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        return tr("The hosting service at %1 answered %2 %3.")
            .arg(host)
            .arg(status)
            .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    }
    return tr("The hosting service at %1 cannot be reached: %2").arg(host, redacted(reply->errorString()));
}

void HHostingManager::receiveReply(QNetworkReply* response)
{
    response->deleteLater();
    if (request == None || response != currentReply.data()) {
        return; // superseded or cancelled with its request
    }
    currentReply.clear();

    QString errorMessage;
    QJsonObject resultObject;
    QJsonArray resultArray;
    if (response->error() != QNetworkReply::NoError) {
        errorMessage = describeFailure(response);
    } else {
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(response->readAll(), &parseError);
        if (parseError.error != QJsonParseError::NoError) {
            errorMessage = tr("Failed to parse server response to JSON.");
        } else if (document.isArray()) {
            resultArray = document.array();
        } else {
            resultObject = document.object();
            if (resultObject.contains(QLatin1String("error"))) {
                errorMessage = tr("Error in server response : ") +
                               resultObject.value(QLatin1String("error")).toString() + QLatin1Char(' ') +
                               resultObject.value(QLatin1String("error_description")).toString();
            }
        }
    }
    if (!errorMessage.isEmpty()) {
        handleFailure(redacted(errorMessage), resultObject);
        return;
    }

    switch (request) {
    case Content:
        model->addVideos(resultArray);
        pendingContentUrl.clear();
        pendingContentBody.clear();
        break;
    case Connection: {
        accessToken = resultObject.value(QLatin1String("access_token")).toString();
        refreshToken = resultObject.value(QLatin1String("refresh_token")).toString();
        settings->setValue(userNameKey, userName);
        settings->setValue(passwordKey, scrambled(password));
        settings->setValue(accessTokenKey, scrambled(accessToken));
        settings->setValue(refreshTokenKey, scrambled(refreshToken));
        const QString newApiKey = resultObject.value(QLatin1String("api_key")).toString();
        if (!newApiKey.isEmpty()) {
            apiKey = newApiKey;
            settings->setValue(apiKeyKey, scrambled(apiKey));
        }
        setHostingState(Connected);
        emit requestResponse(true, QString());
        break;
    }
    case TestAccess:
        setHostingState(Connected);
        break;
    case None:
        break;
    }
    finishRequest(Nothing);
}

void HHostingManager::handleFailure(const QString& errorMessage, const QJsonObject& resultObject)
{
    const QString error = resultObject.value(QLatin1String("error")).toString();
    const QString description = resultObject.value(QLatin1String("error_description")).toString();
    qCInfo(lcNet).noquote() << "Hosting request failed:" << errorMessage;
    Next next = Nothing;
    if (error == invalidGrant && description == expiredToken) {
        next = RefreshToken;
    } else if (error == invalidGrant && description == invalidRefreshToken) {
        next = Login;
    } else if (request == Connection || request == TestAccess) {
        next = Disconnect;
        emit requestResponse(false, errorMessage);
    } else {
        if (!cancelled) {
            emit displayMessage(errorMessage, 3);
        }
        pendingContentUrl.clear();
        pendingContentBody.clear();
    }
    finishRequest(next);
}

void HHostingManager::finishRequest(int next)
{
    // Reset first, so that the follow-up request is not dropped as a second one in flight.
    setRequestType(None);
    cancelled = false;

    switch (next) {
    case RefreshToken:
        requestTokenRefresh();
        break;
    case Login:
        requestConnection(userName, password);
        break;
    case Disconnect:
        requestDisconnection();
        break;
    default:
        if (!pendingContentUrl.isEmpty() || !pendingContentBody.isEmpty()) {
            sendRequest(Content, pendingContentUrl, pendingContentBody);
        } else if (accessTestPending) {
            requestTestAccess();
        }
        break;
    }
    accessTestPending = false;
}
