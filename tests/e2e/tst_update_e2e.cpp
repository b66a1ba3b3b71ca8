#include "FakeHttpServer.h"
#include "PlayerProcess.h"
#include "SampleScene.h"
#include "TestCertificateAuthority.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Menu → Update in the real program, against an update server of our own on 127.0.0.1 speaking
// HTTPS with an authority the player is told to trust (its change log is rich text only then). The
// desktop's URL handler is a stand-in, first in the player's PATH, that writes down what it is
// asked to open.
class TestUpdateEndToEnd : public QObject
{
    Q_OBJECT

    WindowManager windowManager;
    TestCertificateAuthority pki;
    FakeHttpServer server;
    QTemporaryDir desktop;
    QTemporaryDir home;

    QString opened() const
    {
        QFile file(desktop.filePath("opened"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // The player on the sample photo, once its greeting has gone, with Update chosen in its menu.
    bool checkFromMenu(PlayerProcess& player)
    {
        QProcessEnvironment environment = PlayerProcess::profile(
            home.path(), {{"application/network/caCertificates", desktop.filePath("authority.pem")}});
        environment.insert("GYRE_UPDATE_SERVER", server.baseUrl().toString());
        environment.insert("PATH", desktop.path() + ":" + environment.value("PATH"));
        return player.start({GYRE_SAMPLE_MEDIA_DIR "/sample-360-band.jpg"}, environment) &&
               SampleScene::showsPicture([&] { return player.grab(); }) && player.menuEntry("Update");
    }

    // The buttons along the popup's bottom edge, left to right: runs of pixels unlike the popup's
    // background on a line through their tops, above their labels.
    static QList<QPoint> buttons(const QImage& image)
    {
        const int y = 600 / 2 + 400 / 2 - 37;
        const QRgb background = image.pixel(310, y);
        QList<QPoint> found;
        int start = -1;
        for (int x = 310; x < 890; ++x) {
            const bool differs = image.pixel(x, y) != background;
            if (differs && start < 0) {
                start = x;
            } else if (!differs && start >= 0 && x - start > 20) {
                found.append(QPoint((start + x) / 2, y + 10));
                start = -1;
            }
        }
        return found;
    }

    // The popup's light face, 600 × 400 in the middle of the 1200 × 600 window, on the darkened
    // scene, at its full size: each edge within a few pixels of its place.
    static bool showsPopup(const QImage& image)
    {
        const auto light = [&](int x, int y) { return qGray(image.pixel(x, y)) > 200; };
        return light(600, 300) && light(302, 300) && !light(297, 300) && light(897, 300) &&
               !light(902, 300) && light(600, 102) && !light(600, 97) && light(600, 497) && !light(600, 502);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(windowManager.start(), "openbox is missing: run tools/install-deps");
        QVERIFY2(pki.create(), qPrintable(pki.error()));
        QVERIFY(server.listen(pki.serverCertificate(), pki.serverKey()));
        QFile authority(desktop.filePath("authority.pem"));
        QVERIFY(authority.open(QIODevice::WriteOnly));
        authority.write(pki.authority().toPem());
        authority.close();
        QFile handler(desktop.filePath("xdg-open"));
        QVERIFY(handler.open(QIODevice::WriteOnly));
        handler.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >>\"$(dirname \"$0\")/opened\"\n");
        handler.close();
        QVERIFY(handler.setPermissions(handler.permissions() | QFile::ExeOwner));
    }

    void newVersion()
    {
        const QString base = server.baseUrl().toString() + "hvd_zelmo/stable/";
        server.setResponse("/hvd_zelmo/stable/version", 200, "1.0.1.400_2014-06-01\n");
        server.setResponse("/hvd_zelmo/stable/changelog", 200,
                           "<p>What changed: <a href=\"http://127.0.0.1:9/notes\">release notes</a></p>");
        PlayerProcess player;
        QVERIFY2(checkFromMenu(player), qPrintable(player.output()));
        QTRY_VERIFY_WITH_TIMEOUT(
            player.output().contains("Update announced: New version available 1.0.1; A new "
                                     "version of this product has been released (" +
                                     QDate(2014, 6, 1).toString(Qt::TextDate) + ")"),
            20000);
        // A loaded machine can hand back an older frame now and then, so the picture the link and
        // the buttons are looked for on must itself show the popup, whole and still.
        QImage popup;
        QTRY_VERIFY_WITH_TIMEOUT(showsPopup(popup = player.shot("update-popup")), 20000);

        // The change log's link, in the link colour.
        QPoint link;
        int count = 0;
        const QRect changeLog(320, 170, 560, 250);
        for (int y = changeLog.top(); y <= changeLog.bottom(); ++y) {
            for (int x = changeLog.left(); x <= changeLog.right(); ++x) {
                const QRgb c = popup.pixel(x, y);
                if (qBlue(c) > 150 && qRed(c) < 100) {
                    link += QPoint(x, y);
                    ++count;
                }
            }
        }
        QVERIFY(count > 30);
        player.click(link.x() / count, link.y() / count);
        QTRY_COMPARE_WITH_TIMEOUT(opened(), QString("http://127.0.0.1:9/notes\n"), 10000);

        // Neither Escape nor a click beside it closes the popup; History and Download open their
        // pages and leave it; Close closes it.
        const QList<QPoint> row = buttons(popup);
        QCOMPARE(row.size(), 4);
        PlayerProcess::key("Escape");
        player.click(100, 100);
        player.click(row[1].x(), row[1].y());
        player.click(row[3].x(), row[3].y());
        const QString pages = "http://127.0.0.1:9/notes\n" + base + "history?src=hvd_zelmo/1.0.0.400\n" +
                              base + "linux-" + QSysInfo::currentCpuArchitecture() + "\n";
        QTRY_COMPARE_WITH_TIMEOUT(opened(), pages, 10000);
        QCOMPARE(player.later().copy(QRect(300, 100, 600, 60)), popup.copy(QRect(300, 100, 600, 60)));
        player.click(row[2].x(), row[2].y());
        QVERIFY(SampleScene::showsPicture([&] { return player.grab(); }));
        QVERIFY(!player.output().contains("Message shown:"));
    }
};

QTEST_MAIN(TestUpdateEndToEnd)
#include "tst_update_e2e.moc"
