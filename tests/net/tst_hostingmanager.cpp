#include "FakeHttpServer.h"
#include "SimpleCrypt/SimpleCrypt.h"
#include "TestCertificateAuthority.h"
#include "base/KernelSettingsWriter.h"
#include "net/HHostingManager.h"
#include "net/VideosListModel.h"

#include <QAbstractItemModelTester>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <memory>

namespace {
const QString api = "/app_dev.php/api/";
const QByteArray expired =
    R"({"error":"invalid_grant","error_description":"The access token provided has expired."})";
const QByteArray badRefresh = R"({"error":"invalid_grant","error_description":"Invalid refresh token"})";

QByteArray tokens(const QString& access, const QString& refresh, const QString& apiKey = QString())
{
    QJsonObject answer{{"access_token", access}, {"refresh_token", refresh}};
    if (!apiKey.isEmpty()) {
        answer.insert("api_key", apiKey);
    }
    return QJsonDocument(answer).toJson();
}

QByteArray videos(int count, const QString& user = "ana")
{
    QJsonArray list;
    for (int i = 0; i < count; ++i) {
        list.append(QJsonObject{{"username", user},
                                {"title", QString("Reef %1").arg(i)},
                                {"creation_date", "2026-11-0" + QString::number(i + 1)},
                                {"thumb_link", "https://cdn.test/t.jpg"},
                                {"source", QString("https://cdn.test/v%1.mp4").arg(i)},
                                {"presets", QJsonArray{QJsonObject{{"url", "https://cdn.test/low.mp4"}}}},
                                {"key", QString("k%1").arg(i)}});
    }
    return QJsonDocument(list).toJson();
}

// Records what the client writes, in order.
class RecordingSettings : public KernelSettingsWriter
{
public:
    void setValue(const QString& key, const QVariant& value) override
    {
        writes.append({key, value.toString()});
    }
    QList<QPair<QString, QString>> writes;
    // The last value written under each key.
    QMap<QString, QString> stored() const
    {
        QMap<QString, QString> values;
        for (const auto& [key, value] : writes) {
            values.insert(key, value);
        }
        return values;
    }
};
} // namespace

// The hosting client against a loopback HTTPS server whose certificate authority is made here.
class TestHostingManager : public QObject
{
    Q_OBJECT

private:
    TestCertificateAuthority pki;
    std::unique_ptr<FakeHttpServer> serverInstance;
    RecordingSettings settings;
    std::unique_ptr<HHostingManager> client;
    std::unique_ptr<QAbstractItemModelTester> modelTester;

    QList<FakeHttpServer::Request> requestsTo(const QString& path) const
    {
        QList<FakeHttpServer::Request> matching;
        for (const FakeHttpServer::Request& request : server().fullRequests()) {
            if (request.url.path(QUrl::FullyEncoded) == api + path) {
                matching << request;
            }
        }
        return matching;
    }
    void serve(const QString& path, int status, const QByteArray& body)
    {
        server().setResponse(api + path, status, body);
    }
    void queue(const QString& path, int status, const QByteArray& body)
    {
        server().queueResponse(api + path, status, body);
    }
    FakeHttpServer& server() const { return *serverInstance; }
    VideosListModel* model() const { return client->videosListModel(); }
    bool idle() const { return client->requestType() == HHostingManager::None; }
    void logIn()
    {
        queue("public/token/ana/pw", 200, tokens("A1", "R1", "K1"));
        client->requestConnection("ana", "pw");
        QTRY_VERIFY(idle() && client->hostingState() == HHostingManager::Connected);
    }

private slots:
    void initTestCase() { QVERIFY2(pki.create(), qPrintable(pki.error())); }

    void init()
    {
        // A fresh server per test, so no answer or record leaks from one test into the next.
        serverInstance = std::make_unique<FakeHttpServer>();
        QVERIFY(server().listen(pki.serverCertificate(), pki.serverKey()));
        qputenv("GYRE_HOSTING_API", (server().baseUrl().toString() + "app_dev.php/api/").toUtf8());
        pki.trust(true);
        settings.writes.clear();
        client = std::make_unique<HHostingManager>(&settings);
        modelTester = std::make_unique<QAbstractItemModelTester>(
            model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        serve("oauth/ready", 200, "{}");
    }
    void cleanup()
    {
        modelTester.reset();
        client.reset();
        serverInstance.reset();
    }

    void untrustedCertificateFailsTheLogin()
    {
        pki.trust(false);
        client = std::make_unique<HHostingManager>(&settings);
        QSignalSpy responses(client.get(), &HHostingManager::requestResponse);
        serve("public/token/ana/pw", 200, tokens("A1", "R1", "K1"));
        client->requestConnection("ana", "pw");
        QCOMPARE(client->hostingState(), HHostingManager::Connecting);
        QTRY_COMPARE(responses.size(), 1);
        QCOMPARE(responses.at(0).at(0).toBool(), false);
        QVERIFY(!responses.at(0).at(1).toString().isEmpty());
        QCOMPARE(client->hostingState(), HHostingManager::Disconnected);
        QVERIFY(requestsTo("public/token/ana/pw").isEmpty()); // the password never left
    }

    void listingWithoutLoginThenOneAccessTest()
    {
        serve("public/videos", 200, videos(3));
        client->requestContent();
        QTRY_COMPARE(model()->rowCount(), 3);
        const FakeHttpServer::Request listing = requestsTo("public/videos").value(0);
        QCOMPARE(listing.method, QByteArray("POST"));
        QCOMPARE(listing.headers.value("authorization"), QByteArray("Bearer "));
        QCOMPARE(listing.headers.value("content-type"), QByteArray("application/json"));
        const QJsonObject filter = QJsonDocument::fromJson(listing.body).object().value("filter").toObject();
        QCOMPARE(filter, (QJsonObject{{"start", 0},
                                      {"limit", 20},
                                      {"shuffle", 0},
                                      {"order", QJsonArray{QJsonObject{{"date", "DESC"}}}}}));

        const QModelIndex first = model()->index(0);
        QCOMPARE(first.data(VideosListModel::UserNameRole).toString(), QString("ana"));
        QCOMPARE(first.data(VideosListModel::SourceUrlRole).toString(), QString("https://cdn.test/v0.mp4"));

        QTRY_COMPARE(requestsTo("oauth/ready").size(), 1);
        QTRY_COMPARE(client->hostingState(), HHostingManager::Connected);
        client->requestContent(HHostingManager::PublicVideos, 20);
        QTRY_COMPARE(requestsTo("public/videos").size(), 2);
        QTRY_VERIFY(idle());
        QTest::qWait(100);
        QCOMPARE(requestsTo("oauth/ready").size(), 1);
    }

    void expiredTokenRefreshesAndResends()
    {
        logIn();
        queue("public/videos", 200, expired);
        queue("public/refresh_token/K1/ana/pw/R1", 200, tokens("A2", "R2"));
        serve("public/videos", 200, videos(4));
        QSignalSpy inserted(model(), &QAbstractItemModel::rowsInserted);
        client->setFirstOrderType("views");
        client->setFirstOrderDirection("ASC");
        client->requestContent();
        QTRY_COMPARE(model()->rowCount(), 4);
        const auto listings = requestsTo("public/videos");
        QCOMPARE(listings.size(), 2);
        QCOMPARE(listings.at(1).body, listings.at(0).body);
        QCOMPARE(listings.at(0).headers.value("authorization"), QByteArray("Bearer A1"));
        QCOMPARE(listings.at(1).headers.value("authorization"), QByteArray("Bearer A2"));
        const QJsonArray order =
            QJsonDocument::fromJson(listings.at(0).body).object()["filter"].toObject()["order"].toArray();
        QCOMPARE(order, (QJsonArray{QJsonObject{{"views", "ASC"}}}));
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(client->hostingState(), HHostingManager::Connected);
    }

    void storedSecretsAreScrambledAndLogoutForgetsThem()
    {
        queue("public/token/ana/p%2Fw%23%3F", 200, tokens("A1", "R1", "K1"));
        client->requestConnection("ana", "p/w#?");
        QTRY_VERIFY(idle() && client->hostingState() == HHostingManager::Connected);
        SimpleCrypt crypt(Q_UINT64_C(0x5a17c3e98b264d1f));
        QMap<QString, QString> stored = settings.stored();
        QCOMPARE(stored.value("application/hosting/userName"), QString("ana"));
        QCOMPARE(crypt.decryptToString(stored.value("application/hosting/password")), QString("p/w#?"));
        QCOMPARE(crypt.decryptToString(stored.value("application/hosting/accessToken")), QString("A1"));
        QCOMPARE(crypt.decryptToString(stored.value("application/hosting/refreshToken")), QString("R1"));
        QCOMPARE(crypt.decryptToString(stored.value("application/hosting/apiKey")), QString("K1"));

        // Logging out asks nothing of the server.
        const int sent = server().fullRequests().size();
        client->requestDisconnection();
        QCOMPARE(client->hostingState(), HHostingManager::Disconnected);
        stored = settings.stored();
        QCOMPARE(stored.size(), 5);
        for (const QString& value : stored) {
            QCOMPARE(value, QString());
        }
        QTest::qWait(50);
        QCOMPARE(server().fullRequests().size(), sent);
    }

    // Every way a login or a token refresh fails: it ends within its timeout, says why without
    // the password or a token in any message or log line, and the next login goes out and works.
    void failuresKeepSecrets_data()
    {
        QTest::addColumn<bool>("refresh"); // the failing request is the refresh of a listing
        QTest::addColumn<int>("status");   // 0: the connection is reset; -1: no answer at all
        QTest::addColumn<QByteArray>("body");
        QTest::addRow("login 401") << false << 401 << QByteArray("{}");
        QTest::addRow("login 500") << false << 500 << QByteArray("{}");
        QTest::addRow("login error object")
            << false << 200 << QByteArray(R"({"error":"bad","error_description":"No."})");
        QTest::addRow("login not JSON") << false << 200 << QByteArray("<html>");
        QTest::addRow("login reset") << false << 0 << QByteArray();
        QTest::addRow("login stall") << false << -1 << QByteArray();
        QTest::addRow("refresh 500") << true << 500 << QByteArray("{}");
        QTest::addRow("refresh reset") << true << 0 << QByteArray();
        QTest::addRow("refresh stall") << true << -1 << QByteArray();
    }
    void failuresKeepSecrets()
    {
        QFETCH(bool, refresh);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        const QString password = "s3cr3t/Pw#42";
        const QString tokenPath = "public/token/ana/s3cr3t%2FPw%2342";
        const QString refreshPath = "public/refresh_token/KEY-api-1/ana/s3cr3t%2FPw%2342/REFRESH-tok-1";
        const QStringList secrets{password, "s3cr3t%2FPw%2342", "ACCESS-tok-1", "REFRESH-tok-1", "KEY-api-1"};
        const int timeout = 1500;
        client->setRequestTimeout(timeout);
        capturedLog().clear();
        const QtMessageHandler previous = qInstallMessageHandler(capture);

        QSignalSpy responses(client.get(), &HHostingManager::requestResponse);
        QSignalSpy messages(client.get(), &HHostingManager::displayMessage);
        const QString failing = api + (refresh ? refreshPath : tokenPath);
        if (refresh) {
            queue(tokenPath, 200, tokens("ACCESS-tok-1", "REFRESH-tok-1", "KEY-api-1"));
            client->requestConnection("ana", password);
            QTRY_COMPARE(client->hostingState(), HHostingManager::Connected);
            queue("public/videos", 200, expired);
            responses.clear();
        }
        if (status == 0) {
            server().reset(failing);
        } else if (status < 0) {
            server().hold(failing);
        } else {
            server().queueResponse(failing, status, body);
        }
        QElapsedTimer clock;
        clock.start();
        if (refresh) {
            client->requestContent();
        } else {
            client->requestConnection("ana", password);
        }
        QTRY_COMPARE_WITH_TIMEOUT(responses.size(), 1, timeout + 2000);
        QVERIFY(clock.elapsed() <= timeout + 2000);
        QCOMPARE(responses.at(0).at(0).toBool(), false);
        QTRY_VERIFY(idle());
        qInstallMessageHandler(previous);

        QStringList shown{responses.at(0).at(1).toString()};
        for (const QList<QVariant>& message : messages) {
            shown << message.at(0).toString();
        }
        QVERIFY(!shown.at(0).isEmpty());
        for (const QString& text : shown + capturedLog()) {
            for (const QString& secret : secrets) {
                QVERIFY2(!text.contains(secret), qPrintable(text));
            }
        }
        QCOMPARE(client->hostingState(), HHostingManager::Disconnected);

        // The failure left nothing stuck: the next login is sent and succeeds.
        if (status < 0) {
            server().release(failing);
        }
        queue("public/token/ana/pw", 200, tokens("A2", "R2", "K2"));
        client->requestConnection("ana", "pw");
        QTRY_COMPARE(client->hostingState(), HHostingManager::Connected);
    }

    void plainHttpIsRefused()
    {
        qputenv("GYRE_HOSTING_API",
                ("http://127.0.0.1:" + QString::number(server().serverPort()) + api).toUtf8());
        client = std::make_unique<HHostingManager>(&settings);
        QSignalSpy responses(client.get(), &HHostingManager::requestResponse);
        client->requestConnection("ana", "pw");
        QCOMPARE(responses.size(), 1);
        QVERIFY2(responses.at(0).at(1).toString().contains("HTTPS"),
                 qPrintable(responses.at(0).at(1).toString()));
        QTest::qWait(100);
        QVERIFY(server().fullRequests().isEmpty());
    }

private:
    static QStringList& capturedLog()
    {
        static QStringList lines;
        return lines;
    }
    static void capture(QtMsgType, const QMessageLogContext&, const QString& text) { capturedLog() << text; }
};

QTEST_GUILESS_MAIN(TestHostingManager)
#include "tst_hostingmanager.moc"
