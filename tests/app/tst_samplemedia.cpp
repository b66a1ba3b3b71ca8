#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QtTest>

// The player started on the bundled sample photo and video, as a user starts it, shows the picture
// in the panorama: checked on the screen of the test's own X server. Both samples show the same
// scene (sky, the red "N" straight ahead, the ground), the video in the stacked layout, so both
// must come out alike.
class TestSampleMedia : public QObject
{
    Q_OBJECT

    struct Colours
    {
        int sky = 0;
        int red = 0;
        int ground = 0;
        double skyY = 0;
        double redY = 0;
        double groundY = 0;
    };

    static Colours classify(const QImage& picture)
    {
        Colours colours;
        const QImage image = picture.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int r = qRed(line[x]);
                const int g = qGreen(line[x]);
                const int b = qBlue(line[x]);
                if (b > 110 && b > r + 50 && b > g + 20) {
                    ++colours.sky;
                    colours.skyY += y;
                } else if (r > 180 && g < 90 && b < 90) {
                    ++colours.red;
                    colours.redY += y;
                } else if (g > 70 && g > b + 25 && g >= r) {
                    ++colours.ground;
                    colours.groundY += y;
                }
            }
        }
        colours.skyY /= qMax(colours.sky, 1);
        colours.redY /= qMax(colours.red, 1);
        colours.groundY /= qMax(colours.ground, 1);
        return colours;
    }

    // The sample scene as the default view shows it: mostly sky, the ground below it, the letter
    // in between. The drop placeholder has none of these colours.
    static bool showsTheScene(const Colours& colours, int area)
    {
        return colours.sky > area / 4 && colours.ground > area / 20 && colours.red > area / 400 &&
               colours.skyY < colours.redY && colours.redY < colours.groundY;
    }

    static WId playerWindow()
    {
        QProcess xdotool;
        xdotool.start("xdotool", {"search", "--onlyvisible", "--name", "^Gyre Player"});
        if (!xdotool.waitForFinished(10000)) {
            return 0;
        }
        return WId(xdotool.readAllStandardOutput().split('\n').value(0).trimmed().toULongLong());
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
        // A loaded machine can take well over half a minute for a first start under llvmpipe.
        QVERIFY2(
            QTest::qWaitFor(
                [&] { return (window = playerWindow()) != 0 || player.state() != QProcess::Running; }, 60000),
            "no window of the player within a minute");
        QVERIFY2(player.state() == QProcess::Running,
                 qPrintable(QString("the player ended (exit %1, %2) before its window showed; it said:\n%3")
                                .arg(player.exitCode())
                                .arg(player.exitStatus() == QProcess::CrashExit ? "crashed" : "normal exit")
                                .arg(QString::fromLocal8Bit(player.readAll()))));

        QScreen* screen = QGuiApplication::primaryScreen();
        Colours colours;
        int area = 0;
        const bool shown = QTest::qWaitFor(
            [&] {
                const QImage picture = screen->grabWindow(window).toImage();
                area = picture.width() * picture.height();
                colours = classify(picture);
                return area > 0 && showsTheScene(colours, area);
            },
            30000);
        const qint64 elapsed = clock.elapsed();
        player.terminate();
        if (!player.waitForFinished(10000)) {
            player.kill();
            player.waitForFinished(10000);
        }
        QVERIFY2(shown, qPrintable(QString("sky %1 red %2 ground %3 of %4 pixels; player said:\n%5")
                                       .arg(colours.sky)
                                       .arg(colours.red)
                                       .arg(colours.ground)
                                       .arg(area)
                                       .arg(QString::fromLocal8Bit(player.readAll()))));
        qInfo("%s in the panorama %lld ms after the player was started (sky %d, red %d, ground %d of %d)",
              qPrintable(file), elapsed, colours.sky, colours.red, colours.ground, area);
    }
};

QTEST_MAIN(TestSampleMedia)
#include "tst_samplemedia.moc"
