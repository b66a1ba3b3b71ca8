#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QtTest>

#include <csignal>

// The settings file after a kill: a program that saves its settings over and over is killed with
// SIGKILL at random moments, 200 times; each time the file must read back whole, with every key of
// one round, no older than the round before the kill.
class TestSettingsKill : public QObject
{
    Q_OBJECT

private slots:
    void killedWhileSavingLosesNothing()
    {
        QRandomGenerator random(25);
        int round = 0;
        for (int run = 0; run < 200; ++run) {
            QProcess writer;
            writer.start(GYRE_SETTINGS_WRITER, QStringList());
            QVERIFY(writer.waitForStarted());
            // Killed once it is saving, at any moment of the rounds that follow.
            // A lock left by the kill before must not hold it up (Qt would wait 30 s on it).
            QVERIFY2(writer.waitForReadyRead(5000), qPrintable(QString("run %1: no save in 5 s").arg(run)));
            QThread::usleep(random.bounded(30000));
            ::kill(pid_t(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished());

            QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Zelmo",
                               "Gyre Player kill test");
            QCOMPARE(settings.status(), QSettings::NoError);
            const int now = settings.value("round", 0).toInt();
            QVERIFY2(now >= round,
                     qPrintable(QString("run %1: round %2 after %3").arg(run).arg(now).arg(round)));
            QVERIFY(now > 0);
            for (int key = 0; key < 10; ++key) {
                QCOMPARE(settings.value(QString("keys/k%1").arg(key)).toInt(), now);
            }
            QCOMPARE(settings.value("resume/media").toString(), QString(60000, QChar('a' + now % 26)));
            round = now;
        }
        qInfo() << "last round" << round;
    }
};

QTEST_MAIN(TestSettingsKill)
#include "tst_settingskill.moc"
