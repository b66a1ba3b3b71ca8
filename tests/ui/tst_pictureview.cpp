#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "PanoramaTestFrames.h"
#include "PlayerProcess.h"
#include "base/ProductInfo.h"

// What a picture covers, seen in the real program: a 2:1 photo without metadata is a full sphere
// from zenith to nadir, a cropped band's XMP puts its horizon at the horizon, a half sphere keeps
// the view in front with black behind, and the view panel's choices, made with real keys and
// clicks, change the picture as the CPU reference says and survive a restart. The photos are red
// by longitude and green by colatitude (tools/make-geometry-media).
using namespace PanoramaReference;
using B = HShaderCodeBuilder;

class TestPictureView : public QObject
{
    Q_OBJECT

    WindowManager windowManager;

    static QString media(const char* name) { return QStringLiteral(GYRE_TEST_MEDIA_DIR "/") + name; }
    static void key(const QString& keys) { PlayerProcess::key(keys); }
    static QString run(const QStringList& arguments) { return PlayerProcess::xdotool(arguments); }

    // Points of the window away from the control bar, the panels at the right and the corners.
    static QString mismatch(const QImage& grabbed, const View& view, const QImage& frame)
    {
        return PanoramaTestFrames::mismatch(grabbed, view, frame,
                                            QRect(40, 40, grabbed.width() - 400, grabbed.height() - 110));
    }

    // The window comes to show the reference view, and still does a moment later (a popup fading in
    // would dim it).
    static bool shows(PlayerProcess& player, const View& view, const QImage& frame, QString* why)
    {
        return QTest::qWaitFor(
            [&] {
                *why = mismatch(player.grab(), view, frame);
                if (!why->isEmpty()) {
                    return false;
                }
                QTest::qWait(600);
                *why = mismatch(player.grab(), view, frame);
                return why->isEmpty();
            },
            20000);
    }

    static View flat(const Limits& limits)
    {
        View v;
        v.projection = B::NO_PROJECTION;
        v.limits = limits;
        return v;
    }

    // A drag of `dy` pixels in the middle of the window, in steps as a hand makes it.
    static void drag(WId window, int dy)
    {
        const QString id = QString::number(window);
        run({"mousemove", "--window", id, "400", "300"});
        run({"mousedown", "1"});
        const int step = dy > 0 ? 20 : -20;
        for (int moved = step; std::abs(moved) <= std::abs(dy); moved += step) {
            run({"mousemove", "--window", id, "400", QString::number(300 + moved)});
        }
        run({"mouseup", "1"});
    }

    // The greeting swallows keys until it has closed itself, which the log tells.
    static bool keysReach(PlayerProcess& player)
    {
        const bool closed = QTest::qWaitFor([&] { return player.output().contains("Popup closed"); }, 30000);
        QTest::qWait(500); // the scene's state follows the close
        return closed;
    }

    // The first media is paused once shown, under the pause screen: play takes it away.
    static bool startOn(PlayerProcess& player, const QString& file, const QProcessEnvironment& environment,
                        const View& view, const QImage& frame, QString* why)
    {
        if (!player.start({file}, environment)) {
            *why = "no window";
            return false;
        }
        if (!keysReach(player)) {
            *why = "keys never reached the view";
            return false;
        }
        key("space");
        return shows(player, view, frame, why);
    }

private slots:
    void initTestCase() { QVERIFY2(windowManager.start(), "openbox is missing: run tools/install-deps"); }

    void fullSphereFromZenithToNadir()
    {
        QTemporaryDir home;
        const QImage frame(media("geo-sphere-512x256.png"));
        QVERIFY(!frame.isNull());
        PlayerProcess player;
        View v = flat(fullSphere);
        QString why;
        QVERIFY2(startOn(player, media("geo-sphere-512x256.png"), PlayerProcess::profile(home.path(), {}), v,
                         frame, &why),
                 qPrintable(why + "\n" + player.output()));

        key("p");
        v.projection = B::RECTILINEAR;
        QVERIFY2(shows(player, v, frame, &why), qPrintable(why));
        // In touch mode (the default) the picture follows the finger: dragging down looks up.
        drag(player.window(), 400);
        v.pitch = -(90 - 30) * degree;
        QVERIFY2(shows(player, v, frame, &why), qPrintable("zenith: " + why));
        drag(player.window(), -500);
        drag(player.window(), -500);
        v.pitch = (90 - 30) * degree;
        QVERIFY2(shows(player, v, frame, &why), qPrintable("nadir: " + why));
    }

    void bandAndHalfSphere()
    {
        QTemporaryDir home;
        const QImage band(media("geo-band-xmp-512x144.png"));
        PlayerProcess player;
        // Its XMP: from 11.25° above the horizon down to the nadir. The view is kept inside: its top
        // edge at the band's top.
        View v = flat({-pi, pi, -pi / 2, 11.25 * degree});
        v.pitch = (30 - 11.25) * degree;
        QString why;
        QVERIFY2(startOn(player, media("geo-band-xmp-512x144.png"), PlayerProcess::profile(home.path(), {}),
                         v, band, &why),
                 qPrintable(why + "\n" + player.output()));

        player.process().kill();
        player.process().waitForFinished(5000);

        // The half sphere's other eye is magenta: none of it may show, however far the view turns.
        PlayerProcess halfSphere;
        QVERIFY(
            halfSphere.start({media("geo-vr180-sbs-640x320.mp4")}, PlayerProcess::profile(home.path(), {})));
        const auto magenta = [](const QImage& image) {
            int n = 0;
            for (int y = 0; y < image.height(); y += 4) {
                for (int x = 0; x < image.width(); x += 4) {
                    const QRgb p = image.pixel(x, y);
                    n += qRed(p) > 200 && qBlue(p) > 200 && qGreen(p) < 60 ? 1 : 0;
                }
            }
            return n;
        };
        // Its left eye is flat blue.
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         const QRgb p =
                             halfSphere.grab().pixel(200, 150); // clear of the pause screen's button
                         return qBlue(p) > 150 && qRed(p) < 90;
                     },
                     20000),
                 qPrintable(halfSphere.output()));
        QVERIFY(keysReach(halfSphere));
        key("6 6 6 6 6 6 6 6");
        const auto edgeIsBlack = [](const QImage& image) {
            const QRgb edge = image.pixel(image.width() - 5, image.height() / 2);
            return qRed(edge) < 8 && qGreen(edge) < 8 && qBlue(edge) < 8;
        };
        QVERIFY(QTest::qWaitFor([&] { return edgeIsBlack(halfSphere.grab()); }, 10000));
        const QImage turned = halfSphere.shot("half sphere turned");
        QCOMPARE(magenta(turned), 0);
        // The view stops half a field of view inside the picture's edge at 90°: the centre shows the
        // picture, the window's right edge (beyond 90° in a wide window) is black.
        const QRgb centre = turned.pixel(turned.width() / 2, turned.height() / 2);
        QVERIFY2(qGray(centre) > 20, qPrintable(QString::number(centre, 16)));
        QVERIFY(edgeIsBlack(turned));
    }

    void panelChoicesSurviveARestart()
    {
        QTemporaryDir home;
        const QImage frame(media("geo-sphere-512x256.png"));
        const QProcessEnvironment environment = PlayerProcess::profile(home.path(), {});
        QString why;
        View v = flat(fullSphere);
        {
            PlayerProcess player;
            QVERIFY2(startOn(player, media("geo-sphere-512x256.png"), environment, v, frame, &why),
                     qPrintable(why + "\n" + player.output()));

            // The panel from the keyboard; its choices by the mouse. It sits at the right edge above
            // the bar: its top is where the dark backdrop ends, looking up from the bar.
            const QImage before = player.grab();
            key("v");
            // Slid in once two grabs a moment apart are the same.
            QImage open = player.grab();
            QVERIFY(QTest::qWaitFor(
                [&] {
                    QTest::qWait(400);
                    const QImage now = player.grab();
                    const bool still = now == open && now != before;
                    open = now;
                    return still;
                },
                10000));
            player.shot("view panel");
            const int x = open.width() - 8; // right of the choices, on the backdrop
            const auto darkened = [&](int y) {
                const QRgb was = before.pixel(x, y), is = open.pixel(x, y);
                return qGreen(is) <= qGreen(was) * 0.5 + 4 && qBlue(is) <= qBlue(was) * 0.5 + 4;
            };
            int top = open.height() - 45;
            while (top > 0 && darkened(top - 1)) {
                --top;
            }
            QVERIFY2(top < open.height() - 300, qPrintable(QString::number(top)));
            const int left = open.width() - 380 + 20;
            // Sections from the panel's top: projection at 42 (two rows of choices), then stereo,
            // eye, stacked and picture, 56 apart; a section's choices start 24 below its top.
            const auto choice = [&](int sectionTop, int row, int column, int perRow) {
                const double width = (340 - (perRow - 1) * 2) / double(perRow);
                player.click(int(left + column * (width + 2) + width / 2),
                             top + sectionTop + 24 + row * 32 + 15);
                QTest::qWait(300);
            };
            choice(42, 0, 2, 3);               // Little planet
            choice(42 + 88 + 3 * 56, 0, 2, 3); // Picture: Band
            key("v");
            // S: stereo from Auto to Mono; K: stacked from Auto to On.
            key("s k");
            v.projection = B::LITTLE_PLANET;
            v.limits = defaultBand;
            v.stacked = true;
            v.pitch = -15 * degree; // the band's clamp at a 60° field of view
            QVERIFY2(shows(player, v, frame, &why), qPrintable("after the choices: " + why));
            key("ctrl+q");
            QVERIFY(player.process().waitForFinished(15000));
        }

        QSettings stored(
            QString("%1/config/%2/%3.conf")
                .arg(home.path(), ProductInfo::organizationName(), ProductInfo::settingsApplicationName()),
            QSettings::IniFormat);
        QCOMPARE(stored.value("view/projection").toInt(), int(B::LITTLE_PLANET));
        QCOMPARE(stored.value("view/picture").toString(), QString("band"));
        QCOMPARE(stored.value("view/stereo").toString(), QString("mono"));
        QCOMPARE(stored.value("view/stacked").toString(), QString("on"));

        PlayerProcess again;
        QVERIFY2(startOn(again, media("geo-sphere-512x256.png"), environment, v, frame, &why),
                 qPrintable("after a restart: " + why + "\n" + again.output()));

        // S again: over-under, the frame's upper half; R: the other eye, its lower half.
        key("s");
        v.stereo = B::STEREO_3D_OVERUNDER;
        QVERIFY2(shows(again, v, frame, &why), qPrintable("over-under: " + why));
        key("r");
        v.rightEye = true;
        QVERIFY2(shows(again, v, frame, &why), qPrintable("right eye: " + why));
        key("ctrl+q");
        QVERIFY(again.process().waitForFinished(15000));
        stored.sync();
        QCOMPARE(stored.value("view/stereo").toString(), QString("overunder"));
        QCOMPARE(stored.value("view/eye").toString(), QString("right"));
    }
};

QTEST_MAIN(TestPictureView)
#include "tst_pictureview.moc"
