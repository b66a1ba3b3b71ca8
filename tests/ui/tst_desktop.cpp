#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "PlayerProcess.h"

// The program as a desktop user meets it, in the real window: in the user's language, and back
// where the user left a video even after the program was killed.
class TestDesktop : public QObject
{
    Q_OBJECT

    WindowManager windowManager;

    // The greeting swallows keys until it has closed itself, which the log tells.
    static bool keysReach(PlayerProcess& player)
    {
        const bool closed = QTest::qWaitFor([&] { return player.output().contains("Popup closed"); }, 30000);
        QTest::qWait(500);
        return closed;
    }

    // The positions the store wrote down, in the order it did.
    static QList<int> remembered(PlayerProcess& player)
    {
        QList<int> positions;
        static const QRegularExpression line("remembered \\S+ at (\\d+) ms");
        for (auto match = line.globalMatch(player.output()); match.hasNext();) {
            positions.append(match.next().captured(1).toInt());
        }
        return positions;
    }

private slots:
    void initTestCase() { QVERIFY2(windowManager.start(), "openbox is missing: run tools/install-deps"); }

    // The menu entry is found by the width of its label, so an English menu has no German entry.
    void menuSpeaksTheLanguage_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("loaded");
        QTest::addRow("chosen in the settings") << "de"
                                                << "C"
                                                << "Haftungsausschluss"
                                                << "catalogue de";
        QTest::addRow("the system's locale") << ""
                                             << "de_DE.UTF-8"
                                             << "Haftungsausschluss"
                                             << "catalogue de";
        QTest::addRow("English") << ""
                                 << "C"
                                 << "Disclaimer"
                                 << "English originals";
    }

    void menuSpeaksTheLanguage()
    {
        QFETCH(QString, setting);
        QFETCH(QString, lang);
        QFETCH(QString, entry);
        QFETCH(QString, loaded);
        QTemporaryDir home;
        QVariantMap settings;
        if (!setting.isEmpty()) {
            settings.insert("application/language", setting);
        }
        QProcessEnvironment environment = PlayerProcess::profile(home.path(), settings);
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
            environment.remove(name);
        }
        environment.insert("LANG", lang);
        PlayerProcess player;
        QVERIFY(player.start({GYRE_TEST_MEDIA_DIR "/photo-2000x1000.jpg"}, environment));
        QVERIFY2(keysReach(player), qPrintable(player.output()));
        QVERIFY2(player.output().contains(loaded), qPrintable(player.output()));
        QVERIFY2(player.menuEntry(entry), qPrintable(player.output()));
        QTRY_VERIFY_WITH_TIMEOUT(
            player.output().contains("Popup requested: qrc:/qml/popup/PopupAboutThirdParty.qml"), 10000);
    }

    // Killed a second after a seek, the program comes back on the same file close to where it was.
    void resumesAfterAKill()
    {
        QTemporaryDir home;
        QProcessEnvironment environment = PlayerProcess::profile(home.path(), {});
        environment.insert("QT_LOGGING_RULES", "gyre.session.debug=true");
        const QString clip = GYRE_TEST_MEDIA_DIR "/clip-640x320-30s.mp4";
        int killedAt = 0;
        {
            PlayerProcess player;
            QVERIFY(player.start({clip}, environment));
            QVERIFY2(keysReach(player), qPrintable(player.output()));
            PlayerProcess::key("space");
            PlayerProcess::key("ctrl+Right ctrl+Right ctrl+Right ctrl+Right ctrl+Right ctrl+Right ctrl+Right "
                               "ctrl+Right ctrl+Right ctrl+Right ctrl+Right ctrl+Right");
            // The jumps land one by one, later on a busy machine: the position has landed once it
            // moves on at the pace of playing (a write every 400 ms), not by a jump.
            const auto landedAt = [&] {
                const QList<int> written = remembered(player);
                const int n = written.size();
                return n >= 2 && written[n - 1] >= 10000 && written[n - 1] - written[n - 2] < 700
                           ? written[n - 1]
                           : 0;
            };
            QTRY_VERIFY_WITH_TIMEOUT(landedAt() > 0, 20000);
            const int landed = landedAt();
            QTest::qWait(1000);
            player.process().kill();
            player.process().waitForFinished(5000);
            killedAt = landed + 1000;
        }
        PlayerProcess again;
        QVERIFY(again.start({clip}, environment));
        static const QRegularExpression resumed("resumed \\S+ at (\\d+) ms");
        QRegularExpressionMatch match;
        QTRY_VERIFY_WITH_TIMEOUT((match = resumed.match(again.output())).hasMatch(), 20000);
        const int position = match.captured(1).toInt();
        QVERIFY2(std::abs(position - killedAt) <= 1500,
                 qPrintable(QString("resumed at %1 ms, killed near %2 ms").arg(position).arg(killedAt)));
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
