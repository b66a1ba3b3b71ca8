#include "VlcTestSupport.h"

#include <QProcess>
#include <QQuickWindow>
#include <QtTest>

// The libvlc video item in a window: what it draws must be the decoder's picture, pixel for pixel.
// References come from ffmpeg's own decode of the same media.
class TestVlcVideoPlayerGl : public QObject
{
    Q_OBJECT

private:
    // Decoded pictures as packed RGB; input is a file or a lavfi source.
    static QByteArray ffmpegFrames(const QStringList& input, const QStringList& filter)
    {
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", QStringList{"-v", "error", "-nostdin"} + input + filter +
                                   QStringList{"-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
        if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) {
            qWarning() << "ffmpeg:" << ffmpeg.readAllStandardError();
            return {};
        }
        return ffmpeg.readAllStandardOutput();
    }

    // Mean absolute difference per channel, 0..255.
    static double meanAbsoluteError(const QImage& image, const QByteArray& rgb)
    {
        const QImage picture = image.convertToFormat(QImage::Format_RGB888);
        const int rowBytes = picture.width() * 3;
        if (rgb.size() != rowBytes * picture.height()) {
            return 255;
        }
        qint64 sum = 0;
        for (int y = 0; y < picture.height(); ++y) {
            const uchar* row = picture.constScanLine(y);
            const uchar* reference = reinterpret_cast<const uchar*>(rgb.constData()) + qint64(y) * rowBytes;
            for (int x = 0; x < rowBytes; ++x) {
                sum += qAbs(int(row[x]) - int(reference[x]));
            }
        }
        return double(sum) / (double(rowBytes) * picture.height());
    }

    // Waits until the paused player has put its last picture on screen, then grabs it.
    static QImage grabPausedPicture(QQuickWindow& window, Player& player)
    {
        int uploaded = -1;
        for (int i = 0; i < 25 && player.getFramesUploaded() != uploaded; ++i) {
            uploaded = player.getFramesUploaded();
            QTest::qWait(200);
        }
        QSignalSpy swapped(&window, &QQuickWindow::frameSwapped);
        window.update();
        swapped.wait(5000);
        return window.grabWindow().copy(0, 0, int(player.width()), int(player.height()));
    }

    void showPlayer(QQuickWindow& window, Player& player, const QSize& size)
    {
        window.resize(size);
        player.setParentItem(window.contentItem());
        player.setNativeSize(true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

private slots:
    void drawnFrameIsTheDecodedFrame()
    {
        QQuickWindow window;
        Player player;
        PlayerLog log(&player);
        showPlayer(window, player, QSize(1920, 960));
        const QUrl clip = mediaUrl("clip-1920x960.mp4");
        player.openFile(clip);
        QVERIFY(log.waitForState(Player::Playing));
        QVERIFY(QTest::qWaitFor([&] { return player.getFramesUploaded() >= 10; }, playTimeout));
        player.pause();
        QVERIFY(log.waitForState(Player::Paused));
        const QImage drawn = grabPausedPicture(window, player);
        QCOMPARE(drawn.size(), QSize(1920, 960));

        // Which frame is it? Compare small copies with every frame of the clip, then the whole one.
        const QSize thumb(96, 48);
        const QStringList input{"-i", clip.toLocalFile()};
        const QByteArray thumbs = ffmpegFrames(input, {"-vf", "scale=96:48:flags=area"});
        const int thumbBytes = thumb.width() * thumb.height() * 3;
        QCOMPARE(thumbs.size(), 150 * thumbBytes);
        const QImage drawnThumb = drawn.scaled(thumb, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        int best = -1;
        double bestError = 256;
        for (int n = 0; n < 150; ++n) {
            const double error = meanAbsoluteError(drawnThumb, thumbs.mid(n * thumbBytes, thumbBytes));
            if (error < bestError) {
                bestError = error;
                best = n;
            }
        }
        const QByteArray reference =
            ffmpegFrames(input, {"-vf", QString("select=eq(n\\,%1)").arg(best), "-frames:v", "1"});
        const double error = meanAbsoluteError(drawn, reference);
        qInfo("frame %d, mean error %.3f", best, error);
        QVERIFY2(error <= 3.0, qPrintable(QString("frame %1: mean error %2").arg(best).arg(error)));
        QVERIFY(!log.offGuiThread);

        // Every picture handed over was either uploaded or overwritten before a paint got to it.
        const int unaccounted =
            player.getFramesDecoded() - player.getFramesUploaded() - player.getFramesLost();
        QVERIFY(unaccounted == 0 || unaccounted == 1);
    }

    void newPictureSizeGetsNewTexture()
    {
        QQuickWindow window;
        Player player;
        PlayerLog log(&player);
        showPlayer(window, player, QSize(1000, 500));
        const QUrl clip = mediaUrl("size-change.ts");
        player.openFile(clip);
        QVERIFY(log.waitForState(Player::Playing));
        QTRY_VERIFY_WITH_TIMEOUT(player.width() >= 960, playTimeout);
        const int uploadedBefore = player.getFramesUploaded();
        QVERIFY(
            QTest::qWaitFor([&] { return player.getFramesUploaded() >= uploadedBefore + 5; }, playTimeout));
        player.pause();
        QVERIFY(log.waitForState(Player::Paused));
        const QImage drawn = grabPausedPicture(window, player);

        // The second part shows still colour bars, so the reference is the bars themselves, through
        // the same 4:2:0 sampling, at the size libvlc chose.
        const QByteArray reference =
            ffmpegFrames({"-f", "lavfi", "-i", "smptebars=size=960x480:rate=30"},
                         {"-vf", QString("format=yuv420p,scale=%1:%2").arg(drawn.width()).arg(drawn.height()),
                          "-frames:v", "1"});
        const double error = meanAbsoluteError(drawn, reference);
        qInfo("bars at %dx%d, mean error %.3f", drawn.width(), drawn.height(), error);
        QVERIFY2(
            error <= 3.0,
            qPrintable(QString("mean error %1 at %2x%3").arg(error).arg(drawn.width()).arg(drawn.height())));
    }
};

QTEST_MAIN(TestVlcVideoPlayerGl)
#include "tst_vlcvideoplayer_gl.moc"
