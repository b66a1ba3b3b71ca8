#include "base/HSettingsManager.h"
#include "session/HPlaylist.h"

#include <QtTest>

// A playlist whose entries fail: it moves on past each after a pause, to entries not yet failed,
// and comes to rest once every entry has failed instead of opening them again and again.
class TestPlaylist : public QObject
{
    Q_OBJECT

private slots:
    void failedEntriesAreLeftBehind_data()
    {
        QTest::addColumn<QString>("fails"); // per entry: F fails when shown, - plays
        QTest::addColumn<QString>("shown"); // the entries shown, in order, by index
        QTest::addRow("on to the first good entry") << "FF-"
                                                    << "012";
        QTest::addRow("a good first entry stays") << "-FF"
                                                  << "0";
        QTest::addRow("every entry failed: rest") << "FFF"
                                                  << "012";
    }

    void failedEntriesAreLeftBehind()
    {
        QFETCH(QString, fails);
        QFETCH(QString, shown);
        HSettingsManager settings(QSettings::UserScope, "GyreTest", "playlist");
        HPlaylist playlist(&settings);
        QList<QUrl> entries;
        for (int i = 0; i < fails.size(); ++i) {
            entries.append(QUrl::fromLocalFile(QString("/media/%1.mp4").arg(i)));
        }
        QString opened;
        connect(&playlist, &HPlaylist::mediaRequested, this, [&](const QVariant& url) {
            const int index = entries.indexOf(url.toUrl());
            opened += QString::number(index);
            if (fails.at(index) == 'F') {
                QMetaObject::invokeMethod(&playlist, &HPlaylist::entryFailed, Qt::QueuedConnection);
            }
        });
        playlist.open(entries, true);
        // Each failure is shown for a moment before the list moves on; then nothing more opens.
        QTRY_COMPARE_WITH_TIMEOUT(opened, shown, 10000);
        QTest::qWait(3000);
        QCOMPARE(opened, shown);
        QCOMPARE(playlist.allFailed(), !fails.contains('-'));
    }
};

QTEST_MAIN(TestPlaylist)
#include "tst_playlist.moc"
