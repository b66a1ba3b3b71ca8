#include "SharedMemoryTestSupport.h"
#include "app/ProductInfo.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

using namespace SharedMemoryTestSupport;

// The player itself in shared-memory mode, started before the producer, as a user would run the
// two side by side. The segment has the program's own name here: the program has no other.
class TestSharedMemoryPlayer : public QObject
{
    Q_OBJECT

private:
    QProcess player;
    Producer producer;
    QString window;

    struct Colours
    {
        double colourful = 0; // share of pixels with a clear hue
        double dark = 0;      // share of pixels darker than 40 in every channel
    };

    static Colours colours(const QImage& image)
    {
        Colours c;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int high = std::max({qRed(line[x]), qGreen(line[x]), qBlue(line[x])});
                const int low = std::min({qRed(line[x]), qGreen(line[x]), qBlue(line[x])});
                c.colourful += high - low > 80 ? 1 : 0;
                c.dark += high < 40 ? 1 : 0;
            }
        }
        const double pixels = double(image.width()) * image.height();
        return {c.colourful / pixels, c.dark / pixels};
    }

    static int changedPixels(const QImage& a, const QImage& b)
    {
        int changed = 0;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                changed += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                                       std::abs(qBlue(p) - qBlue(q)) >
                                   60
                               ? 1
                               : 0;
            }
        }
        return changed;
    }

    QImage grab() const
    {
        return QGuiApplication::primaryScreen()
            ->grabWindow(WId(window.toULongLong()))
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void initTestCase()
    {
        HSharedMemorySegment::remove(QString::fromLatin1(L::segmentName));
        QSettings settings(ProductInfo::organizationName(), ProductInfo::settingsApplicationName());
        settings.setValue("application/sharedmemory", true);
        settings.sync();
    }

    void cleanupTestCase()
    {
        player.kill();
        player.waitForFinished(5000);
        HSharedMemorySegment::remove(QString::fromLatin1(L::segmentName));
    }

    void playerWaitsForTheProducer()
    {
        player.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        player.start(GYRE_PLAYER_EXECUTABLE, QStringList());
        QVERIFY(QTest::qWaitFor(
            [this] {
                QProcess search;
                search.start("xdotool", {"search", "--onlyvisible", "--name", "^Gyre Player$"});
                search.waitForFinished(5000);
                window = QString::fromLatin1(search.readAllStandardOutput()).section('\n', 0, 0).trimmed();
                return !window.isEmpty();
            },
            30000));
        // Shown at once, with nothing to show yet.
        QTRY_VERIFY_WITH_TIMEOUT(colours(grab()).dark > 0.9, 10000);
        QTest::qWait(500);
        QVERIFY(colours(grab()).colourful < 0.01);
    }

    void producerPatternIsShownAndMoves()
    {
        QVERIFY(producer.start(QString::fromLatin1(L::segmentName), {"--size", "1440x240", "--rate", "30"}));
        QTRY_VERIFY_WITH_TIMEOUT(colours(grab()).colourful > 0.5, 15000);
        const QImage before = grab();
        QTest::qWait(700);
        const QImage after = grab();
        // The frame numbers change under the letters; the ball may be elsewhere.
        QVERIFY2(changedPixels(before, after) > 300,
                 qPrintable(QString::number(changedPixels(before, after))));
        QVERIFY(colours(after).colourful > 0.5);
        QCOMPARE(producer.lines("viewer closed"), 0);
    }
};

QTEST_MAIN(TestSharedMemoryPlayer)
#include "tst_sharedmemoryplayer.moc"
