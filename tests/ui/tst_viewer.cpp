#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QtTest>

#include "PlayerProcess.h"
#include "SampleScene.h"

// The whole viewer as a person meets it: the real program on the test's own X server, with a
// window manager, driven by xdotool (keys, clicks, drags, the wheel) and checked on screenshots of
// its window. The sample photo shows a sky, a horizon, a ground band and a red "N" straight ahead
// (README, "Sample media"). Set GYRE_VIEWER_SCREENSHOTS to a folder to keep the screenshots of each
// state.
using namespace SampleScene;

class TestViewer : public QObject
{
    Q_OBJECT

    WindowManager windowManager;

    static void key(const QString& keys) { PlayerProcess::key(keys); }
    static QString run(const QStringList& arguments) { return PlayerProcess::xdotool(arguments); }

    // The first row from the top whose pixel in the middle column is ground, or the height.
    static int horizon(const QImage& image)
    {
        for (int y = 0; y < image.height(); ++y) {
            if (isGround(image.pixel(image.width() / 2, y))) {
                return y;
            }
        }
        return image.height();
    }

    // Within 2 levels per channel outside `area`: under the help's translucent backdrops a redraw of
    // the same view can come out a level or two apart (seen on a loaded machine); a turn that did
    // not come back moves edges by far more.
    static bool sameOutside(const QImage& a, const QImage& b, const QRect& area)
    {
        if (a.size() != b.size()) {
            return false;
        }
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                if (area.contains(x, y)) {
                    continue;
                }
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                if (qAbs(qRed(p) - qRed(q)) > 2 || qAbs(qGreen(p) - qGreen(q)) > 2 ||
                    qAbs(qBlue(p) - qBlue(q)) > 2) {
                    return false;
                }
            }
        }
        return true;
    }

    // Rows, in one column, where two images differ.
    static int differingRows(const QImage& a, const QImage& b, int x)
    {
        int rows = 0;
        for (int y = 0; y < a.height(); ++y) {
            rows += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
        return rows;
    }

    static double meanBrightness(const QImage& image, const QRect& area)
    {
        double sum = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                sum += qGray(image.pixel(x, y));
            }
        }
        return sum / (area.width() * area.height());
    }

private slots:
    void initTestCase() { QVERIFY2(windowManager.start(), "openbox is missing: run tools/install-deps"); }

    void photo()
    {
        PlayerProcess player;
        QVERIFY(player.start({GYRE_SAMPLE_MEDIA_DIR "/sample-360-band.jpg"}));
        const WId window = player.window();
        QVERIFY2(showsPicture([&] { return player.grab(); }), qPrintable(player.output()));
        QCOMPARE(player.title(), QString("Gyre Player - sample-360-band.jpg"));
        const QImage start = player.shot("photo");
        const Red startRed = red(start);
        QVERIFY(startRed.count > 500);
        QVERIFY(qAbs(startRed.x - start.width() / 2) < 20);

        // 6 and 4 turn the view by half a radian: 28.6 degrees, 286 pixels at the default 60-degree
        // field of view over 600 pixels.
        key("6");
        const QImage turned = player.changed(start);
        QVERIFY2(qAbs(red(turned).x - (startRed.x - 286.5)) < 6, qPrintable(QString::number(red(turned).x)));
        key("4");
        QVERIFY(player.becomes(start));

        // Minus cannot widen beyond the picture's height; plus narrows (the letter grows).
        key("minus");
        QCOMPARE(player.later(), start);
        key("plus plus plus plus plus");
        const QImage zoomed = player.changed(start);
        QVERIFY2(red(zoomed).count > startRed.count * 1.5,
                 qPrintable(QString("%1 %2").arg(red(zoomed).count).arg(startRed.count)));

        // The help: 21 shortcut lines (no sensor, head-mounted display or hand tracking here)
        // beside the 5 lines of the view's state. Both blocks end at the same height above the
        // bottom, on backdrops of the same margins: their heights differ by 16 lines of the
        // interface's 14-pixel font.
        key("h");
        const QImage help = player.changed(zoomed);
        player.shot("help");
        const int keysHeight = differingRows(zoomed, help, 12);
        const int stateHeight = differingRows(zoomed, help, help.width() - 12);
        QFont font;
        font.setPixelSize(14);
        const double line = QFontMetricsF(font).height();
        QVERIFY2(stateHeight > 5 * line,
                 qPrintable(QString("%1 %2 %3").arg(keysHeight).arg(stateHeight).arg(line)));
        QCOMPARE(5 + qRound((keysHeight - stateHeight) / line), 21);

        // The help's state lines follow a turn (and its frame rate line changes by itself).
        const QRect stateBlock(help.width() - 220, help.height() - 170, 220, 170);
        key("6");
        const QImage turnedWithHelp = player.changed(help);
        QVERIFY(turnedWithHelp.copy(stateBlock) != help.copy(stateBlock));
        key("4");
        const QImage back = player.changed(turnedWithHelp);
        if (!sameOutside(back, help, stateBlock)) {
            // Kept beside the test program, to see what else changed.
            help.save("tst_viewer-help.png");
            back.save("tst_viewer-help-turned-back.png");
            QFAIL("the turn back changed more than the help's state lines");
        }

        // At 45 degrees the view can look from 7.5 to 22.5 degrees up: 2 looks down to 7.5 (the
        // horizon 100 pixels above where it was), 8 up to 22.5 (the horizon at the bottom edge).
        // At a limit a further step changes nothing.
        QVERIFY2(qAbs(horizon(help) - 500) < 6, qPrintable(QString::number(horizon(help))));
        key("2");
        const QImage down = player.changed(help);
        QVERIFY2(qAbs(horizon(down) - 400) < 6, qPrintable(QString::number(horizon(down))));
        QVERIFY(help.copy(stateBlock) != down.copy(stateBlock));
        key("2");
        QVERIFY(sameOutside(player.later(), down, stateBlock));
        key("8");
        QVERIFY(horizon(player.changed(down)) > 590);
        const QImage up = player.settled();
        key("h");
        const QImage flat = player.changed(up);

        // P switches to the perspective projection and back; E steps through the effects (sepia
        // takes the blue out of the sky) and comes back after eight steps.
        key("p");
        const QImage perspective = player.changed(flat);
        QVERIFY(perspective != flat);
        key("p");
        QVERIFY(player.becomes(flat));
        key("e");
        const QImage sepia = player.changed(flat);
        QVERIFY(count(sepia, sepia.rect(), isSky) < count(flat, flat.rect(), isSky) / 10);
        key("e e e e e e e");
        QVERIFY(player.becomes(flat));

        // Plus stops where a pixel of the 6144-pixel-wide sample spans two of the window's, a little
        // below 20 degrees.
        key("plus plus plus plus plus plus plus plus plus plus");
        const QImage narrowest = player.changed(flat);
        key("plus");
        QCOMPARE(player.later(), narrowest);
        key("minus minus minus minus minus minus minus minus minus minus minus minus minus minus minus");
        QVERIFY(player.becomes(start));

        // The wheel turned away from the user narrows the view by 5 degrees, towards the user widens
        // it again. The pointer's arrival brings the bar up, below the letter.
        const QString id = QString::number(window);
        run({"mousemove", "--window", id, "500", "250"});
        run({"click", "4"});
        QVERIFY(QTest::qWaitFor([&] { return red(player.grab()).count > startRed.count * 1.15; }, 5000));
        run({"click", "5"});
        QVERIFY(QTest::qWaitFor([&] { return red(player.grab()).count == startRed.count; }, 5000));

        // A drag of 60 pixels to the right turns the view by 0.3 radians; in touch mode (the default)
        // the picture follows the finger: 172 pixels to the right.
        run({"mousedown", "1"});
        for (int x = 510; x <= 560; x += 10) {
            run({"mousemove", "--window", id, QString::number(x), "250"});
        }
        run({"mouseup", "1"});
        const QImage dragged = player.changed(start);
        QVERIFY2(qAbs(red(dragged).x - (startRed.x + 171.9)) < 6,
                 qPrintable(QString::number(red(dragged).x)));

        // F and Escape, and a double click, switch full screen.
        key("f");
        QTRY_COMPARE(player.grab().size(), QSize(1920, 1080));
        key("Escape");
        QTRY_COMPARE(player.grab().size(), QSize(1200, 600));
        run({"mousemove", "--window", id, "600", "200"});
        run({"click", "--repeat", "2", "--delay", "60", "1"});
        QTRY_COMPARE(player.grab().size(), QSize(1920, 1080));
        key("f");
        QTRY_COMPARE(player.grab().size(), QSize(1200, 600));

        key("ctrl+q");
        QVERIFY(player.process().waitForFinished(15000));
        QCOMPARE(player.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(player.process().exitCode(), 0);
        // Outside demo mode the about popup greets the user.
        QVERIFY(player.output().contains("Popup requested: qrc:/qml/popup/PopupAbout.qml"));
    }

    void video()
    {
        PlayerProcess player;
        QVERIFY(player.start({GYRE_SAMPLE_MEDIA_DIR "/sample-360-band-stacked.mp4"}));
        const WId window = player.window();
        QVERIFY2(showsPicture([&] { return player.grab(); }), qPrintable(player.output()));
        // The first media is paused once it plays: the pause screen's play button in the middle.
        const QRect middle(600 - 50, 300 - 50, 100, 100);
        // The button's orange red (254, 63, 20), not the letter's red (230, 40, 40) behind it.
        const auto accent = [](QRgb c) {
            return qRed(c) > 240 && qGreen(c) > 50 && qGreen(c) < 100 && qBlue(c) < 50;
        };
        QVERIFY(QTest::qWaitFor([&] { return count(player.grab(), middle, accent) > 3000; }, 15000));
        const QImage paused = player.shot("video-paused");

        // Ctrl+Right seeks a second on (the frame counter changes) and shows the time in a dark box
        // above the play button (64 px half-height, 30 px gap), which fades away again.
        const QRect counter(60, 510, 200, 60);
        const QRect timeText(600 - 40, 300 - 64 - 30 - 30, 80, 26);
        const auto dark = [](QRgb c) { return qMax(qRed(c), qMax(qGreen(c), qBlue(c))) < 110; };
        QCOMPARE(count(paused, timeText, dark), 0);
        key("ctrl+Right");
        QVERIFY(QTest::qWaitFor([&] { return count(player.grab(), timeText, dark) > 800; }, 3000));
        QVERIFY(QTest::qWaitFor([&] { return player.grab().copy(counter) != paused.copy(counter); }, 5000));
        QVERIFY(QTest::qWaitFor([&] { return count(player.grab(), timeText, dark) == 0; }, 5000));

        // Moving the mouse brings the control bar up along the bottom; it goes again 3 s after the
        // last move.
        // The bar's own background, above its timeline.
        const QRect bottom(300, 562, 600, 10);
        const double before = meanBrightness(paused, bottom);
        const QString id = QString::number(window);
        run({"mousemove", "--window", id, "600", "200"});
        run({"mousemove", "--window", id, "640", "220"});
        QElapsedTimer sinceMove;
        sinceMove.start();
        QVERIFY(QTest::qWaitFor([&] { return meanBrightness(player.grab(), bottom) < before * 0.5; }, 3000));
        player.shot("video-controls");
        QVERIFY(QTest::qWaitFor([&] { return meanBrightness(player.grab(), bottom) > before * 0.9; }, 15000));
        QVERIFY2(sinceMove.elapsed() >= 2900, qPrintable(QString::number(sinceMove.elapsed())));

        // Space plays: the pause screen goes.
        key("space");
        QVERIFY(QTest::qWaitFor([&] { return count(player.grab(), middle, accent) < 300; }, 5000));
    }
};

QTEST_MAIN(TestViewer)
#include "tst_viewer.moc"
