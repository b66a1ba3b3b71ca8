#include "../render/PanoramaScene.h"
#include "VlcTestSupport.h"
#include "app/Application.h"
#include "base/HSettingsManager.h"

#include <QProcess>

#include <functional>
#include <memory>

namespace {

// The video item hands its frames to the view, as in the video area. The flat projection at a
// field of view of 180 degrees over a 2:1 window shows the whole frame, one texel per pixel.
const char* const sceneSource = R"(
import QtQuick 2.12
import Veyrix 1.0
Item {
    property Item player
    onPlayerChanged: hTextureProvider.setShaderEffectSource(player)
    VeyrixView {
        objectName: "view"
        anchors.fill: parent
        Component.onCompleted: init(hShaderCodeBuilder, hGlobalObject, hTextureProvider)
    }
}
)";

} // namespace

// Decoded pictures through the whole frame path: libvlc into the item's frame pool, the planes onto
// the render thread, the panorama shader into the window. References come from ffmpeg's own
// decode of the same media.
class TestVlcVideoPlayerGl : public QObject
{
    Q_OBJECT

private:
    HSettingsManager settings{QSettings::UserScope, "Zelmo", "Gyre Player test"};
    QTemporaryDir dir;
    std::unique_ptr<QQuickView> window;
    std::unique_ptr<HGlobalObject> global;
    std::unique_ptr<HShaderCodeBuilder> builder;
    std::unique_ptr<HTextureProvider> provider;

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

    static QImage rgbImage(const QByteArray& rgb, QSize size)
    {
        if (rgb.size() != size.width() * size.height() * 3) {
            return {};
        }
        return QImage(reinterpret_cast<const uchar*>(rgb.constData()), size.width(), size.height(),
                      size.width() * 3, QImage::Format_RGB888)
            .convertToFormat(QImage::Format_RGB32);
    }

    // Mean absolute difference per channel, 0..255.
    static double meanAbsoluteError(const QImage& a, const QImage& b)
    {
        if (a.size() != b.size()) {
            return 255;
        }
        qint64 sum = 0;
        for (int y = 0; y < a.height(); ++y) {
            const QRgb* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
            const QRgb* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x) {
                sum += qAbs(qRed(ra[x]) - qRed(rb[x])) + qAbs(qGreen(ra[x]) - qGreen(rb[x])) +
                       qAbs(qBlue(ra[x]) - qBlue(rb[x]));
            }
        }
        return double(sum) / (3.0 * a.width() * a.height());
    }

    // A paused player in a window of its frame's size, once the picture on screen no longer changes.
    QImage showPaused(Player& player, const QUrl& clip, QSize size, const std::function<bool()>& playedEnough)
    {
        window->resize(size);
        window->rootObject()->setProperty("player", QVariant::fromValue<QQuickItem*>(&player));
        player.setParentItem(window->rootObject());
        player.setNativeSize(true);
        PlayerLog log(&player);
        player.openFile(clip);
        if (!log.waitForState(Player::Playing) || !QTest::qWaitFor(playedEnough, playTimeout)) {
            return {};
        }
        // A short stream may end first; its last picture stays.
        player.pause();
        if (!QTest::qWaitFor(
                [&] { return log.states.contains(Player::Paused) || log.states.contains(Player::Ended); },
                openTimeout)) {
            return {};
        }
        QImage previous;
        for (int i = 0; i < 25; ++i) {
            QTest::qWait(200);
            const QImage current = window->grabWindow().convertToFormat(QImage::Format_RGB32);
            if (current == previous && current.size() == size) {
                return current;
            }
            previous = current;
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        Application::registerQmlTypes();
        window = std::make_unique<QQuickView>();
        global = std::make_unique<HGlobalObject>(&settings);
        builder = std::make_unique<HShaderCodeBuilder>();
        provider = std::make_unique<HTextureProvider>(window.get(), &settings);
        QVERIFY(loadPanoramaScene(*window, *global, *builder, *provider, dir, sceneSource));

        builder->setProjection(HShaderCodeBuilder::NO_PROJECTION);
        global->setYawMin(-float(M_PI));
        global->setYawMax(float(M_PI));
        global->setPitchMin(-float(M_PI / 2));
        global->setPitchMax(float(M_PI / 2));
        global->setFov(180.0f);
        global->setYaw(0.0f, true);
        global->setPitch(0.0f, true);
        QCOMPARE(global->fov(), 180.0f);
        window->resize(1920, 960);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanupTestCase() { window.reset(); }

    // An HD clip, decoded as NV12 planes and converted in the shader with BT.709: the picture drawn
    // is one of the clip's frames.
    void drawnFrameIsADecodedFrame()
    {
        Player player;
        const QUrl clip = mediaUrl("clip-1920x960.mp4");
        const QImage drawn =
            showPaused(player, clip, QSize(1920, 960), [&] { return player.getFramesUploaded() >= 10; });
        QVERIFY(!drawn.isNull());

        // Which frame is it? Compare small copies with every frame of the clip, then the whole one.
        const QSize thumb(96, 48);
        const QStringList input{"-i", clip.toLocalFile()};
        const QString toRgb = "scale=in_color_matrix=bt709:in_range=tv";
        const QByteArray thumbs = ffmpegFrames(input, {"-vf", toRgb + ",scale=96:48:flags=area"});
        const int thumbBytes = thumb.width() * thumb.height() * 3;
        QCOMPARE(thumbs.size(), 150 * thumbBytes);
        const QImage drawnThumb = drawn.scaled(thumb, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        int best = -1;
        double bestError = 256;
        for (int n = 0; n < 150; ++n) {
            const double error =
                meanAbsoluteError(drawnThumb, rgbImage(thumbs.mid(n * thumbBytes, thumbBytes), thumb));
            if (error < bestError) {
                bestError = error;
                best = n;
            }
        }
        const QImage reference =
            rgbImage(ffmpegFrames(input, {"-vf", QString("select=eq(n\\,%1),%2").arg(best).arg(toRgb),
                                          "-frames:v", "1"}),
                     drawn.size());
        const double error = meanAbsoluteError(drawn, reference);
        QVERIFY2(error <= 3.0, qPrintable(QString("frame %1: mean error %2").arg(best).arg(error)));

        // Every picture handed over was either uploaded or overtaken; the newest may still wait.
        const int unaccounted =
            player.getFramesDecoded() - player.getFramesUploaded() - player.getFramesLost();
        QVERIFY2(unaccounted == 0 || unaccounted == 1, qPrintable(QString::number(unaccounted)));
    }

    // A stream whose picture size changes to still colour bars below HD (BT.601): the texture follows
    // the new size, and the middle of each bar reads back within 2 levels of ffmpeg's conversion.
    void colourBarsWithinTwoLevels()
    {
        Player player;
        const QImage drawn = showPaused(player, mediaUrl("size-change.ts"), QSize(960, 480), [&] {
            // A few pictures of the new size on screen.
            const int uploaded = player.getFramesUploaded();
            return player.width() >= 960 &&
                   QTest::qWaitFor([&] { return player.getFramesUploaded() >= uploaded + 3; }, 1000);
        });
        QVERIFY(!drawn.isNull());
        QCOMPARE(player.width(), 960.0);
        const QImage reference = rgbImage(
            ffmpegFrames({"-f", "lavfi", "-i", "smptebars=size=960x480:rate=30"},
                         {"-vf", "format=yuv420p,scale=in_color_matrix=bt601:in_range=tv", "-frames:v", "1"}),
            drawn.size());
        QVERIFY(!reference.isNull());
        // The seven bars of the top two thirds, sampled in the middle of each.
        for (int bar = 0; bar < 7; ++bar) {
            const QPoint p(int((bar + 0.5) * 960 / 7), 150);
            const QRgb got = drawn.pixel(p), want = reference.pixel(p);
            QVERIFY2(qAbs(qRed(got) - qRed(want)) <= 2 && qAbs(qGreen(got) - qGreen(want)) <= 2 &&
                         qAbs(qBlue(got) - qBlue(want)) <= 2,
                     qPrintable(QString("bar %1: drawn %2, ffmpeg %3")
                                    .arg(bar)
                                    .arg(QColor(got).name(), QColor(want).name())));
        }
    }
};

QTEST_MAIN(TestVlcVideoPlayerGl)
#include "tst_vlcvideoplayer_gl.moc"
