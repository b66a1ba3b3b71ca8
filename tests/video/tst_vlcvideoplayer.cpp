#include "VlcTestSupport.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {
// The once-a-second statistics lines, caught on their way to the usual output.
QStringList statisticsLines;
QtMessageHandler previousHandler = nullptr;
} // namespace

// The libvlc video item without a window: opening, playback states, positions, control, and the
// media it must refuse or survive. Real libvlc on generated clips.
class TestVlcVideoPlayer : public QObject
{
    Q_OBJECT

private slots:
    void playsThroughAndObeys()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("gyre.render.stats.info=true"));
        previousHandler = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (context.category && QByteArray(context.category) == "gyre.render.stats") {
                    statisticsLines.append(message);
                }
                previousHandler(type, context, message);
            });

        Player player;
        PlayerLog log(&player);
        QSignalSpy statistics(&player, &Player::statisticsChanged);
        const QUrl clip = mediaUrl("clip-1920x960.mp4");

        player.openFile(clip);
        QCOMPARE(log.sourceChanges, 1);
        QCOMPARE(player.getSource(), clip);
        QVERIFY(log.waitForState(Player::Playing));
        QCOMPARE(log.states.first(), int(Player::Opening));
        QTRY_COMPARE_WITH_TIMEOUT(log.durations.size(), 1, openTimeout);
        QVERIFY2(qAbs(log.durations.first() - 5000) <= 100,
                 qPrintable(QString::number(log.durations.first())));

        // An empty source is ignored while the media plays on.
        player.openFile(QUrl());
        player.setProperty("source", QUrl());
        QCOMPARE(log.sourceChanges, 1);
        QCOMPARE(player.getSource(), clip);

        QVERIFY(QTest::qWaitFor([&] { return log.positions.size() >= 3; }, openTimeout));
        QVERIFY(std::is_sorted(log.positions.begin(), log.positions.end()));
        QVERIFY(log.positions.last() > log.positions.first());

        QVERIFY(log.waitForState(Player::Ended, playTimeout));
        QCOMPARE(log.lastState(), int(Player::Ended));
        QVERIFY(player.getFramesDecoded() > 0 && player.getFramesDecoded() <= 150);
        // Without a window nothing is uploaded: each picture is overwritten by the next.
        QCOMPARE(player.getFramesUploaded(), 0);
        QCOMPARE(player.getFramesLost(), player.getFramesDecoded() - 1);
        QVERIFY(statistics.count() >= 2);
        qInstallMessageHandler(previousHandler);
        QLoggingCategory::setFilterRules(QString());
        QVERIFY2(statisticsLines.size() >= 3, qPrintable(statisticsLines.join('\n')));
        static const QRegularExpression line("^presented=0 dropped=\\d+ decoded=\\d+$");
        QVERIFY2(line.match(statisticsLines.last()).hasMatch(), qPrintable(statisticsLines.last()));

        log.clear();
        player.restart();
        QVERIFY(log.waitForState(Player::Playing));
        QVERIFY(QTest::qWaitFor([&] { return !log.positions.isEmpty(); }, openTimeout));
        QVERIFY2(log.positions.first() < 1500, qPrintable(QString::number(log.positions.first())));
        // While playing, the new position comes from libvlc's time events, not from seek() itself.
        const int playingAt = log.positions.size();
        player.seek(1000);
        QCOMPARE(log.positions.size(), playingAt);

        player.pause();
        QVERIFY(log.waitForState(Player::Paused));
        player.pause();
        QTest::qWait(600);
        QCOMPARE(log.lastState(), int(Player::Paused));
        QCOMPARE(log.states.count(int(Player::Paused)), 1);
        const int pausedAt = log.positions.size();

        player.seek(2000);
        QCOMPARE(log.positions.size(), pausedAt + 1);
        QCOMPARE(log.positions.last(), 2000);

        QSignalSpy volume(&player, &Player::volumeChanged);
        player.setVolume(0.999f);
        QCOMPARE(player.getVolume(), 0.99f);
        player.setProperty("volume", 0.5);
        QCOMPARE(player.getVolume(), 0.5f);
        QCOMPARE(volume.count(), 2);

        log.clear();
        player.close();
        QVERIFY(player.getSource().isEmpty());
        QVERIFY(log.waitForState(Player::Stopped));
        log.clear();
        player.openFile(clip);
        QCOMPARE(player.getSource(), clip);
        QVERIFY(log.waitForState(Player::Playing));
        player.close();

        QVERIFY(!log.offGuiThread);
    }

    void audioOnlyMediaIsDropped()
    {
        Player player;
        PlayerLog log(&player);
        player.openFile(mediaUrl("audio-only.m4a"));
        QCOMPARE(log.sourceChanges, 1);
        QTRY_COMPARE_WITH_TIMEOUT(log.durations.size(), 1, openTimeout);
        QVERIFY(qAbs(log.durations.first() - 2000) <= 100);
        QTRY_VERIFY_WITH_TIMEOUT(player.getSource().isEmpty(), openTimeout);
        QCOMPARE(log.sourceChanges, 1);
        // Nothing is held any more, so there is nothing to start over.
        log.clear();
        player.restart();
        QTest::qWait(300);
        QVERIFY(!log.states.contains(Player::Opening));
        QVERIFY(!log.offGuiThread);
    }

    void missingFileEndsInError()
    {
        Player player;
        PlayerLog log(&player);
        player.openFile(mediaUrl("no-such-clip.mp4"));
        QVERIFY(log.waitForState(Player::Error));
        QTRY_VERIFY_WITH_TIMEOUT(!log.errors.isEmpty(), openTimeout);
        QVERIFY(!log.errors.first().isEmpty());
        // libvlc follows its error with Ended; reported, that would read as a clean end.
        QTest::qWait(300);
        QCOMPARE(log.lastState(), int(Player::Error));
        QVERIFY(!log.states.contains(Player::Ended));

        // The item stays usable.
        log.clear();
        player.openFile(mediaUrl("truncated.mp4"));
        QVERIFY(log.waitForState(Player::Playing));
        QVERIFY(!log.offGuiThread);
    }

    void truncatedFilePlaysWhatItHas()
    {
        Player player;
        PlayerLog log(&player);
        // The GUI thread must keep running while libvlc struggles with the missing part.
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.setInterval(20);
        connect(&ticker, &QTimer::timeout, [&] { longestGap = qMax(longestGap, sinceTick.restart()); });
        sinceTick.start();
        ticker.start();

        player.openFile(mediaUrl("truncated.mp4"));
        QVERIFY(log.waitForState(Player::Playing));
        QVERIFY(QTest::qWaitFor(
            [&] { return log.states.contains(Player::Ended) || log.states.contains(Player::Error); },
            playTimeout));
        QVERIFY(player.getFramesDecoded() > 0);
        QVERIFY(player.getFramesDecoded() < 150);
        QVERIFY2(longestGap < 1500, qPrintable(QString::number(longestGap)));
        QVERIFY(!log.offGuiThread);
    }

    void pictureSizeChangeResizesTheItem()
    {
        Player player;
        PlayerLog log(&player);
        player.setNativeSize(true);
        const QUrl clip = mediaUrl("size-change.ts");
        player.openFile(clip);
        // A transport stream lists no track when it is parsed; that is no reason to drop it.
        QTRY_COMPARE_WITH_TIMEOUT(log.durations.size(), 1, openTimeout);
        QCOMPARE(player.getSource(), clip);
        QTRY_VERIFY_WITH_TIMEOUT(player.width() >= 640 && player.width() < 960, openTimeout);
        QVERIFY(player.height() >= 320 && player.height() < 480);
        QTRY_VERIFY_WITH_TIMEOUT(player.width() >= 960, playTimeout);
        // The container does not tell the picture size, so libvlc's padded buffer size may stand.
        QVERIFY(player.height() >= 480 && player.height() <= 482);
        QVERIFY(!log.offGuiThread);
    }
};

QTEST_MAIN(TestVlcVideoPlayer)
#include "tst_vlcvideoplayer.moc"
