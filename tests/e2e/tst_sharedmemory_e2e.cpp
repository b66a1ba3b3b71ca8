#include "PlayerProcess.h"
#include "ProcessFigures.h"
#include "render/HSharedMemorySegment.h"
#include "render/SharedMemoryLayout.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>

namespace L = SharedMemoryLayout;

namespace {

// The real frame producer on a segment of the test's own.
class Producer
{
public:
    explicit Producer(const QString& segment) : name(segment) {}
    ~Producer() { kill(); }
    bool start()
    {
        process.start(GYRE_FRAME_PRODUCER, {"--name", name, "--size", "960x240"});
        return process.waitForReadyRead(10000) && process.readLine().startsWith("ready");
    }
    void kill()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    void signal(int number) const { ::kill(pid_t(process.processId()), number); }

private:
    const QString name;
    QProcess process;
};

struct Damage
{
    qint64 offset = 0;    // random bytes from here
    qint64 length = 0;    // that many, or to the end with -1
    qint64 truncate = -1; // the size the segment is cut to, -2 for half; -1 leaves it
};

} // namespace

Q_DECLARE_METATYPE(Damage)

// The player in shared-memory mode beside the real producer: it follows a producer that is killed
// and started again, and a segment that another process breaks while the player reads it neither
// ends it nor costs it a core nor fills its log, and frames come again once the producer mends it.
class TestSharedMemoryEndToEnd : public QObject
{
    Q_OBJECT

    WindowManager windowManager;
    const QString name = QStringLiteral("gyre-e2e-%1").arg(QCoreApplication::applicationPid());
    Producer producer{name};
    QTemporaryDir home;
    PlayerProcess player;

    // Two changes of the window within `ms`: frames, and not only the message that the player
    // waits coming or going (the pattern's frame number changes with every frame).
    bool moving(int ms) const
    {
        QDeadlineTimer deadline(ms);
        QImage last = player.grab();
        for (int change = 0; change < 2; ++change) {
            if (!QTest::qWaitFor([&] { return player.grab() != last; }, int(deadline.remainingTime()))) {
                return false;
            }
            last = player.grab();
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(windowManager.start(), "openbox is missing: run tools/install-deps");
        QProcessEnvironment environment =
            PlayerProcess::profile(home.path(), {{"application/sharedmemory", true}});
        environment.insert("GYRE_SHARED_MEMORY_NAME", name);
        QVERIFY(player.start({}, environment));
        PlayerProcess::xdotool({"windowsize", "--sync", QString::number(player.window()), "640", "360"});
        QVERIFY(producer.start());
        QVERIFY2(moving(10000), qPrintable(player.output()));
    }

    void cleanupTestCase() { HSharedMemorySegment::remove(name); }

    void followsRestartedProducer()
    {
        for (int round = 0; round < 5; ++round) {
            producer.kill();
            QVERIFY(producer.start());
            // The window says it waits only after 3 s without a frame: a change sooner is frames.
            QVERIFY2(moving(2000), qPrintable(QStringLiteral("round %1").arg(round)));
        }
    }

    void hostileSegmentIsSurvived_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addRow("random header") << Damage{0, 16384, -1};
        QTest::addRow("random slot table") << Damage{L::slotTableOffset, 3 * L::slotDescriptorSize, -1};
        QTest::addRow("random pixels") << Damage{4096, -1, -1};
        QTest::addRow("truncated to 0") << Damage{0, 0, 0};
        QTest::addRow("truncated to 100") << Damage{0, 0, 100};
        QTest::addRow("truncated to 4096") << Damage{0, 0, 4096};
        QTest::addRow("truncated to half") << Damage{0, 0, -2};
    }
    void hostileSegmentIsSurvived()
    {
        QFETCH(Damage, damage);
        const qint64 pid = player.process().processId();
        // The producer stands still while the segment is broken, so the player meets it alone.
        producer.signal(SIGSTOP);
        QTest::qWait(300);
        double cpu = ProcessFigures::cpuMilliseconds(pid);
        QTest::qWait(1000);
        const double idle = ProcessFigures::cpuMilliseconds(pid) - cpu;

        player.output();
        const int linesBefore = player.output().count('\n');
        HSharedMemorySegment segment(name);
        QVERIFY(segment.open());
        uchar* base = segment.data();
        const qint64 end = damage.length < 0 ? segment.size() : damage.offset + damage.length;
        for (qint64 at = damage.offset; at < std::min(end, segment.size()); ++at) {
            base[at] = uchar(QRandomGenerator::global()->generate());
        }
        if (damage.truncate != -1) {
            // A header that looks sound, with every slot marked ready and pointing where the
            // segment no longer reaches.
            for (int slot = 0; slot < L::read<quint16>(base, L::slotCountOffset); ++slot) {
                L::write<quint16>(base, L::slotDescriptor(slot) + L::frameReadyOffset, 1);
            }
            const qint64 size = damage.truncate == -2 ? segment.size() / 2 : damage.truncate;
            segment.close();
            QVERIFY(QFile::resize("/dev/shm/" + name, size));
        }
        segment.close();

        QTest::qWait(5000);
        cpu = ProcessFigures::cpuMilliseconds(pid);
        QTest::qWait(1000);
        const double broken = ProcessFigures::cpuMilliseconds(pid) - cpu;
        QVERIFY2(player.process().state() == QProcess::Running, qPrintable(player.output()));
        // A tenth of a core above what it costs waiting for a producer that stands still.
        QVERIFY2(broken < idle + 100, qPrintable(QStringLiteral("%1 ms against %2").arg(broken).arg(idle)));
        const int lines = player.output().count('\n') - linesBefore;
        QVERIFY2(lines <= 5, qPrintable(player.output().section('\n', -lines - 1)));

        // Going on, the producer writes its header again or makes its segment anew.
        producer.signal(SIGCONT);
        QVERIFY2(moving(3000), qPrintable(player.output().section('\n', -10)));
    }
};

QTEST_MAIN(TestSharedMemoryEndToEnd)
#include "tst_sharedmemory_e2e.moc"
