#include "SampleScene.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QtTest>

// The player started on the bundled sample photo and video, as a user starts it, shows the picture
// in the panorama: checked on the screen of the test's own X server. Both samples show the same
// scene, the video in the stacked layout, so both must come out alike: upright, with the sky above
// the red "N" above the ground.
class TestSampleMedia : public QObject
{
    Q_OBJECT

    struct Band
    {
        int count = 0;
        double y = 0;
    };

    // Empty when the picture shows the scene, else what it shows. The drop placeholder has none of
    // these colours.
    static QString sceneMismatch(const QImage& picture)
    {
        const QImage image = picture.convertToFormat(QImage::Format_RGB32);
        Band sky, red, ground;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                Band* band = SampleScene::isSky(c)      ? &sky
                             : SampleScene::isRed(c)    ? &red
                             : SampleScene::isGround(c) ? &ground
                                                        : nullptr;
                if (band) {
                    ++band->count;
                    band->y += y;
                }
            }
        }
        const int area = qMax(image.width() * image.height(), 1);
        const bool shown = sky.count > area / 4 && ground.count > area / 20 && red.count > area / 400 &&
                           sky.y / sky.count < red.y / red.count &&
                           red.y / red.count < ground.y / ground.count;
        return shown ? QString()
                     : QString("sky %1 red %2 ground %3 of %4 pixels")
                           .arg(sky.count)
                           .arg(red.count)
                           .arg(ground.count)
                           .arg(area);
    }

private slots:
    void pictureIsShown_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addRow("photo") << "sample-360-band.jpg";
        QTest::addRow("video") << "sample-360-band-stacked.mp4";
    }
    void pictureIsShown()
    {
        QFETCH(QString, file);
        QProcess player;
        player.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer clock;
        clock.start();
        player.start(GYRE_PLAYER_EXECUTABLE, {QStringLiteral(GYRE_SAMPLE_MEDIA_DIR "/") + file});
        QVERIFY(player.waitForStarted(10000));

        WId window = 0;
        const auto findWindow = [&] {
            QProcess xdotool;
            xdotool.start("xdotool", {"search", "--onlyvisible", "--name", "^Gyre Player"});
            xdotool.waitForFinished(10000);
            window = WId(xdotool.readAllStandardOutput().split('\n').value(0).trimmed().toULongLong());
            return window != 0 || player.state() != QProcess::Running;
        };
        // A loaded machine can take well over half a minute for a first start under llvmpipe.
        QVERIFY2(QTest::qWaitFor(findWindow, 60000), "no window of the player within a minute");
        QVERIFY2(window, qPrintable("the player ended before its window showed; it said:\n" +
                                    QString::fromLocal8Bit(player.readAll())));

        QString missing;
        const bool shown = QTest::qWaitFor(
            [&] {
                missing = sceneMismatch(QGuiApplication::primaryScreen()->grabWindow(window).toImage());
                return missing.isEmpty();
            },
            30000);
        const qint64 elapsed = clock.elapsed();
        player.kill();
        player.waitForFinished(10000);
        QVERIFY2(shown, qPrintable(missing + "; player said:\n" + QString::fromLocal8Bit(player.readAll())));
        qInfo("%s in the panorama %lld ms after the player was started", qPrintable(file), elapsed);
    }
};

QTEST_MAIN(TestSampleMedia)
#include "tst_samplemedia.moc"
