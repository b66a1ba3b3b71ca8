#include "HostileDatagrams.h"
#include "base/HSettingsManager.h"
#include "net/HUdpSocket.h"
#include "session/HGlobalObject.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QStandardPaths>
#include <QUdpSocket>
#include <QtTest>

#include <algorithm>
#include <functional>

// Screen synchronisation between a master and its slaves, on the loopback interface only.
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

// Stands in for the current media player of the QML media loader: the three properties a
// synchronisation peer reads, and seek(), recorded.
class FakePlayer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QUrl mediaSource MEMBER mediaSource)
    Q_PROPERTY(int playbackState MEMBER playbackState)
    Q_PROPERTY(int position MEMBER position)

public:
    QUrl mediaSource;
    int playbackState = 0;
    int position = 0;
    QVariantList seeks;

    Q_INVOKABLE void seek(const QVariant& offset) { seeks.append(offset); }
};

// Stands in for the QML media loader: its current player, and the two functions the core calls by
// name, recorded with their arguments as they arrive.
class FakeMediaLoader : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject* mediaPlayer MEMBER mediaPlayer)

public:
    QObject* mediaPlayer = nullptr;
    QList<QVariantList> opened;
    QVariantList states;
    // Runs inside processFileSource, as a loader switching players would.
    std::function<void()> whenOpening;

    Q_INVOKABLE void processFileSource(const QVariant& fileSource, const QVariant& checkFile,
                                       const QVariant& clearPlaylist, const QVariant& error)
    {
        opened.append({fileSource, checkFile, clearPlaylist, error});
        if (whenOpening) {
            whenOpening();
        }
    }
    Q_INVOKABLE void syncPlaybackState(const QVariant& masterState) { states.append(masterState); }
};

namespace {
QString key(const char* name)
{
    return QStringLiteral("application/communication/") + name;
}

const QString showUrl = "file:///media/show/reef 360.mp4";
const QString otherUrl = "file:///media/show/intro.mp4";

// A port nothing on this machine uses right now.
quint16 freePort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::Any, 0, QUdpSocket::DontShareAddress);
    return probe.localPort();
}

// A player's settings (on a free port), view state, media loader and current player; each in a
// settings file of its own, so what one test stores does not leak into the next.
struct Peer
{
    Peer()
        : settings(QSettings::UserScope, "Zelmo", QString("Gyre Player udp %1").arg(++count)),
          global(&settings)
    {
        settings.setValue(key("port"), port);
        loader.mediaPlayer = &player;
        global.setMediaLoader(&loader);
        QObject::connect(&global, &HGlobalObject::mediaRequested, &loader,
                         &FakeMediaLoader::processFileSource);
        QObject::connect(&global, &HGlobalObject::playbackStateRequested, &loader,
                         &FakeMediaLoader::syncPlaybackState);
        // As the QML loader does.
        QObject::connect(&global, &HGlobalObject::seekRequested, &loader,
                         [](QObject* target, const QVariant& position) {
                             QMetaObject::invokeMethod(target, "seek", Q_ARG(QVariant, position));
                         });
    }

    static inline int count = 0;
    const quint16 port = freePort();
    HSettingsManager settings;
    HGlobalObject global;
    FakeMediaLoader loader;
    FakePlayer player;
};

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
        QTest::addColumn<QVariant>("port"); // invalid: the peer's free port
        QTest::addColumn<QString>("role");
        const auto row = [](const char* name, const char* commandLine, const char* stored, const char* role,
                            const QVariant& port = QVariant()) {
            QTest::newRow(name) << QString(commandLine) << QString(stored) << port << QString(role);
        };
        row("command line slave beats a stored master", "slave", "master", "slave");
        row("command line master beats a stored slave", "master", "slave", "master");
        row("stored slave", "", "slave", "slave");
        row("stored master", "", "master", "master");
        row("nothing stored", "", "", "off");
        row("command line off beats a stored slave", "off", "slave", "off");
        row("unknown word", "mirror", "slave", "off");
        row("highest port", "master", "", "master", 65535);
        // The old popup stored up to 999999, which the socket cut to 16 bits (70000 is 4464).
        row("port 70000", "slave", "", "off", 70000);
        row("port 999999", "master", "", "off", 999999);
        row("port that is no number", "slave", "", "off", "seven");
    }
    void role()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, stored);
        QFETCH(QVariant, port);
        QFETCH(QString, role);
        Peer peer;
        if (!stored.isEmpty()) {
            peer.settings.setValue(key("state"), stored);
        }
        if (port.isValid()) {
            peer.settings.setValue(key("port"), port);
            if (role == "off") {
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression("port .* is not between 1 and 65535"));
            }
        }

        HUdpSocket socket(&peer.global, commandLine);
        QCOMPARE(socket.isMaster(), role == "master");
        QCOMPARE(socket.isSlave(), role == "slave");
        QCOMPARE(socket.socket() != nullptr, role != "off");
        QCOMPARE(socket.timer() != nullptr, role == "master");
        if (!port.isValid()) {
            // Only a slave listens; a master binds nothing until it sends.
            QCOMPARE(portIsFree(peer.port), role != "slave");
        }
        if (role == "slave") {
            QCOMPARE(socket.socket()->localPort(), peer.port);
        }
        // The command line is for this run only.
        QCOMPARE(peer.settings.value(key("state"), QString()).toString(), stored);
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
        peer.settings.setValue(key("port"), receiver.localPort());
        peer.settings.setValue(key("ipMode"), ipMode);
        peer.settings.setValue(key("ipCustom"), "127.0.0.1");
        peer.settings.setValue(key("rate"), 25);
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
        // Byte for byte what Qt writes for these seven members: strings for id and url, doubles
        // for the rest.
        QCOMPARE(receiver.receiveDatagram().data(), datagram({{"id", QString("hvd")},
                                                              {"yaw", 1.1f},
                                                              {"pitch", -0.3f},
                                                              {"roll", 0.0f},
                                                              {"url", withPlayer ? showUrl : QString()},
                                                              {"state", withPlayer ? 1 : 0},
                                                              {"position", withPlayer ? 4321 : 0}}));
    }

    void masterSettings()
    {
        Peer peer;
        peer.settings.setValue(key("ipMode"), "custom");
        peer.settings.setValue(key("ipCustom"), "not an address");
        peer.settings.setValue(key("rate"), 0);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("send interval 0 ms is unusable"));
        HUdpSocket master(&peer.global, "master");
        QVERIFY(master.targetAddress().isNull());
        // An interval of 0 would send as fast as the event loop turns.
        QCOMPARE(master.timer()->interval(), 20);
        master.writeData(); // fails quietly
    }

    // "movies" and "desktop" stand for the file of that name in the standard location.
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
        const auto row = [](const char* name, int urlMode, bool orientation, const QString& playerSource,
                            int playerState, int playerPosition, const QByteArray& received, float yaw,
                            const QString& opened = QString(), const QVariantList& states = {},
                            const QVariantList& seeks = {}) {
            QTest::newRow(name) << urlMode << orientation << playerSource << playerState << playerPosition
                                << received << yaw << opened << states << seeks;
        };
        const int absolute = HUdpSocket::Absolute;
        const int movies = HUdpSocket::Movies;
        const QByteArray playing = datagram(showUrl, 1, 10000);
        row("in step", absolute, true, showUrl, 1, 10500, playing, 1.0f);
        row("another id", absolute, true, otherUrl, 2, 0, datagram(showUrl, 1, 10000, 1.0f, "hvx"), 0.0f);
        row("empty id", absolute, true, otherUrl, 2, 0, datagram(showUrl, 1, 10000, 1.0f, ""), 0.0f);
        row("JSON text", absolute, true, otherUrl, 2, 0, QJsonDocument::fromBinaryData(playing).toJson(),
            0.0f);
        row("orientation off", absolute, false, showUrl, 1, 10000, datagram(showUrl, 2, 10000), 0.0f, {},
            {2});
        row("another media", absolute, true, otherUrl, 1, 10000, playing, 1.0f, showUrl);
        row("movies, file there", movies, true, otherUrl, 1, 0,
            datagram("file:///elsewhere/reef%20360.mp4", 1, 0), 1.0f, "movies");
        row("movies, no such file", movies, true, otherUrl, 2, 0,
            datagram("file:///elsewhere/missing.mp4", 1, 60000), 1.0f);
        row("desktop, file there", HUdpSocket::Desktop, true, otherUrl, 1, 0,
            datagram("http://cdn.example.org/photo%20360.jpg", 1, 0), 1.0f, "desktop");
        row("off mode, master without a player", HUdpSocket::Off, true, otherUrl, 1, 5000, datagram("", 0, 0),
            1.0f, {}, {0}, {0});
        row("absolute mode, master without a player", absolute, true, otherUrl, 1, 5000, datagram("", 0, 0),
            1.0f);
        row("unknown url mode", 7, true, otherUrl, 1, 5000, datagram(showUrl, 2, 0), 1.0f);
        row("2000 ms behind", absolute, true, showUrl, 1, 8000, playing, 1.0f);
        row("3000 ms behind", absolute, true, showUrl, 1, 7000, playing, 1.0f);
        row("3001 ms behind", absolute, true, showUrl, 1, 6999, playing, 1.0f, {}, {}, {10000});
        row("3001 ms ahead", absolute, true, showUrl, 1, 13001, playing, 1.0f, {}, {}, {10000});
        row("new media, paused, far off", absolute, true, otherUrl, 1, 0, datagram(showUrl, 2, 90000), 1.0f,
            showUrl, {2}, {90000});
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
        peer.settings.setValue(key("urlMode"), urlMode);
        peer.settings.setValue(key("orientation"), orientation);
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
        peer.settings.setValue(key("urlMode"), int(HUdpSocket::Off));
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
        QVERIFY(std::all_of(peer.player.seeks.cbegin(), peer.player.seeks.cend(),
                            [](const QVariant& seek) { return seek == 0; })); // back to the start
        QVERIFY(peer.loader.states.size() > 100);
    }

    // Opening the master's media may give the loader a new player; the state and the seek still go
    // to the player the comparison was made with, and nowhere when opening destroyed it.
    void openingReplacesThePlayer()
    {
        Peer peer;
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

    // Datagrams that arrive together are each applied, in the order they were sent; whatever
    // hostile bytes arrive before, a valid datagram is still followed.
    void pendingDatagramsInArrivalOrder()
    {
        Peer peer;
        // As the real loader does, opening changes the player's media: the same URL is opened once.
        peer.loader.whenOpening = [&peer] {
            peer.player.mediaSource = peer.loader.opened.last().at(0).toUrl();
        };
        HUdpSocket slave(&peer.global, "slave");
        QList<float> yaws;
        connect(&peer.global, &HGlobalObject::yawChanged, this, [&] { yaws << peer.global.yaw(); });

        QUdpSocket sender;
        QList<QByteArray> garbage{QByteArray(), QByteArray(1, 'q'), QByteArray(1400, '\xff'),
                                  datagram(showUrl, 1, 0, 3.0f, "other")};
        for (const auto& [name, bytes] : HostileDatagrams::crafted()) {
            garbage << bytes;
        }
        for (const QByteArray& bytes : garbage) {
            sender.writeDatagram(bytes, QHostAddress::LocalHost, peer.port);
        }
        for (float yaw : {0.5f, -1.0f, 2.0f, 0.125f}) {
            const QByteArray bytes = datagram(showUrl, 1, 0, yaw);
            QCOMPARE(sender.writeDatagram(bytes, QHostAddress::LocalHost, peer.port), qint64(bytes.size()));
        }
        QTRY_COMPARE(yaws, (QList<float>{0.5f, -1.0f, 2.0f, 0.125f}));
        QCOMPARE(peer.loader.opened.size(), 1);
    }
};

QT_WARNING_POP

QTEST_GUILESS_MAIN(TestUdpSocket)
#include "tst_udpsocket.moc"
