#include "FakeHttpServer.h"
#include "base/HSettingsManager.h"
#include "base/ProductInfo.h"
#include "net/HUpdateManager.h"

#include <QUrlQuery>
#include <QtTest>

#include <memory>

namespace {
const QString stablePath = "/hvd_zelmo/stable/version";
const QString betaPath = "/hvd_zelmo/beta/version";
const QString stableLog = "/hvd_zelmo/stable/changelog";
const QString betaLog = "/hvd_zelmo/beta/changelog";
const QString lastCheckKey = "general/last_update_check";

struct Answer
{
    int status = 404;
    QByteArray body;
};
} // namespace
Q_DECLARE_METATYPE(Answer)

class TestUpdateManager : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<HSettingsManager> settings;
    std::unique_ptr<FakeHttpServer> server;

    std::unique_ptr<HUpdateManager> makeChecker(const QString& version, const QString& userData = QString())
    {
        auto checker = std::make_unique<HUpdateManager>(settings.get(), server->baseUrl().toString());
        checker->initialize("hvd_zelmo", version, userData);
        return checker;
    }
    // Long enough for any stray request or signal of a finished check to show.
    static void settle() { QTest::qWait(150); }

private slots:
    void init()
    {
        QSettings(QSettings::UserScope, ProductInfo::organizationName(),
                  ProductInfo::settingsApplicationName())
            .clear();
        settings = std::make_unique<HSettingsManager>(QSettings::UserScope, ProductInfo::organizationName(),
                                                      ProductInfo::settingsApplicationName());
        server = std::make_unique<FakeHttpServer>();
        QVERIFY(server->listen());
        server->setResponse(stableLog, 200, "<p>Stable <b>changes</b></p>\n");
        server->setResponse(betaLog, 200, "<p>Beta changes</p>");
    }

    void check_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("manual");
        QTest::addColumn<Answer>("stable");
        QTest::addColumn<Answer>("beta");
        QTest::addColumn<int>("changelogStatus");
        QTest::addColumn<QString>("outcome"); // "new", "latest" or "none"
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("announced"); // display form and date
        const auto row = [](const char* name, const char* current, bool manual, Answer stable, Answer beta,
                            int changelogStatus, const char* outcome, const char* channel = "",
                            const char* announced = "") {
            QTest::newRow(name) << QString(current) << manual << stable << beta << changelogStatus
                                << QString(outcome) << QString(channel) << QString(announced);
        };
        const Answer none;
        const Answer equal{200, "1.0.0.400_2014-01-01"};
        const Answer beta1{200, "1.0.1.201_2014-06-01"};
        row("newer stable, manual", "1.0.0.400", true, {200, "1.0.1.400_2014-06-01\n"}, none, 200, "new",
            "stable", "1.0.1 2014-06-01");
        row("newer stable, automatic", "1.0.0.400", false, {200, "1.0.1.400_2014-06-01"}, none, 200, "new",
            "stable", "1.0.1 2014-06-01");
        row("equal, manual", "1.0.0.400", true, equal, none, 200, "latest");
        row("equal, automatic", "1.0.0.400", false, equal, none, 200, "none");
        row("older answer, manual", "1.0.1.400", true, equal, none, 200, "latest");
        row("greater beta text wins", "1.0.0.150", true, equal, beta1, 200, "new", "beta",
            "1.0.1 Beta 1 2014-06-01");
        row("greater stable text wins", "1.0.0.203", true, {200, "1.0.2.400_2014-07-01"}, beta1, 200, "new",
            "stable", "1.0.2 2014-07-01");
        row("stable fails: no evaluation", "1.0.0.203", true, {500, "oops"}, beta1, 200, "none");
        row("change log fails: never announced", "1.0.0.400", true, {200, "1.0.1.400_2014-06-01"}, none, 500,
            "none");
        row("answer without a version", "1.0.0.400", true, {200, "under maintenance"}, none, 200, "none");
        row("only the beta answer has a version", "1.0.0.203", true, {200, "<html>busy</html>"},
            {200, "1.0.0.204_2014-06-01"}, 200, "new", "beta", "1.0.0 Beta 4 2014-06-01");
    }
    void check()
    {
        QFETCH(QString, current);
        QFETCH(bool, manual);
        QFETCH(Answer, stable);
        QFETCH(Answer, beta);
        QFETCH(int, changelogStatus);
        QFETCH(QString, outcome);
        QFETCH(QString, channel);
        QFETCH(QString, announced);

        server->setResponse(stablePath, stable.status, stable.body);
        server->setResponse(betaPath, beta.status, beta.body);
        if (changelogStatus != 200) {
            server->setResponse(stableLog, changelogStatus, "gone");
        }
        const bool betaAsked = !current.endsWith(".400");

        auto checker = makeChecker(current);
        QSignalSpy newVersion(checker.get(), &HUpdateManager::NewVersionAvailable);
        QSignalSpy latest(checker.get(), &HUpdateManager::AlreadyLatestVersion);
        checker->requestCheck(manual);

        QTRY_COMPARE(server->requestsTo(stablePath).size(), 1);
        if (outcome == "new") {
            QTRY_COMPARE(newVersion.size(), 1);
        }
        settle();
        QCOMPARE(newVersion.size(), outcome == "new" ? 1 : 0);
        QCOMPARE(latest.size(), outcome == "latest" ? 1 : 0);
        QCOMPARE(server->requestsTo(betaPath).size(), betaAsked ? 1 : 0);
        const QUrlQuery query(server->requestsTo(stablePath).first());
        QCOMPARE(query.queryItemValue("src", QUrl::FullyDecoded), "hvd_zelmo/" + current);

        // Any successful version answer records the check.
        const bool anyAnswer = stable.status == 200 || (betaAsked && beta.status == 200);
        QCOMPARE(settings->contains(lastCheckKey), anyAnswer);
        if (anyAnswer) {
            QVERIFY(qAbs(settings->getDateTime(lastCheckKey).secsTo(QDateTime::currentDateTime())) < 60);
        }

        if (outcome == "new") {
            const QString base = server->baseUrl().toString() + "hvd_zelmo/" + channel + "/";
            QCOMPARE(server->requestsTo("/hvd_zelmo/" + channel + "/changelog").size(), 1);
            QCOMPARE(checker->latestVersion().displayString() + ' ' +
                         checker->latestVersionDate().toString(Qt::ISODate),
                     announced);
            QCOMPARE(checker->changeLog(),
                     QString(channel == "stable" ? "<p>Stable <b>changes</b></p>" : "<p>Beta changes</p>"));
            QVERIFY(checker->downloadUrl().startsWith(base));
            QCOMPARE(checker->historyUrl(), base + "history?src=hvd_zelmo/" + current);
        }
    }

    void evaluationWaitsForBothChannels()
    {
        server->setResponse(stablePath, 200, "1.0.0.400_2014-01-01");
        server->setResponse(betaPath, 200, "1.0.1.201_2014-06-01");
        server->hold(betaPath);
        auto checker = makeChecker("1.0.0.150");
        QSignalSpy announced(checker.get(), &HUpdateManager::NewVersionAvailable);
        checker->requestCheck(true);

        QTRY_COMPARE(server->requestsTo(betaPath).size(), 1);
        QTRY_VERIFY(settings->contains(lastCheckKey)); // the stable answer was handled
        settle();
        QVERIFY(server->requestsTo(stableLog).isEmpty());
        QVERIFY(server->requestsTo(betaLog).isEmpty());

        server->release(betaPath);
        QTRY_COMPARE(announced.size(), 1);
        QCOMPARE(server->requestsTo(betaLog).size(), 1);
    }

    void automaticCheck_data()
    {
        QTest::addColumn<int>("daysAgo"); // -1: never checked
        QTest::addColumn<bool>("checks");
        QTest::addRow("never checked") << -1 << false;
        QTest::addRow("six days ago") << 6 << false;
        QTest::addRow("eight days ago") << 8 << true;
    }
    void automaticCheck()
    {
        QFETCH(int, daysAgo);
        QFETCH(bool, checks);
        if (daysAgo >= 0) {
            settings->setValue(lastCheckKey, QDateTime::currentDateTime().addDays(-daysAgo));
        }
        server->setResponse(stablePath, 200, "1.0.0.400_2014-01-01");
        auto checker = makeChecker("1.0.0.400");
        QSignalSpy latest(checker.get(), &HUpdateManager::AlreadyLatestVersion);
        if (checks) {
            QTRY_COMPARE(server->requestsTo(stablePath).size(), 1);
        }
        settle();
        QCOMPARE(server->requestsTo(stablePath).size(), checks ? 1 : 0);
        QCOMPARE(latest.size(), 0); // an automatic check never says "no update"
    }

    void secondRequestWhileStartingDoesNothing()
    {
        server->setResponse(stablePath, 200, "1.0.0.400_2014-01-01");
        auto checker = makeChecker("1.0.0.400");
        QSignalSpy latest(checker.get(), &HUpdateManager::AlreadyLatestVersion);
        checker->requestCheck(true);
        if (!checker->isRunning()) {
            QSKIP("The check's thread finished before the second request could be made");
        }
        checker->requestCheck(false);
        QTRY_COMPARE(latest.size(), 1); // still the manual check
        settle();
        QCOMPARE(server->requestsTo(stablePath).size(), 1);
    }

    void userDataIsSentOnceOnTheStableChannel()
    {
        server->setResponse(stablePath, 200, "1.0.0.203_2014-01-01");
        server->setResponse(betaPath, 200, "1.0.0.203_2014-01-01");
        auto checker = makeChecker("1.0.0.203", "seat=7&room=b");
        QSignalSpy cleared(checker.get(), &HUpdateManager::ClearUserData);
        QSignalSpy latest(checker.get(), &HUpdateManager::AlreadyLatestVersion);

        checker->requestCheck(true);
        QTRY_COMPARE(latest.size(), 1);
        QCOMPARE(cleared.size(), 1);
        QCOMPARE(QUrlQuery(server->requestsTo(stablePath).at(0)).queryItemValue("data", QUrl::FullyDecoded),
                 QString("seat=7&room=b"));
        QVERIFY(!QUrlQuery(server->requestsTo(betaPath).at(0)).hasQueryItem("data"));

        QTRY_VERIFY(!checker->isRunning());
        checker->requestCheck(true);
        QTRY_COMPARE(latest.size(), 2);
        QVERIFY(!QUrlQuery(server->requestsTo(stablePath).at(1)).hasQueryItem("data"));
        QCOMPARE(cleared.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestUpdateManager)
#include "tst_updatemanager.moc"
