#include "FakeHttpServer.h"
#include "PlayerProcess.h"
#include "ProcessFigures.h"
#include "TestCertificateAuthority.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

#include <unistd.h>

// Every way opening a media fails, in the real program: alone, the window names the media and says
// why, the player rests and asks a server a few times at most, and Ctrl+Q still quits; inside a
// playlist, the list moves on past it to the good entry at its end. Photos never get the pause
// screen of a video.
class TestFailuresEndToEnd : public QObject
{
    Q_OBJECT

    WindowManager windowManager;
    QTemporaryDir files;
    FakeHttpServer server;
    FakeHttpServer tlsServer;
    TestCertificateAuthority authority;
    quint16 closedPort = 0;

    QString file(const QString& name) const { return files.filePath(name); }
    static QString media(const QString& name) { return GYRE_TEST_MEDIA_DIR "/" + name; }

    static QProcessEnvironment profile(const QString& home)
    {
        return PlayerProcess::profile(home, {{"application/network/stallTimeout", 3000}});
    }

    // The failure the window shows, once it names the media; empty when none comes within 10 s.
    static QString failureShown(PlayerProcess& player, const QString& name)
    {
        static const QRegularExpression shown("Failure shown: ([^\n]*)");
        QString line;
        (void)QTest::qWaitFor(
            [&] {
                QRegularExpressionMatchIterator it = shown.globalMatch(player.output());
                while (it.hasNext()) {
                    const QString text = it.next().captured(1);
                    if (text.contains(" | " + name + " | ") && !text.endsWith(QString::fromUtf8("…"))) {
                        line = text;
                    }
                }
                return !line.isEmpty();
            },
            10000);
        return line;
    }

    // The share of one core the player used over two seconds.
    static double load(PlayerProcess& player)
    {
        const qint64 pid = player.process().processId();
        const double before = ProcessFigures::cpuMilliseconds(pid);
        QTest::qWait(2000);
        return (ProcessFigures::cpuMilliseconds(pid) - before) / 2000.0;
    }

    static bool quits(PlayerProcess& player)
    {
        player.activate();
        PlayerProcess::key("ctrl+q");
        return player.process().waitForFinished(10000) &&
               player.process().exitStatus() == QProcess::NormalExit && player.process().exitCode() == 0;
    }

    void serve(const QString& name, int status, const QByteArray& body)
    {
        for (const char* prefix : {"/alone/", "/listed/"}) {
            server.setResponse(prefix + name, status, body);
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(windowManager.start(), "openbox is missing: run tools/install-deps");
        QVERIFY(files.isValid());
        QVERIFY(server.listen());
        QVERIFY2(authority.create(), qPrintable(authority.error()));
        // Signed by an authority the player does not know.
        QVERIFY(tlsServer.listen(authority.serverCertificate(), authority.serverKey()));
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        closedPort = closed.serverPort();
        closed.close();

        const auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile out(file(name));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        };
        QFile clip(media("clip-640x320.mp4"));
        QVERIFY(clip.open(QIODevice::ReadOnly));
        const QByteArray indexLast = clip.readAll(); // ffmpeg writes the index after the samples
        write("empty.mp4", QByteArray());
        write("cut-short.mp4", indexLast.left(100 * 1024));
        write("text.jpg", "not a picture\n");
        write("clip.xyz", indexLast);
        write("garbage.vxpl", QByteArray("\x89\x01\xfe garbage \x00\x17", 16));
        QFile png(media("photo-1000x1000.png"));
        QVERIFY(png.open(QIODevice::ReadOnly));
        QByteArray broken = png.readAll();
        broken[29] = char(broken[29] ^ 0xff); // inside the header chunk: its checksum fails
        write("crc.png", broken);
        write("locked.mp4", indexLast);
        QVERIFY(QFile::copy(media("audio-only.m4a"), file("audio-only.mp4")));
        QVERIFY(QFile::setPermissions(file("locked.mp4"), QFile::WriteOwner));
        QVERIFY(QDir(files.path()).mkdir("folder"));

        serve("index-last.mp4", 200, indexLast);
        serve("gone.mp4", 404, "no such file");
        serve("broken.mp4", 500, "server fault");
        for (const char* prefix : {"/alone/", "/listed/"}) {
            server.reset(QString(prefix) + "reset.mp4");
            server.hold(QString(prefix) + "stall.mp4");
        }
    }

    void failureIsNamed_data()
    {
        QTest::addColumn<QString>("input"); // %1 stands for alone or listed in server paths
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("headline");
        QTest::addColumn<QString>("reason");
        const QString local = files.path() + "/";
        const QString http = server.baseUrl().toString() + "%1/";
        const QString refused = QString("http://127.0.0.1:%1/%2/nothing.mp4").arg(closedPort);
        const QString cannotOpen = "Cannot open the file", cannotPlay = "This media cannot be played.";
        const QString image = "An error occurred while loading the image";
        QTest::addRow("not found") << local + "missing.mp4"
                                   << "missing.mp4" << cannotOpen << "does not exist";
        QTest::addRow("no permission") << local + "locked.mp4"
                                       << "locked.mp4" << cannotOpen << "not allowed to read";
        QTest::addRow("folder") << local + "folder"
                                << "folder" << cannotOpen << "is a folder";
        QTest::addRow("empty") << local + "empty.mp4"
                               << "empty.mp4" << cannotOpen << "is empty";
        QTest::addRow("cut short") << local + "cut-short.mp4"
                                   << "cut-short.mp4" << cannotPlay << "cut short";
        QTest::addRow("no video track") << local + "audio-only.mp4"
                                        << "audio-only.mp4" << cannotPlay << "no video track";
        QTest::addRow("unknown kind") << local + "clip.xyz"
                                      << "clip.xyz"
                                      << "The file format is not supported."
                                      << "neither photos nor videos";
        QTest::addRow("not a picture") << local + "text.jpg"
                                       << "text.jpg" << image << "not a picture";
        QTest::addRow("corrupt picture") << local + "crc.png"
                                         << "crc.png" << image << "damaged";
        QTest::addRow("bad playlist") << local + "garbage.vxpl"
                                      << "garbage.vxpl"
                                      << "Error : cannot parse json"
                                      << "not valid JSON";
        QTest::addRow("refused") << refused << "nothing.mp4 (127.0.0.1)" << cannotPlay
                                 << "refused the connection";
        QTest::addRow("reset") << http + "reset.mp4"
                               << "reset.mp4 (127.0.0.1)" << cannotPlay << "closed the connection";
        QTest::addRow("404") << http + "gone.mp4"
                             << "gone.mp4 (127.0.0.1)" << cannotPlay << "HTTP 404";
        QTest::addRow("500") << http + "broken.mp4"
                             << "broken.mp4 (127.0.0.1)" << cannotPlay << "HTTP 500";
        QTest::addRow("no ranges, index last")
            << http + "index-last.mp4"
            << "index-last.mp4 (127.0.0.1)" << cannotPlay
            << "does not allow seeking and the file keeps its index at the end";
        QTest::addRow("stall") << http + "stall.mp4"
                               << "stall.mp4 (127.0.0.1)" << cannotPlay << "stalled";
        QTest::addRow("untrusted TLS") << tlsServer.baseUrl().toString() + "%1/tls.mp4"
                                       << "tls.mp4 (127.0.0.1)" << cannotPlay << "secure connection failed";
    }

    void failureIsNamed()
    {
        QFETCH(QString, input);
        QFETCH(QString, name);
        QFETCH(QString, headline);
        QFETCH(QString, reason);
        if (name == "locked.mp4" && geteuid() == 0) {
            QSKIP("root reads every file");
        }
        const QString alone = input.contains("%1") ? input.arg("alone") : input;
        const QString listed = input.contains("%1") ? input.arg("listed") : input;
        const QString path = QUrl(alone).path();

        // The same input inside a playlist, between it and the good clip at the end another failure.
        const QString list = file(QString(QTest::currentDataTag()).replace(' ', '-') + ".vxpl");
        QFile playlist(list);
        QVERIFY(playlist.open(QIODevice::WriteOnly));
        playlist.write(QJsonDocument(QJsonArray{QJsonObject{{"media", listed}},
                                                QJsonObject{{"media", file("empty.mp4")}},
                                                QJsonObject{{"media", media("clip-640x320.mp4")}}})
                           .toJson());
        playlist.close();

        QTemporaryDir homes;
        PlayerProcess player, listPlayer;
        QVERIFY(player.start({alone}, profile(homes.filePath("alone"))));
        QProcessEnvironment listEnvironment = profile(homes.filePath("listed"));
        listEnvironment.insert("QT_LOGGING_RULES", "gyre.render.stats.info=true");
        QVERIFY(listPlayer.start({list}, listEnvironment));

        const QString shown = failureShown(player, name);
        QVERIFY2(shown.startsWith(headline + " | ") && shown.contains(reason), qPrintable(player.output()));
        QTest::qWait(3000);
        // The quieter of two windows: a spinning player is busy in both, while the suite's other
        // programs on the same two cores can stretch one redraw of an idle one over a window.
        const double cores = std::min(load(player), load(player));
        QVERIFY2(cores < 0.10, qPrintable(QString("%1 of a core").arg(cores)));

        // Addresses in a playlist stay addresses, and an entry without a logo has none.
        // (A playlist inside a playlist is no media: it says so instead.)
        if (!input.endsWith(".vxpl")) {
            QVERIFY2(failureShown(listPlayer, name).contains(reason), qPrintable(listPlayer.output()));
        }
        QVERIFY2(!listPlayer.output().contains(QRegularExpression("H_VideoArea.qml:\\d+:\\d+: QML Image")),
                 qPrintable(listPlayer.output()));
        const QString good = "opening " + QUrl::fromLocalFile(media("clip-640x320.mp4")).toString();
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         const QString said = listPlayer.output();
                         return said.contains(good) &&
                                said.indexOf("first frame presented", said.indexOf(good)) > 0;
                     },
                     20000),
                 qPrintable(listPlayer.output()));
        QVERIFY(quits(player));
        QVERIFY(quits(listPlayer));
        if (path.endsWith(".mp4") && alone.startsWith("http")) {
            const FakeHttpServer& asked = alone.startsWith("https") ? tlsServer : server;
            QVERIFY2(asked.requestsTo(path).size() <= 5,
                     qPrintable(QString::number(asked.requestsTo(path).size())));
        }
    }

    // Twenty fresh starts on each photo, the small one and the one far larger than a texture.
    void photoShowsNoPauseScreen()
    {
        for (int round = 0; round < 20; ++round) {
            QTemporaryDir homes;
            PlayerProcess small, large;
            QVERIFY(small.start({media("photo-2700x1350.jpg")}, profile(homes.filePath("small"))));
            QVERIFY(large.start({media("photo-20000x10000.jpg")}, profile(homes.filePath("large"))));
            for (PlayerProcess* player : {&small, &large}) {
                // Shown, then given the time a second decode of the photo would take.
                QVERIFY2(QTest::qWaitFor([&] { return player->output().contains("Photo shown: "); }, 20000),
                         qPrintable(player->output()));
                QTest::qWait(1500);
                QVERIFY2(!player->output().contains("Pause screen shown"), qPrintable(player->output()));
            }
        }
    }
};

QTEST_MAIN(TestFailuresEndToEnd)
#include "tst_failures_e2e.moc"
