#include "FakeHttpServer.h"
#include "base/HSettingsManager.h"
#include "net/HUpdateManager.h"

#include <QtTest>

// A check the user asked for, against an update server of our own on 127.0.0.1: it always ends in
// one answer, newer, up to date or failed with a reason, within its timeout; versions are ordered
// as numbers, across the stable and beta channels and by build number.
class TestUpdateManager : public QObject
{
    Q_OBJECT

private slots:
    void manualCheckEnds_data()
    {
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QByteArray>("stable"); // "stall": no answer; "404": not found
        QTest::addColumn<QByteArray>("beta");   // asked for by pre-release builds only
        QTest::addColumn<QString>("expected");  // the newer version's text, "latest", or the reason
        QTest::addRow("newer") << "1.0.0.400" << QByteArray("1.0.1.400_2014-06-01") << QByteArray()
                               << "1.0.1.400";
        QTest::addRow("same") << "1.0.0.400" << QByteArray("1.0.0.400_2014-06-01") << QByteArray()
                              << "latest";
        QTest::addRow("older") << "1.0.0.400" << QByteArray("0.9.9.400_2014-06-01") << QByteArray()
                               << "latest";
        QTest::addRow("1.0.10 beta over 1.0.9 stable") << "1.0.0.203" << QByteArray("1.0.9.400_2014-06-01")
                                                       << QByteArray("1.0.10.201_2014-06-02") << "1.0.10.201";
        QTest::addRow("1.0.10 stable over 1.0.9 beta") << "1.0.0.203" << QByteArray("1.0.10.400_2014-06-01")
                                                       << QByteArray("1.0.9.299_2014-06-02") << "1.0.10.400";
        QTest::addRow("build number")
            << "1.0.0.400" << QByteArray("1.0.0.1000_2014-06-01") << QByteArray() << "1.0.0.1000";
        QTest::addRow("404") << "1.0.0.400" << QByteArray("404") << QByteArray() << "answered 404";
        QTest::addRow("garbage") << "1.0.0.400" << QByteArray("\x89PNG\r\n\x1a\n\xff\xfe", 10) << QByteArray()
                                 << "holds no version";
        QTest::addRow("three parts") << "1.0.0.400" << QByteArray("1.0.1_2014-06-01") << QByteArray()
                                     << "holds no version";
        QTest::addRow("oversized") << "1.0.0.400" << QByteArray(10 << 20, '7') << QByteArray()
                                   << "larger than 64 KB";
        QTest::addRow("stall") << "1.0.0.400" << QByteArray("stall") << QByteArray()
                               << "did not answer within 2 s";
    }
    void manualCheckEnds()
    {
        QFETCH(QString, installed);
        QFETCH(QByteArray, stable);
        QFETCH(QByteArray, beta);
        QFETCH(QString, expected);
        FakeHttpServer server;
        QVERIFY(server.listen());
        const auto serve = [&](const QString& channel, const QByteArray& answer) {
            const QString path = "/p/" + channel + "/version";
            if (answer == "stall") {
                server.hold(path);
            } else if (answer != "404") {
                server.setResponse(path, 200, answer);
            }
        };
        serve("stable", stable);
        serve("beta", beta);
        server.setResponse("/p/stable/changelog", 200, "<p>Notes</p>");
        server.setResponse("/p/beta/changelog", 200, "<p>Notes</p>");
        HSettingsManager settings(QSettings::UserScope, "gyre-test", "update");
        settings.setValue("application/update/timeout", 2);
        HUpdateManager checker(&settings, server.baseUrl().toString());
        checker.initialize("p", installed, QString());
        QSignalSpy newer(&checker, &HUpdateManager::NewVersionAvailable);
        QSignalSpy latest(&checker, &HUpdateManager::AlreadyLatestVersion);
        QSignalSpy failed(&checker, &HUpdateManager::CheckFailed);

        QElapsedTimer clock;
        clock.start();
        checker.requestCheck(true);
        QTRY_COMPARE_WITH_TIMEOUT(newer.size() + latest.size() + failed.size(), 1, 4000);
        QVERIFY(clock.elapsed() < 4000);
        if (!newer.isEmpty()) {
            QCOMPARE(checker.latestVersion().text(), expected);
            QCOMPARE(checker.changeLog(), QString("<p>Notes</p>"));
        } else if (!latest.isEmpty()) {
            QCOMPARE(QString("latest"), expected);
        } else {
            QVERIFY2(failed.at(0).at(0).toString().contains(expected),
                     qPrintable(failed.at(0).at(0).toString()));
        }
        QTest::qWait(100);
        QCOMPARE(newer.size() + latest.size() + failed.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestUpdateManager)
#include "tst_updatemanager.moc"
