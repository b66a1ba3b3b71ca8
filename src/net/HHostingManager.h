#pragma once

#include "SimpleCrypt/SimpleCrypt.h"

#include <QJsonArray>
#include <QObject>
#include <QPointer>
#include <QUrl>

class KernelSettingsWriter;
class QNetworkAccessManager;
class QNetworkReply;
class VideosListModel;

// The client of the video hosting service: logs in, keeps its tokens fresh, and lists public, own
// or another user's videos into its list model. One request is in flight at a time; a listing
// interrupted by an expired token or a lost login is sent again once the login is restored.
//
// The requests carry the password and the tokens, so the service is only spoken to over HTTPS,
// and no URL, header or error text that can hold one is logged or shown unredacted. Every request
// ends within its timeout or when the user cancels it; a new listing replaces one in flight.
class HHostingManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(HostingState hostingState READ hostingState WRITE setHostingState NOTIFY hostingStateChanged)
    Q_PROPERTY(RequestType requestType READ requestType WRITE setRequestType NOTIFY requestTypeChanged)
    // The service's host, for "waiting for …" and for messages.
    Q_PROPERTY(QString serverName READ serverName CONSTANT)

public:
    enum RequestType
    {
        None = 0,
        Content = 1,
        Connection = 2,
        TestAccess = 3
    };
    Q_ENUM(RequestType)
    enum ContentCategory
    {
        PublicVideos = 0,
        MyVideos = 1,
        UserVideos = 2
    };
    Q_ENUM(ContentCategory)
    enum HostingState
    {
        Disconnected = 0,
        Connecting = 1,
        Connected = 2
    };
    Q_ENUM(HostingState)

    // The API is the build's default unless GYRE_HOSTING_API names another.
    explicit HHostingManager(KernelSettingsWriter* settings, QObject* parent = nullptr);
    ~HHostingManager() override;

    static QString defaultApiBase();
    QString serverName() const;
    // Milliseconds a request may take before it fails ("application/hosting/timeout").
    void setRequestTimeout(int milliseconds) { timeoutMs = milliseconds; }
    VideosListModel* videosListModel() const { return model; }

    HostingState hostingState() const { return state; }
    void setHostingState(HostingState value);
    RequestType requestType() const { return request; }
    void setRequestType(RequestType value);

    Q_INVOKABLE void setLimit(int l) { limit = l; }
    Q_INVOKABLE void setFirstOrderType(const QString& fot) { firstOrderType = fot; }
    Q_INVOKABLE void setFirstOrderDirection(const QString& fod) { firstOrderDirection = fod; }
    Q_INVOKABLE void requestConnection(const QString& userName, const QString& password);
    Q_INVOKABLE void requestDisconnection();
    Q_INVOKABLE void requestContent(int contentCategory = PublicVideos, int start = 0,
                                    const QString& userName = QString());
    // Ends the request in flight, as a failure that says it was cancelled.
    Q_INVOKABLE void cancelRequest();

signals:
    void displayMessage(const QString& message, int icon);
    void requestResponse(bool success, const QString& errorMessage);
    void hostingStateChanged();
    void requestTypeChanged();

public slots:
    void receiveReply(QNetworkReply* response);

private:
    void sendRequest(RequestType type, const QUrl& url, const QByteArray& body);
    // Also without a reply (an address refused): the request fails with `errorMessage`.
    void handleFailure(const QString& errorMessage, const QJsonObject& resultObject);
    void finishRequest(int next);
    QString describeFailure(QNetworkReply* reply) const;
    QString redacted(const QString& text) const;
    void requestTokenRefresh();
    void requestTestAccess();
    QByteArray contentFilter(int start) const;
    QString scrambled(const QString& secret);

    KernelSettingsWriter* const settings;
    SimpleCrypt scrambler;
    const QString apiBase;
    QNetworkAccessManager* const network;
    VideosListModel* const model;
    int limit = 20;
    QString firstOrderType = QStringLiteral("date");
    QString firstOrderDirection = QStringLiteral("DESC");
    // Kept beside the first ordering; the server is only sent the first.
    QString secondOrderType = QStringLiteral("views");
    QString secondOrderDirection = QStringLiteral("ASC");
    int shuffle = 0;
    HostingState state = Disconnected;
    RequestType request = None;
    QUrl pendingContentUrl;
    QByteArray pendingContentBody;
    bool accessTestPending = true;
    QPointer<QNetworkReply> currentReply;
    bool cancelled = false;
    int timeoutMs = 20000;
    QString userName;
    QString password;
    QString apiKey;
    QString accessToken;
    QString refreshToken;
};
