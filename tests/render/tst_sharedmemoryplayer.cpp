#include "SharedMemoryTestSupport.h"
#include "base/ProductInfo.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

using namespace SharedMemoryTestSupport;

// The player itself in shared-memory mode, started before the producer, as a user runs the two side
// by side. The segment has the program's own name here: the program knows no other.
class TestSharedMemoryPlayer : public QObject
{
    Q_OBJECT

private:
    QString window;

    QImage grab() const
    {
        return QGuiApplication::primaryScreen()
            ->grabWindow(WId(window.toULongLong()))
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // The share of pixels with a clear hue, and with the other picture, of pixels that differ.
    static double share(const QImage& image, const QImage& other = QImage())
    {
        int counted = 0;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            const QRgb* otherLine =
                other.isNull() ? nullptr : reinterpret_cast<const QRgb*>(other.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = line[x];
                if (otherLine) {
                    const QRgb q = otherLine[x];
                    counted += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                                   std::abs(qBlue(p) - qBlue(q)) >
                               60;
                } else {
                    counted +=
                        std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)}) >
                        80;
                }
            }
        }
        return double(counted) / (double(image.width()) * image.height());
    }

private slots:
    void producerPatternIsShownAndMoves()
    {
        HSharedMemorySegment::remove(QString::fromLatin1(L::segmentName)); // one a crashed run left
        QSettings(ProductInfo::organizationName(), ProductInfo::settingsApplicationName())
            .setValue("application/sharedmemory", true);

        QProcess player;
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
        // The view is there at once, with nothing to show yet.
        QTest::qWait(1500);
        QVERIFY(share(grab()) < 0.01);

        Producer producer;
        QVERIFY(producer.start(QString::fromLatin1(L::segmentName), {"--size", "1440x240", "--rate", "30"}));
        QTRY_VERIFY_WITH_TIMEOUT(share(grab()) > 0.5, 15000);
        const QImage before = grab();
        QTest::qWait(700);
        const QImage after = grab();
        // The frame number under the letter changes; the ball may be elsewhere.
        QVERIFY2(share(after, before) > 0.001, qPrintable(QString::number(share(after, before))));
        QVERIFY(share(after) > 0.5);
        QCOMPARE(producer.lines("viewer closed"), 0);
        player.kill();
        player.waitForFinished(5000);
    }
};

QTEST_MAIN(TestSharedMemoryPlayer)
#include "tst_sharedmemoryplayer.moc"
