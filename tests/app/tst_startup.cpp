#include "app/HCommandLine.h"

#include <QtTest>

// The command line, and what the player executable does before its window is usable.
class TestStartup : public QObject
{
    Q_OBJECT

private:
    static QString runXdotool(const QStringList& arguments)
    {
        QProcess xdotool;
        xdotool.start("xdotool", arguments);
        xdotool.waitForFinished(10000);
        return QString::fromLocal8Bit(xdotool.readAllStandardOutput()).trimmed();
    }

private slots:
    void badArgumentsEndTheProcess_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::addRow("unknown option") << QStringList{"--foo"} << "Unknown option 'foo'.";
        QTest::addRow("udp without its value") << QStringList{"-u"} << "Missing value after '-u'.";
        QTest::addRow("no help option") << QStringList{"--help"} << "Unknown option 'help'.";
    }
    void badArgumentsEndTheProcess()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QProcess player;
        player.start(GYRE_PLAYER_EXECUTABLE, arguments);
        QVERIFY(player.waitForFinished(20000));
        QCOMPARE(player.exitStatus(), QProcess::NormalExit);
        QVERIFY(player.exitCode() != 0);
        QVERIFY2(player.readAllStandardError().contains(message.toUtf8()), qPrintable(message));
    }

    void tooOldOpenGLIsRefusedWithAMessage()
    {
        QProcess player;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MESA_GL_VERSION_OVERRIDE", "1.4");
        player.setProcessEnvironment(env);
        player.setProcessChannelMode(QProcess::MergedChannels);
        player.start(GYRE_PLAYER_EXECUTABLE, QStringList());
        QVERIFY(player.waitForStarted());

        // The main window and then the message box, both titled with the program's name.
        QStringList windows;
        QElapsedTimer waited;
        waited.start();
        while (windows.size() < 2 && player.state() == QProcess::Running && waited.elapsed() < 30000) {
            QTest::qWait(100);
            windows = runXdotool({"search", "--onlyvisible", "--name", "^Gyre Player$"})
                          .split('\n', Qt::SkipEmptyParts);
        }
        QVERIFY2(windows.size() >= 2 && player.state() == QProcess::Running,
                 qPrintable(QString("%1 window(s); the player said:\n%2")
                                .arg(windows.size())
                                .arg(QString::fromLocal8Bit(player.readAll()))));

        runXdotool({"windowfocus", "--sync", windows.last()});
        runXdotool({"key", "--window", windows.last(), "Return"});
        QVERIFY(player.waitForFinished(20000));
        QCOMPARE(player.exitStatus(), QProcess::NormalExit);
        QCOMPARE(player.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
