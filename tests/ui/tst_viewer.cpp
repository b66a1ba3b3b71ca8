#include <QDir>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

// The whole viewer as a person meets it: the real program on the test's own X server, with a
// window manager, driven by xdotool (keys, clicks, drags, the wheel) and checked on screenshots of
// its window. The sample photo shows a sky, a horizon, a ground band and a red "N" straight ahead
// (README, "Sample media"). Set GYRE_VIEWER_SCREENSHOTS to a folder to keep the screenshots of each
// state.
class TestViewer : public QObject
{
    Q_OBJECT

    // One run of the player; it is ended when the object goes.
    struct Player
    {
        QProcess process;
        WId window = 0;
        QString said;

        // Everything the player has written so far.
        QString output()
        {
            said += QString::fromLocal8Bit(process.readAll());
            return said;
        }

        ~Player()
        {
            if (process.state() != QProcess::NotRunning) {
                process.kill();
                process.waitForFinished(10000);
            }
        }
    };

    struct Red
    {
        int count = 0;
        double x = 0;
    };

    QProcess windowManager;
    QTemporaryDir photos;

    static QString run(const QStringList& arguments)
    {
        QProcess xdotool;
        xdotool.start("xdotool", arguments);
        xdotool.waitForFinished(15000);
        return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
    }

    // Presses the keys named in `keys`, separated by blanks, one after the other.
    static void key(const QString& keys)
    {
        run(QStringList{"key", "--delay", "40"} + keys.split(' ', Qt::SkipEmptyParts));
    }

    static QImage grab(WId window)
    {
        return QGuiApplication::primaryScreen()->grabWindow(window).toImage().convertToFormat(
            QImage::Format_RGB32);
    }

    // The window once it has stopped changing: two grabs a moment apart that are the same.
    static QImage settled(WId window)
    {
        QImage previous = grab(window);
        for (int attempt = 0; attempt < 60; ++attempt) {
            QTest::qWait(250);
            QImage current = grab(window);
            if (current == previous) {
                return current;
            }
            previous = current;
        }
        return previous;
    }

    // The window after it has changed from `before` and settled again (or as it is after 5 s).
    static QImage changed(WId window, const QImage& before)
    {
        (void)QTest::qWaitFor([&] { return grab(window) != before; }, 5000);
        return settled(window);
    }

    // The window a good while after an action that must change nothing: longer than the
    // once-a-second repaint of a still picture.
    static QImage later(WId window)
    {
        QTest::qWait(1300);
        return settled(window);
    }

    // Settles and keeps a copy under `name` when screenshots are asked for.
    static QImage shot(WId window, const char* name = nullptr)
    {
        const QImage image = settled(window);
        const QString folder = qEnvironmentVariable("GYRE_VIEWER_SCREENSHOTS");
        if (name && !folder.isEmpty()) {
            QDir().mkpath(folder);
            image.save(QDir(folder).filePath(QString("%1.png").arg(name)));
        }
        return image;
    }

    static bool isSky(QRgb c)
    {
        return qBlue(c) > 110 && qBlue(c) > qRed(c) + 50 && qBlue(c) > qGreen(c) + 20;
    }
    static bool isRed(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }
    static bool isGround(QRgb c)
    {
        return qGreen(c) > 70 && qGreen(c) > qBlue(c) + 25 && qGreen(c) >= qRed(c);
    }

    static int count(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test)
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                n += test(image.pixel(x, y)) ? 1 : 0;
            }
        }
        return n;
    }

    // The red letter, above where the control bar (whose timeline is of a similar red) comes up.
    static Red red(const QImage& image)
    {
        Red result;
        for (int y = 0; y < image.height() - 45; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (isRed(image.pixel(x, y))) {
                    ++result.count;
                    result.x += x;
                }
            }
        }
        result.x /= qMax(result.count, 1);
        return result;
    }

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

    static bool sameOutside(const QImage& a, const QImage& b, const QRect& area)
    {
        QImage maskedA = a;
        QImage maskedB = b;
        QPainter(&maskedA).fillRect(area, Qt::black);
        QPainter(&maskedB).fillRect(area, Qt::black);
        return maskedA == maskedB;
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

    static bool start(Player& player, const QStringList& arguments)
    {
        player.process.setProcessChannelMode(QProcess::MergedChannels);
        player.process.start(GYRE_PLAYER_EXECUTABLE, arguments);
        if (!player.process.waitForStarted(10000)) {
            return false;
        }
        (void)QTest::qWaitFor(
            [&] {
                player.window = run({"search", "--onlyvisible", "--name", "^Gyre Player"})
                                    .split('\n')
                                    .value(0)
                                    .toULongLong();
                return player.window != 0 || player.process.state() != QProcess::Running;
            },
            30000);
        if (player.window == 0) {
            return false;
        }
        run({"windowactivate", "--sync", QString::number(player.window)});
        return true;
    }

    static QString title(const Player& player)
    {
        return run({"getwindowname", QString::number(player.window)});
    }

    // Waits until the picture is on the screen: mostly sky, some ground.
    static bool showsPicture(WId window)
    {
        return QTest::qWaitFor(
            [&] {
                const QImage image = grab(window);
                const QRect all = image.rect();
                return count(image, all, isSky) > all.width() * all.height() / 4 &&
                       count(image, all, isGround) > all.width() * all.height() / 20;
            },
            30000);
    }

    void makePhoto(const QString& name, QColor colour)
    {
        QImage image(1024, 512, QImage::Format_RGB32);
        image.fill(colour);
        QVERIFY(image.save(photos.filePath(name)));
    }

private slots:
    void initTestCase()
    {
        // Full screen and focus are the window manager's business.
        windowManager.start("openbox", {"--sm-disable"});
        QVERIFY2(windowManager.waitForStarted(10000), "openbox is missing: run tools/install-deps");
        QTest::qWait(500);
        QVERIFY(photos.isValid());
        makePhoto("first.png", QColor(200, 40, 40));
        makePhoto("second.png", QColor(40, 200, 40));
        makePhoto("third.png", QColor(40, 40, 200));
    }

    void cleanupTestCase()
    {
        windowManager.terminate();
        windowManager.waitForFinished(5000);
    }

    void photo()
    {
        Player player;
        QVERIFY(start(player, {GYRE_SAMPLE_MEDIA_DIR "/sample-360-band.jpg"}));
        const WId window = player.window;
        QVERIFY2(showsPicture(window), qPrintable(player.output()));
        QCOMPARE(title(player),
                 QString("Gyre Player - file://" GYRE_SAMPLE_MEDIA_DIR "/sample-360-band.jpg"));
        // The first media pauses once shown; playing takes the pause screen away.
        key("space");
        const QImage start = shot(window, "photo");
        const Red startRed = red(start);
        QVERIFY(startRed.count > 500);
        QVERIFY(qAbs(startRed.x - start.width() / 2) < 20);

        // 6 and 4 turn the view by half a radian: 28.6 degrees, 286 pixels at the default 60-degree
        // field of view over 600 pixels.
        key("6");
        const QImage turned = changed(window, start);
        QVERIFY2(qAbs(red(turned).x - (startRed.x - 286.5)) < 6, qPrintable(QString::number(red(turned).x)));
        key("4");
        QCOMPARE(changed(window, turned), start);

        // Minus cannot widen beyond the picture's height; plus narrows (the letter grows).
        key("minus");
        QCOMPARE(later(window), start);
        key("plus plus plus plus plus");
        const QImage zoomed = changed(window, start);
        QVERIFY2(red(zoomed).count > startRed.count * 1.5,
                 qPrintable(QString("%1 %2").arg(red(zoomed).count).arg(startRed.count)));

        // The help: 15 shortcut lines (no sensor, head-mounted display or hand tracking here)
        // beside the 5 lines of the view's state. Both blocks end at the same height above the
        // bottom, on backdrops of the same margins: their heights differ by 10 lines of the
        // interface's 14-pixel font.
        key("h");
        const QImage help = changed(window, zoomed);
        shot(window, "help");
        const int keysHeight = differingRows(zoomed, help, 12);
        const int stateHeight = differingRows(zoomed, help, help.width() - 12);
        QFont font;
        font.setPixelSize(14);
        const double line = QFontMetricsF(font).height();
        QVERIFY2(stateHeight > 5 * line,
                 qPrintable(QString("%1 %2 %3").arg(keysHeight).arg(stateHeight).arg(line)));
        QCOMPARE(5 + qRound((keysHeight - stateHeight) / line), 15);

        // The help's state lines follow a turn (and its frame rate line changes by itself).
        const QRect stateBlock(help.width() - 220, help.height() - 170, 220, 170);
        key("6");
        const QImage turnedWithHelp = changed(window, help);
        QVERIFY(turnedWithHelp.copy(stateBlock) != help.copy(stateBlock));
        key("4");
        QVERIFY(sameOutside(changed(window, turnedWithHelp), help, stateBlock));

        // At 45 degrees the view can look from 7.5 to 22.5 degrees up: 2 looks down to 7.5 (the
        // horizon 100 pixels above where it was), 8 up to 22.5 (the horizon at the bottom edge).
        // At a limit a further step changes nothing.
        QVERIFY2(qAbs(horizon(help) - 500) < 6, qPrintable(QString::number(horizon(help))));
        key("2");
        const QImage down = changed(window, help);
        QVERIFY2(qAbs(horizon(down) - 400) < 6, qPrintable(QString::number(horizon(down))));
        QVERIFY(help.copy(stateBlock) != down.copy(stateBlock));
        key("2");
        QVERIFY(sameOutside(later(window), down, stateBlock));
        key("8");
        QVERIFY(horizon(changed(window, down)) > 590);
        const QImage up = settled(window);
        key("h");
        const QImage flat = changed(window, up);

        // P switches to the perspective projection and back; E steps through the effects (sepia
        // takes the blue out of the sky) and comes back after eight steps.
        key("p");
        const QImage perspective = changed(window, flat);
        QVERIFY(perspective != flat);
        key("p");
        QCOMPARE(changed(window, perspective), flat);
        key("e");
        const QImage sepia = changed(window, flat);
        QVERIFY(count(sepia, sepia.rect(), isSky) < count(flat, flat.rect(), isSky) / 10);
        key("e e e e e e e");
        QCOMPARE(changed(window, sepia), flat);

        // Plus stops at a 20-degree field of view.
        key("plus plus plus plus plus plus plus plus plus");
        const QImage narrowest = changed(window, flat);
        key("plus");
        QCOMPARE(later(window), narrowest);
        key("minus minus minus minus minus minus minus minus minus minus minus minus minus minus");
        QCOMPARE(changed(window, narrowest), start);

        // The wheel turned away from the user narrows the view by 5 degrees, towards the user widens
        // it again. The pointer's arrival brings the bar up, below the letter.
        const QString id = QString::number(window);
        run({"mousemove", "--window", id, "500", "250"});
        run({"click", "4"});
        QVERIFY(QTest::qWaitFor([&] { return red(grab(window)).count > startRed.count * 1.15; }, 5000));
        run({"click", "5"});
        QVERIFY(QTest::qWaitFor([&] { return red(grab(window)).count == startRed.count; }, 5000));

        // A drag of 60 pixels to the right turns the view by 0.3 radians; in touch mode (the default)
        // the picture follows the finger: 172 pixels to the right.
        run({"mousedown", "1"});
        for (int x = 510; x <= 560; x += 10) {
            run({"mousemove", "--window", id, QString::number(x), "250"});
        }
        run({"mouseup", "1"});
        const QImage dragged = changed(window, start);
        QVERIFY2(qAbs(red(dragged).x - (startRed.x + 171.9)) < 6,
                 qPrintable(QString::number(red(dragged).x)));

        // F and Escape, and a double click, switch full screen.
        key("f");
        QTRY_COMPARE(grab(window).size(), QSize(1920, 1080));
        key("Escape");
        QTRY_COMPARE(grab(window).size(), QSize(1200, 600));
        run({"mousemove", "--window", id, "600", "200"});
        run({"click", "--repeat", "2", "--delay", "60", "1"});
        QTRY_COMPARE(grab(window).size(), QSize(1920, 1080));
        key("f");
        QTRY_COMPARE(grab(window).size(), QSize(1200, 600));

        key("ctrl+q");
        QVERIFY(player.process.waitForFinished(15000));
        QCOMPARE(player.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(player.process.exitCode(), 0);
        // Outside demo mode the about popup greets the user.
        QVERIFY(player.output().contains("Popup requested: qrc:/qml/popup/PopupAbout.qml"));
    }

    void playlist()
    {
        Player player;
        QVERIFY(start(player, {photos.filePath("first.png"), photos.filePath("second.png"),
                               photos.filePath("third.png")}));
        const auto shows = [&](const char* name, QRgb colour) {
            const QString expected = "Gyre Player - " + QUrl::fromLocalFile(photos.filePath(name)).toString();
            return QTest::qWaitFor(
                [&] {
                    const QImage image = grab(player.window);
                    return title(player) == expected && image.pixel(100, 100) == colour;
                },
                15000);
        };
        QVERIFY(shows("first.png", qRgb(200, 40, 40)));
        key("Right");
        QVERIFY(shows("second.png", qRgb(40, 200, 40)));
        key("Right");
        QVERIFY(shows("third.png", qRgb(40, 40, 200)));
        key("Right");
        QVERIFY(shows("first.png", qRgb(200, 40, 40)));
        key("Left");
        QVERIFY(shows("third.png", qRgb(40, 40, 200)));
    }

    void video()
    {
        Player player;
        QVERIFY(start(player, {GYRE_SAMPLE_MEDIA_DIR "/sample-360-band-stacked.mp4"}));
        const WId window = player.window;
        QVERIFY2(showsPicture(window), qPrintable(player.output()));
        // The first media is paused once it plays: the pause screen's play button in the middle.
        const QRect middle(600 - 50, 300 - 50, 100, 100);
        const auto accent = [](QRgb c) {
            return qRed(c) > 220 && qGreen(c) > 40 && qGreen(c) < 100 && qBlue(c) < 60;
        };
        QVERIFY(QTest::qWaitFor([&] { return count(grab(window), middle, accent) > 3000; }, 15000));
        const QImage paused = shot(window, "video-paused");

        // Ctrl+Right seeks a second on (the frame counter changes) and shows the time in a dark box
        // over the middle, which fades away again.
        const QRect counter(60, 510, 200, 60);
        const QRect timeText(600 - 40, 300 - 15, 80, 30);
        const auto dark = [](QRgb c) { return qMax(qRed(c), qMax(qGreen(c), qBlue(c))) < 110; };
        QCOMPARE(count(paused, timeText, dark), 0);
        key("ctrl+Right");
        QVERIFY(QTest::qWaitFor([&] { return count(grab(window), timeText, dark) > 800; }, 3000));
        QVERIFY(QTest::qWaitFor([&] { return grab(window).copy(counter) != paused.copy(counter); }, 5000));
        QVERIFY(QTest::qWaitFor([&] { return count(grab(window), timeText, dark) == 0; }, 5000));

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
        QVERIFY(QTest::qWaitFor([&] { return meanBrightness(grab(window), bottom) < before * 0.5; }, 3000));
        shot(window, "video-controls");
        QVERIFY(QTest::qWaitFor([&] { return meanBrightness(grab(window), bottom) > before * 0.9; }, 15000));
        QVERIFY2(sinceMove.elapsed() >= 2900, qPrintable(QString::number(sinceMove.elapsed())));

        // Space plays: the pause screen goes.
        key("space");
        QVERIFY(QTest::qWaitFor([&] { return count(grab(window), middle, accent) < 300; }, 5000));
    }

    // With nothing to show: a grey placeholder inviting a drop. In demo mode the window starts full
    // screen, nobody is greeted, the bar stays up and a double click changes nothing.
    void demoWithoutFile()
    {
        Player player;
        QVERIFY(start(player, {"--demo"}));
        const WId window = player.window;
        QTRY_COMPARE(grab(window).size(), QSize(1920, 1080));
        const QImage placeholder = shot(window, "placeholder");
        const QRect box(960 - 150, 540 - 100, 300, 200);
        const QRect errorLines(box.left() + 10, box.top() + 118, 280, 54);
        const auto grey = [](QRgb c) { return c == qRgb(0x5b, 0x5f, 0x63); };
        const auto white = [](QRgb c) { return qGray(c) > 230; };
        QVERIFY(count(placeholder, QRect(0, 0, 1920, 400), grey) > 1920 * 380);
        QVERIFY(count(placeholder, box, white) > 300);
        QCOMPARE(count(placeholder, errorLines, isRed), 0);
        QVERIFY(meanBrightness(placeholder, QRect(300, 1042, 1300, 10)) < 40);

        run({"mousemove", "--window", QString::number(window), "300", "300"});
        run({"click", "--repeat", "2", "--delay", "60", "1"});
        QTest::qWait(1500);
        QCOMPARE(grab(window).size(), QSize(1920, 1080));

        key("ctrl+q");
        QVERIFY(player.process.waitForFinished(15000));
        QCOMPARE(player.process.exitCode(), 0);
        QVERIFY(!player.output().contains("Popup requested: qrc:/qml/popup/PopupAbout.qml"));
    }

    void missingFile()
    {
        Player player;
        QVERIFY(start(player, {photos.filePath("missing.jpg")}));
        // The error's lines in the placeholder's box, below the drop invitation.
        const QRect errorLines(600 - 140, 300 + 18, 280, 54);
        QVERIFY(QTest::qWaitFor([&] { return count(grab(player.window), errorLines, isRed) > 100; }, 15000));
        shot(player.window, "error");
    }
};

QTEST_MAIN(TestViewer)
#include "tst_viewer.moc"
