#include "FakeMediaLoader.h"
#include "HostileDatagrams.h"
#include "app/HSettingsManager.h"
#include "net/HUdpSocket.h"
#include "session/HGlobalObject.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QStandardPaths>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

// Screen synchronisation between a master and its slaves, on the loopback interface only.
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

namespace {
const QString stateKey = "application/communication/state";
const QString portKey = "application/communication/port";
const QString rateKey = "application/communication/rate";
const QString ipModeKey = "application/communication/ipMode";
const QString ipCustomKey = "application/communication/ipCustom";
const QString urlModeKey = "application/communication/urlMode";
const QString orientationKey = "application/communication/orientation";

const QString showUrl = "file:///media/show/reef 360.mp4";
const QString otherUrl = "file:///media/show/intro.mp4";

// A player's settings, view state, media loader and current player; each in a settings file of its
// own, so what one test stores does not leak into the next.
struct Peer
{
    Peer()
        : settings(QSettings::UserScope, "Zelmo", QString("Gyre Player udp %1").arg(++count)),
          global(&settings)
    {
        loader.mediaPlayer = &player;
        global.setMediaLoader(&loader);
    }

    static inline int count = 0;
    HSettingsManager settings;
    HGlobalObject global;
    FakeMediaLoader loader;
    FakePlayer player;
};

// A port nothing on this machine uses right now.
quint16 freePort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::Any, 0, QUdpSocket::DontShareAddress);
    return probe.localPort();
}

bool portIsFree(quint16 port)
{
    QUdpSocket probe;
    return probe.bind(QHostAddress::Any, port, QUdpSocket::DontShareAddress);
}

QByteArray datagram(const QVariantMap& members)
{
    return QJsonDocument(QJsonObject::fromVariantMap(members)).toBinaryData();
}

QByteArray datagram(const QString& url, int state, int position, float yaw = 1.0f, const QString& id = "hvd")
{
    return datagram({{"id", id},
                     {"yaw", yaw},
                     {"pitch", 0.0f},
                     {"roll", 0.0f},
                     {"url", url},
                     {"state", state},
                     {"position", position}});
}
} // namespace

class TestUdpSocket : public QObject
{
    Q_OBJECT

private:
    QString moviesFile;
    QString desktopFile;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QString movies = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        QVERIFY(QDir().mkpath(movies));
        QVERIFY(QDir().mkpath(desktop));
        moviesFile = QDir(movies).filePath("reef 360.mp4");
        desktopFile = QDir(desktop).filePath("photo 360.jpg");
        for (const QString& path : {moviesFile, desktopFile}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    void role_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QVariant>("port");
        QTest::addColumn<QString>("role");
        const QVariant free; // a free port, chosen when the row runs
        QTest::addRow("command line slave beats a stored master") << "slave"
                                                                  << "master" << free << "slave";
        QTest::addRow("command line master beats a stored slave") << "master"
                                                                  << "slave" << free << "master";
        QTest::addRow("stored slave") << ""
                                      << "slave" << free << "slave";
        QTest::addRow("stored master") << ""
                                       << "master" << free << "master";
        QTest::addRow("nothing stored") << ""
                                        << "" << free << "off";
        QTest::addRow("command line off beats a stored slave") << "off"
                                                               << "slave" << free << "off";
        QTest::addRow("unknown word") << "mirror"
                                      << "slave" << free << "off";
        QTest::addRow("highest port") << "master"
                                      << "" << QVariant(65535) << "master";
        // The old popup stored up to 999999, which the socket cut to 16 bits (70000 is 4464).
        QTest::addRow("port 70000") << "slave"
                                    << "" << QVariant(70000) << "off";
        QTest::addRow("port 999999") << "master"
                                     << "" << QVariant(999999) << "off";
        QTest::addRow("port that is no number") << "slave"
                                                << "" << QVariant("seven") << "off";
    }
    void role()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, stored);
        QFETCH(QVariant, port);
        QFETCH(QString, role);
        Peer peer;
        if (!stored.isEmpty()) {
            peer.settings.setValue(stateKey, stored);
        }
        const quint16 chosen = port.isValid() ? 0 : freePort();
        peer.settings.setValue(portKey, port.isValid() ? port : QVariant(chosen));
        const bool rangeError = port.isValid() && role == "off";
        if (rangeError) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("port .* is not between 1 and 65535"));
        }

        HUdpSocket socket(&peer.global, commandLine);
        QCOMPARE(socket.isMaster(), role == "master");
        QCOMPARE(socket.isSlave(), role == "slave");
        QCOMPARE(socket.socket() != nullptr, role != "off");
        QCOMPARE(socket.timer() != nullptr, role == "master");
        if (chosen != 0) {
            // Only a slave listens; a master binds nothing until it sends.
            QCOMPARE(portIsFree(chosen), role != "slave");
        }
        if (role == "slave") {
            QCOMPARE(socket.socket()->localPort(), chosen);
        }
        // The command line is for this run only.
        QCOMPARE(peer.settings.contains(stateKey), !stored.isEmpty());
        if (!stored.isEmpty()) {
            QCOMPARE(peer.settings.value(stateKey, QString()).toString(), stored);
        }
    }

    void masterDatagram_data()
    {
        QTest::addColumn<QString>("ipMode");
        QTest::addColumn<bool>("withLoader");
        QTest::addColumn<bool>("withPlayer");
        QTest::addRow("localhost, playing") << "localhost" << true << true;
        QTest::addRow("custom 127.0.0.1, playing") << "custom" << true << true;
        QTest::addRow("no media loader") << "localhost" << false << false;
        QTest::addRow("loader without a player") << "localhost" << true << false;
    }
    void masterDatagram()
    {
        QFETCH(QString, ipMode);
        QFETCH(bool, withLoader);
        QFETCH(bool, withPlayer);
        QUdpSocket receiver;
        QVERIFY(receiver.bind(QHostAddress(QHostAddress::LocalHost), 0));
        Peer peer;
        peer.settings.setValue(portKey, receiver.localPort());
        peer.settings.setValue(ipModeKey, ipMode);
        peer.settings.setValue(ipCustomKey, "127.0.0.1");
        peer.settings.setValue(rateKey, 25);
        peer.global.setFov(30.0f);
        peer.global.setYaw(1.1f);
        peer.global.setPitch(-0.3f);
        peer.player.mediaSource = QUrl(showUrl);
        peer.player.playbackState = 1;
        peer.player.position = 4321;
        if (!withPlayer) {
            peer.loader.mediaPlayer = nullptr;
        }
        if (!withLoader) {
            peer.global.setMediaLoader(nullptr);
        }

        HUdpSocket master(&peer.global, "master");
        QCOMPARE(master.targetAddress(), QHostAddress(QHostAddress::LocalHost));
        QCOMPARE(master.timer()->interval(), 25);
        QTRY_VERIFY_WITH_TIMEOUT(receiver.hasPendingDatagrams(), 5000);
        const QByteArray bytes = receiver.receiveDatagram().data();

        const QVariantMap expected{{"id", QString("hvd")},
                                   {"yaw", peer.global.yaw()},
                                   {"pitch", peer.global.pitch()},
                                   {"roll", peer.global.roll()},
                                   {"url", withPlayer ? showUrl : QString()},
                                   {"state", withPlayer ? 1 : 0},
                                   {"position", withPlayer ? 4321 : 0}};
        QCOMPARE(bytes, datagram(expected));

        const QJsonObject object = QJsonDocument::fromBinaryData(bytes).object();
        QCOMPARE(object.keys(), (QStringList{"id", "pitch", "position", "roll", "state", "url", "yaw"}));
        QVERIFY(object.value("id").isString() && object.value("url").isString());
        for (const char* key : {"yaw", "pitch", "roll", "state", "position"}) {
            QVERIFY2(object.value(key).isDouble(), key);
        }
        QCOMPARE(object.value("pitch").toDouble(), double(-0.3f));
        QCOMPARE(object.value("position").toDouble(), withPlayer ? 4321.0 : 0.0);
    }

    void masterSettings()
    {
        Peer peer;
        peer.settings.setValue(portKey, freePort());
        peer.settings.setValue(ipModeKey, "custom");
        peer.settings.setValue(ipCustomKey, "not an address");
        peer.settings.setValue(rateKey, 0);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("send interval 0 ms is unusable"));
        HUdpSocket master(&peer.global, "master");
        QVERIFY(master.targetAddress().isNull());
        // An interval of 0 would send as fast as the event loop turns.
        QCOMPARE(master.timer()->interval(), 20);
        // Every send fails, quietly.
        master.writeData();
    }

    void slaveRules_data()
    {
        QTest::addColumn<int>("urlMode");
        QTest::addColumn<bool>("orientation");
        QTest::addColumn<QString>("playerSource");
        QTest::addColumn<int>("playerState");
        QTest::addColumn<int>("playerPosition");
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<float>("yaw");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QVariantList>("states");
        QTest::addColumn<QVariantList>("seeks");
        const int absolute = HUdpSocket::Absolute;
        const int off = HUdpSocket::Off;
        const QString none;
        const QVariantList nothing;

        QTest::addRow("in step") << absolute << true << showUrl << 1 << 10500 << datagram(showUrl, 1, 10000)
                                 << 1.0f << none << nothing << nothing;
        QTest::addRow("another id") << absolute << true << otherUrl << 2 << 0
                                    << datagram(showUrl, 1, 10000, 1.0f, "hvx") << 0.0f << none << nothing
                                    << nothing;
        QTest::addRow("empty id") << absolute << true << otherUrl << 2 << 0
                                  << datagram(showUrl, 1, 10000, 1.0f, "") << 0.0f << none << nothing
                                  << nothing;
        QTest::addRow("JSON text") << absolute << true << otherUrl << 2 << 0
                                   << QJsonDocument::fromBinaryData(datagram(showUrl, 1, 10000)).toJson()
                                   << 0.0f << none << nothing << nothing;
        QTest::addRow("orientation off")
            << absolute << false << showUrl << 1 << 10000 << datagram(showUrl, 2, 10000) << 0.0f << none
            << QVariantList{2} << nothing;
        QTest::addRow("another media")
            << absolute << true << otherUrl << 1 << 10000 << datagram(showUrl, 1, 10000) << 1.0f << showUrl
            << nothing << nothing;
        QTest::addRow("movies, file there")
            << int(HUdpSocket::Movies) << true << otherUrl << 1 << 0
            << datagram("file:///elsewhere/reef%20360.mp4", 1, 0) << 1.0f << "movies" << nothing << nothing;
        QTest::addRow("movies, no such file")
            << int(HUdpSocket::Movies) << true << otherUrl << 2 << 0
            << datagram("file:///elsewhere/missing.mp4", 1, 60000) << 1.0f << none << nothing << nothing;
        QTest::addRow("desktop, file there") << int(HUdpSocket::Desktop) << true << otherUrl << 1 << 0
                                             << datagram("http://cdn.example.org/photo%20360.jpg", 1, 0)
                                             << 1.0f << "desktop" << nothing << nothing;
        QTest::addRow("off mode, master without a player")
            << off << true << otherUrl << 1 << 5000 << datagram("", 0, 0) << 1.0f << none << QVariantList{0}
            << QVariantList{0};
        QTest::addRow("absolute mode, master without a player")
            << absolute << true << otherUrl << 1 << 5000 << datagram("", 0, 0) << 1.0f << none << nothing
            << nothing;
        QTest::addRow("unknown url mode") << 7 << true << otherUrl << 1 << 5000 << datagram(showUrl, 2, 0)
                                          << 1.0f << none << nothing << nothing;
        QTest::addRow("2000 ms behind") << absolute << true << showUrl << 1 << 8000
                                        << datagram(showUrl, 1, 10000) << 1.0f << none << nothing << nothing;
        QTest::addRow("3000 ms behind") << absolute << true << showUrl << 1 << 7000
                                        << datagram(showUrl, 1, 10000) << 1.0f << none << nothing << nothing;
        QTest::addRow("3001 ms behind")
            << absolute << true << showUrl << 1 << 6999 << datagram(showUrl, 1, 10000) << 1.0f << none
            << nothing << QVariantList{10000};
        QTest::addRow("3001 ms ahead")
            << absolute << true << showUrl << 1 << 13001 << datagram(showUrl, 1, 10000) << 1.0f << none
            << nothing << QVariantList{10000};
        QTest::addRow("new media, paused, far off")
            << absolute << true << otherUrl << 1 << 0 << datagram(showUrl, 2, 90000) << 1.0f << showUrl
            << QVariantList{2} << QVariantList{90000};
    }
    void slaveRules()
    {
        QFETCH(int, urlMode);
        QFETCH(bool, orientation);
        QFETCH(QString, playerSource);
        QFETCH(int, playerState);
        QFETCH(int, playerPosition);
        QFETCH(QByteArray, received);
        QFETCH(float, yaw);
        QFETCH(QString, opened);
        QFETCH(QVariantList, states);
        QFETCH(QVariantList, seeks);
        Peer peer;
        peer.settings.setValue(portKey, freePort());
        peer.settings.setValue(urlModeKey, urlMode);
        peer.settings.setValue(orientationKey, orientation);
        peer.player.mediaSource = QUrl(playerSource);
        peer.player.playbackState = playerState;
        peer.player.position = playerPosition;
        HUdpSocket slave(&peer.global, "slave");

        slave.handleDatagram(received);
        QCOMPARE(peer.global.yaw(), yaw);
        QList<QVariantList> expectedOpened;
        if (!opened.isEmpty()) {
            const QUrl url = opened == "movies"    ? QUrl::fromLocalFile(moviesFile)
                             : opened == "desktop" ? QUrl::fromLocalFile(desktopFile)
                                                   : QUrl(opened);
            // Checked, with the playlist cleared, no error.
            expectedOpened << QVariantList{url, true, true, QString()};
        }
        QCOMPARE(peer.loader.opened, expectedOpened);
        QCOMPARE(peer.loader.states, states);
        QCOMPARE(peer.player.seeks, seeks);
        QCOMPARE(slave.seekAllowed(), seeks.isEmpty());
    }

    // Without a loader, or with a loader that has no player, only the view follows.
    void slaveWithoutPlayer()
    {
        Peer peer;
        peer.settings.setValue(portKey, freePort());
        peer.loader.mediaPlayer = nullptr;
        HUdpSocket slave(&peer.global, "slave");
        slave.handleDatagram(datagram(showUrl, 2, 50000, 0.5f));
        QCOMPARE(peer.global.yaw(), 0.5f);
        QVERIFY(peer.loader.opened.isEmpty() && peer.loader.states.isEmpty());

        peer.global.setMediaLoader(nullptr);
        slave.handleDatagram(datagram(showUrl, 2, 50000, 0.25f));
        QCOMPARE(peer.global.yaw(), 0.25f);
        QVERIFY(peer.loader.opened.isEmpty());
    }

    // A master with no player says "stopped at 0"; a slave in Off mode playing its own media goes
    // back to the start, but not more than once a second, however often the master repeats it.
    void correctiveSeeksAtMostOncePerSecond()
    {
        Peer peer;
        peer.settings.setValue(portKey, freePort());
        peer.settings.setValue(urlModeKey, int(HUdpSocket::Off));
        peer.player.mediaSource = QUrl(otherUrl);
        peer.player.playbackState = 1;
        peer.player.position = 5000;
        HUdpSocket slave(&peer.global, "slave");

        QElapsedTimer clock;
        clock.start();
        QList<qint64> seekTimes;
        while (clock.elapsed() < 2300) {
            slave.handleDatagram(datagram("", 0, 0));
            if (peer.player.seeks.size() > seekTimes.size()) {
                seekTimes << clock.nsecsElapsed();
            }
            QTest::qWait(20);
        }
        QVERIFY2(seekTimes.size() >= 2 && seekTimes.size() <= 3, QByteArray::number(seekTimes.size()));
        for (int i = 1; i < seekTimes.size(); ++i) {
            QVERIFY(seekTimes.at(i) - seekTimes.at(i - 1) >= 995 * 1000000LL);
        }
        QCOMPARE(peer.player.seeks.size(), seekTimes.size());
        for (const QVariant& seek : qAsConst(peer.player.seeks)) {
            QCOMPARE(seek, QVariant(0));
        }
        QCOMPARE(peer.player.position, 5000);
        QVERIFY(peer.loader.states.size() > 100);
    }

    // Opening the master's media may give the loader a new player; the state and the seek still go
    // to the player the comparison was made with, and nowhere when opening destroyed it.
    void openingReplacesThePlayer()
    {
        Peer peer;
        peer.settings.setValue(portKey, freePort());
        peer.player.mediaSource = QUrl(otherUrl);
        FakePlayer next;
        peer.loader.whenOpening = [&peer, &next] { peer.loader.mediaPlayer = &next; };
        HUdpSocket slave(&peer.global, "slave");
        slave.handleDatagram(datagram(showUrl, 1, 60000));
        QCOMPARE(peer.loader.states, QVariantList{1});
        QCOMPARE(peer.player.seeks, QVariantList{60000});
        QVERIFY(next.seeks.isEmpty());

        auto doomed = new FakePlayer;
        peer.loader.mediaPlayer = doomed;
        peer.loader.states.clear();
        peer.loader.whenOpening = [&peer, doomed] {
            delete doomed;
            peer.loader.mediaPlayer = nullptr;
        };
        slave.unlockSync();
        slave.handleDatagram(datagram(otherUrl, 2, 90000));
        QCOMPARE(peer.loader.opened.size(), 2);
        QVERIFY(peer.loader.states.isEmpty());
    }

    // Datagrams that arrive together are each applied, in the order they were sent.
    void pendingDatagramsInArrivalOrder()
    {
        Peer peer;
        const quint16 port = freePort();
        peer.settings.setValue(portKey, port);
        HUdpSocket slave(&peer.global, "slave");
        QList<float> yaws;
        connect(&peer.global, &HGlobalObject::yawChanged, this, [&] { yaws << peer.global.yaw(); });

        QUdpSocket sender;
        for (float yaw : {0.5f, -1.0f, 2.0f, 0.125f}) {
            QCOMPARE(sender.writeDatagram(datagram(showUrl, 1, 0, yaw), QHostAddress::LocalHost, port),
                     qint64(datagram(showUrl, 1, 0, yaw).size()));
        }
        QTRY_COMPARE(yaws, (QList<float>{0.5f, -1.0f, 2.0f, 0.125f}));
    }

    // Whatever arrives before, a valid datagram is followed.
    void hostileDatagramsAreDropped()
    {
        Peer peer;
        const quint16 port = freePort();
        peer.settings.setValue(portKey, port);
        HUdpSocket slave(&peer.global, "slave");
        QSignalSpy yawChanges(&peer.global, &HGlobalObject::yawChanged);

        QUdpSocket sender;
        QList<QByteArray> garbage{QByteArray(), QByteArray(1, 'q'), QByteArray(1400, '\xff'),
                                  datagram(showUrl, 1, 0, 3.0f, "other")};
        for (const auto& [name, bytes] : HostileDatagrams::crafted()) {
            garbage << bytes;
        }
        for (const QByteArray& bytes : garbage) {
            sender.writeDatagram(bytes, QHostAddress::LocalHost, port);
        }
        sender.writeDatagram(datagram(showUrl, 1, 0, 0.75f), QHostAddress::LocalHost, port);
        QTRY_COMPARE(peer.global.yaw(), 0.75f);
        QCOMPARE(yawChanges.size(), 1);
        QCOMPARE(peer.loader.opened.size(), 1);
    }
};

QT_WARNING_POP

QTEST_GUILESS_MAIN(TestUdpSocket)
#include "tst_udpsocket.moc"
