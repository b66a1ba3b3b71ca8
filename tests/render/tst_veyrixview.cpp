#include "PanoramaReference.h"
#include "PanoramaScene.h"
#include "PanoramaTestFrames.h"
#include "app/HCoreObjects.h"
#include "base/HSettingsManager.h"
#include "render/HShaderCodeBuilder.h"
#include "render/HTextureProvider.h"
#include "render/VeyrixView.h"
#include "session/HGlobalObject.h"
#include "session/HScreenPlace.h"

#include <atomic>
#include <memory>

Q_DECLARE_METATYPE(PanoramaReference::View)

namespace {

using namespace PanoramaReference;
using namespace PanoramaTestFrames;
using B = HShaderCodeBuilder;

// Rebuilds of the view's program, counted from the render module's log.
std::atomic<int> programRebuilds{0};
QtMessageHandler previousHandler = nullptr;

void countRebuilds(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (context.category && qstrcmp(context.category, "gyre.render") == 0 &&
        message.startsWith(QLatin1String("Shader program rebuilt"))) {
        ++programRebuilds;
    }
    previousHandler(type, context, message);
}

// A picture handed to the texture provider, visible but transparent as the media loader's photo is
// (a hidden item makes no texture), and the view over the whole window on a background the view
// never shows where it draws.
const char* const sceneSource = R"(
import QtQuick 2.12
import Veyrix 1.0
Rectangle {
    color: "#204060"
    property alias picture: photo.source
    property alias tiledPicture: tiled.source
    HTiledPicture {
        id: tiled
        objectName: "tiled"
        tiling: hPhotoTiling
    }
    Image {
        id: photo
        opacity: 0
        Component.onCompleted: hTextureProvider.setShaderEffectSource(photo)
    }
    VeyrixView {
        objectName: "view"
        anchors.fill: parent
        Component.onCompleted: init(hShaderCodeBuilder, hGlobalObject, hTextureProvider)
    }
}
)";

} // namespace

// The panorama view in a real window under Mesa's llvmpipe, fed through the whole chain, against
// pictures computed on the CPU from the projection equations.
class TestVeyrixView : public QObject
{
    Q_OBJECT

private:
    HSettingsManager settings{QSettings::UserScope, "Zelmo", "Gyre Player test"};
    QTemporaryDir dir;
    std::unique_ptr<QQuickView> window;
    std::unique_ptr<HCoreObjects> core;
    HGlobalObject* global = nullptr;
    HShaderCodeBuilder* builder = nullptr;
    HTextureProvider* provider = nullptr;
    VeyrixView* view = nullptr;
    QHash<QString, QImage> frames; // by name, as written for the Image item
    QString currentFrame;
    std::atomic<int> synchronisations{0};
    std::atomic<int> swappedSynchronisation{0};

    // Shows the frame of that name; a new frame is a new texture, so wait until the provider
    // has picked it up.
    bool useFrame(const QString& name)
    {
        if (name == currentFrame) {
            return true;
        }
        QSignalSpy idChanged(provider, &HTextureProvider::textureIdChanged);
        window->rootObject()->setProperty("picture", QUrl::fromLocalFile(dir.filePath(name + ".png")));
        currentFrame = name;
        return idChanged.wait(5000);
    }

    // Shows the plain frame, four times as large, from tiles: a JPEG of 4096 x 2048 whose 69 tiles
    // are more than the smallest texture budget (32 slots) holds, so that turning round evicts.
    bool useTiled()
    {
        if (currentFrame == "tiled") {
            return true;
        }
        const QString path = dir.filePath("tiled.jpg");
        if (!testFrame()
                 .scaled(4096, 2048, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 .save(path, "JPEG", 100)) {
            return false;
        }
        frames.insert("tiled", QImage(path).convertToFormat(QImage::Format_RGB32));
        window->rootObject()->setProperty("tiledPicture", QUrl::fromLocalFile(path));
        QSignalSpy idChanged(provider, &HTextureProvider::textureIdChanged);
        provider->setShaderEffectSource(window->rootObject()->findChild<QQuickItem*>("tiled"));
        currentFrame = "tiled";
        return idChanged.wait(5000);
    }

    bool resizeWindow(QSize size)
    {
        if (window->size() == size) {
            return true;
        }
        window->resize(size);
        return QTest::qWaitFor([&] { return view->size() == QSizeF(size); }, 5000);
    }

    // Puts the view state in place. The pitch is set while the whole sphere is allowed and the
    // limits come last, so that any pitch can be looked at with any limits.
    void apply(const View& v)
    {
        builder->setProjection(v.projection);
        builder->setStereoMode(v.stereo);
        builder->setStacked(v.stacked);
        view->setRightEye(v.rightEye);
        global->setYawMin(float(fullSphere.yawMin));
        global->setYawMax(float(fullSphere.yawMax));
        global->setPitchMin(float(fullSphere.pitchMin));
        global->setPitchMax(float(fullSphere.pitchMax));
        global->setFov(float(v.fov));
        global->setYaw(float(v.yaw), true);
        global->setPitch(float(v.pitch), true);
        global->setYawMin(float(v.limits.yawMin));
        global->setYawMax(float(v.limits.yawMax));
        global->setPitchMin(float(v.limits.pitchMin));
        global->setPitchMax(float(v.limits.pitchMax));
        HScreenPlace* place = global->screenPlace();
        place->setYawOffset(v.yawOffset / degree);
        place->setPitchOffset(v.pitchOffset / degree);
        place->setRollOffset(v.rollOffset / degree);
        place->setFov(v.screenFov);
        place->setDomeAperture(v.domeAperture);
        place->setDomeTilt(v.domeTilt / degree);
    }

    // The plain frame in an 800 x 600 window through a rectilinear lens, drawn once.
    bool showRectilinear(View& v, double yaw, double fov)
    {
        v.projection = B::RECTILINEAR;
        v.yaw = yaw;
        v.fov = fov;
        if (!resizeWindow(QSize(800, 600)) || !useFrame("plain")) {
            return false;
        }
        apply(v);
        return !grab().isNull();
    }

    // A Gaussian blur of 1.5 px, along rows and then columns (a transposed pass twice), edges clamped.
    static QImage lowPass(const QImage& image)
    {
        const int reach = 5;
        double weights[2 * reach + 1], total = 0;
        for (int k = -reach; k <= reach; ++k) {
            total += weights[k + reach] = std::exp(-k * k / (2 * 1.5 * 1.5));
        }
        QImage out = image.convertToFormat(QImage::Format_RGB32);
        for (int pass = 0; pass < 2; ++pass) {
            const QImage in = out;
            out = QImage(in.height(), in.width(), QImage::Format_RGB32);
            for (int y = 0; y < in.height(); ++y) {
                for (int x = 0; x < in.width(); ++x) {
                    double rgb[3] = {0, 0, 0};
                    for (int k = -reach; k <= reach; ++k) {
                        const QRgb p = in.pixel(std::clamp(x + k, 0, in.width() - 1), y);
                        const double w = weights[k + reach] / total;
                        rgb[0] += w * qRed(p), rgb[1] += w * qGreen(p), rgb[2] += w * qBlue(p);
                    }
                    out.setPixel(y, x, qRgb(int(rgb[0] + 0.5), int(rgb[1] + 0.5), int(rgb[2] + 0.5)));
                }
            }
        }
        return out;
    }

    // The state the view draws with, as the global object holds it after clamping.
    View actual(View v) const
    {
        v.yaw = global->yaw();
        v.pitch = global->pitch();
        v.fov = global->fov();
        v.limits = {global->yawMin(), global->yawMax(), global->pitchMin(), global->pitchMax()};
        return v;
    }

    // A frame rendered from the current state: one whose synchronisation began after this call.
    QImage grab()
    {
        const int before = synchronisations.load();
        view->update();
        if (!QTest::qWaitFor([&] { return swappedSynchronisation.load() > before; }, 5000)) {
            return QImage();
        }
        return window->grabWindow().convertToFormat(QImage::Format_RGB32);
    }

    // The grabbed item against the reference for the state the global object holds, from the
    // frame shown. A failed comparison keeps both pictures beside the test program.
    Comparison check(const QImage& grabbed, const View& v) const
    {
        QImage expected;
        const Comparison c = compare(grabbed, frames.value(currentFrame), actual(v), &expected);
        if (!acceptable(c)) {
            QString name = QString("%1-%2").arg(QTest::currentTestFunction(), QTest::currentDataTag());
            name.replace(QRegularExpression("[^A-Za-z0-9]+"), "-");
            grabbed.save(QString("tst_veyrixview-%1-grabbed.png").arg(name));
            expected.save(QString("tst_veyrixview-%1-expected.png").arg(name));
            qInfo("pictures kept in %s", qPrintable(QDir::currentPath()));
        }
        return c;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        for (auto [name, image] :
             {std::pair{QString("plain"), testFrame()},
              std::pair{QString("over-under"), stereoFrame(Qt::Vertical)},
              std::pair{QString("side-by-side"), stereoFrame(Qt::Horizontal)},
              std::pair{QString("over-under, second"), stereoFrame(Qt::Vertical, true)},
              std::pair{QString("side-by-side, second"), stereoFrame(Qt::Horizontal, true)},
              std::pair{QString("stacked"), stackedFrame()}}) {
            QVERIFY(image.save(dir.filePath(name + ".png")));
            frames.insert(name, image);
        }

        settings.setValue("application/photo/textureBudget", 32);
        HCoreObjects::registerQmlTypes();
        previousHandler = qInstallMessageHandler(countRebuilds);

        window = std::make_unique<QQuickView>();
        // The program's own objects and wiring, with synchronisation off.
        core = std::make_unique<HCoreObjects>(&settings, window.get(), QStringLiteral("off"));
        global = core->globalObject();
        builder = core->shaderCodeBuilder();
        provider = core->textureProvider();
        connect(
            window.get(), &QQuickWindow::afterSynchronizing, this, [this] { ++synchronisations; },
            Qt::DirectConnection);
        connect(
            window.get(), &QQuickWindow::frameSwapped, this,
            [this] { swappedSynchronisation = synchronisations.load(); }, Qt::DirectConnection);

        QVERIFY(loadPanoramaScene(*window, *core, dir, sceneSource));
        view = window->rootObject()->findChild<VeyrixView*>("view");
        QVERIFY(view);
        window->resize(800, 600);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(useFrame("plain"));
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(previousHandler);
        window.reset();
        core.reset();
    }

    void matchesTheReference_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<View>("state");

        struct Row
        {
            const char* name;
            int projection;
            double yaw, pitch, fov; // degrees
            Limits limits;
            int stereo = B::STEREO_2D;
            bool stacked = false;
            const char* frame = "plain";
            bool rightEye = false;
        };
        const Limits quarter{-pi, pi, -pi / 4.0, pi / 4.0};
        const Limits halfSphere{-pi / 2.0, pi / 2.0, -pi / 2.0, pi / 2.0};
        const Row rows[] = {
            {"rectilinear ahead", B::RECTILINEAR, 0, 0, 90, fullSphere},
            {"rectilinear turned, looking up", B::RECTILINEAR, 135, -30, 60, fullSphere},
            {"rectilinear over the seam, looking down", B::RECTILINEAR, -170, 40, 100, fullSphere},
            {"rectilinear in the band", B::RECTILINEAR, 30, 0, 60, defaultBand},
            {"rectilinear in the band, narrow", B::RECTILINEAR, -150, -10, 40, defaultBand},
            {"flat ahead", B::NO_PROJECTION, 0, 0, 90, fullSphere},
            {"flat turned, looking up", B::NO_PROJECTION, 100, -25, 60, fullSphere},
            {"flat over the seam and a pole", B::NO_PROJECTION, -160, 35, 150, fullSphere},
            {"flat in the band", B::NO_PROJECTION, 60, 0, 60, defaultBand},
            {"flat in the band, zoomed", B::NO_PROJECTION, 170, -20, 30, defaultBand},
            {"fisheye ahead", B::FISHEYE, 0, 0, 180, fullSphere},
            {"fisheye wide", B::FISHEYE, 60, -40, 270, fullSphere},
            {"fisheye whole turn", B::FISHEYE, -120, 20, 360, fullSphere},
            {"fisheye in the band", B::FISHEYE, -45, 0, 200, defaultBand},
            {"little planet", B::LITTLE_PLANET, 0, 0, 90, fullSphere},
            {"little planet wide", B::LITTLE_PLANET, 45, 60, 240, fullSphere},
            {"little planet in the band", B::LITTLE_PLANET, -90, 0, 200, defaultBand},
            {"mirror ball", B::MIRROR_BALL, 0, 0, 60, fullSphere},
            {"mirror ball filling the item", B::MIRROR_BALL, 90, -30, 30, fullSphere},
            {"mirror ball in the band", B::MIRROR_BALL, 0, 0, 60, defaultBand},
            // The stereo frames' second picture is flat magenta: any of it in view fails.
            {"over-under", B::RECTILINEAR, 20, 50, 90, fullSphere, B::STEREO_3D_OVERUNDER, false,
             "over-under"},
            {"over-under, most of the sphere", B::FISHEYE, 0, 0, 200, fullSphere, B::STEREO_3D_OVERUNDER,
             false, "over-under"},
            {"side-by-side", B::NO_PROJECTION, -30, 0, 100, fullSphere, B::STEREO_3D_SIDEBYSIDE, false,
             "side-by-side"},
            {"side-by-side, most of the sphere", B::FISHEYE, 0, 0, 200, fullSphere, B::STEREO_3D_SIDEBYSIDE,
             false, "side-by-side"},
            {"stacked", B::RECTILINEAR, 45, 0, 60, defaultBand, B::STEREO_2D, true, "stacked"},
            {"stacked over the seam", B::NO_PROJECTION, 175, -10, 120, fullSphere, B::STEREO_2D, true,
             "stacked"},
            {"quarter pitch range", B::NO_PROJECTION, 0, 0, 120, quarter},
            // Half spheres fit within their eye's half; behind them is black, not the other eye.
            {"side-by-side half sphere, the edge", B::RECTILINEAR, 80, 0, 90, halfSphere,
             B::STEREO_3D_SIDEBYSIDE, false, "side-by-side"},
            {"side-by-side half sphere, behind", B::FISHEYE, 180, 0, 200, halfSphere, B::STEREO_3D_SIDEBYSIDE,
             false, "side-by-side"},
            {"side-by-side half sphere, right eye", B::RECTILINEAR, -60, 20, 100, halfSphere,
             B::STEREO_3D_SIDEBYSIDE, false, "side-by-side, second", true},
            {"over-under, right eye", B::NO_PROJECTION, 30, -20, 120, fullSphere, B::STEREO_3D_OVERUNDER,
             false, "over-under, second", true},
            {"over-under cropped band", B::RECTILINEAR, 0, 10, 60, defaultBand, B::STEREO_3D_OVERUNDER, false,
             "over-under"},
        };
        // Screens of a room: turned from the followed view in its own frame, with a field of view
        // across the width; and a dome's fisheye.
        struct PlaceRow
        {
            const char* name;
            int projection;
            double yaw, pitch, fov;                            // the followed view, degrees
            double yawOffset, pitchOffset, rollOffset, across; // degrees
            double aperture = 180, tilt = 0;
            Limits limits = fullSphere;
        };
        const PlaceRow placeRows[] = {
            {"screen a quarter turn right", B::RECTILINEAR, 30, 0, 60, 90, 0, 0, 0},
            {"screen turned, pitched and rolled", B::RECTILINEAR, -40, 20, 70, 120, -25, 30, 0},
            {"screen behind, its own field of view", B::RECTILINEAR, 10, -10, 40, 180, 0, 0, 90},
            {"flat screen turned and pitched", B::NO_PROJECTION, 10, 0, 90, -90, 20, 0, 0},
            {"fisheye screen, its own field of view", B::FISHEYE, 0, 0, 180, 270, 0, 0, 120},
            {"dome", B::DOME, 0, 0, 60, 0, 0, 0, 0},
            {"dome turned, wider", B::DOME, 60, 0, 60, 0, 0, 0, 0, 220},
            {"dome tilted", B::DOME, 0, 0, 60, 0, 0, 0, 0, 180, 30},
            {"dome of a turned screen", B::DOME, 0, 0, 60, 45, 0, 0, 0, 200, 10},
            {"dome over a band", B::DOME, 0, 0, 60, 0, 0, 0, 0, 180, 0, defaultBand},
        };
        for (const QSize size : {QSize(800, 600), QSize(600, 800)}) {
            for (const PlaceRow& r : placeRows) {
                View v;
                v.projection = r.projection;
                v.yaw = r.yaw * degree;
                v.pitch = r.pitch * degree;
                v.fov = r.fov;
                v.yawOffset = r.yawOffset * degree;
                v.pitchOffset = r.pitchOffset * degree;
                v.rollOffset = r.rollOffset * degree;
                v.screenFov = r.across;
                v.domeAperture = r.aperture;
                v.domeTilt = r.tilt * degree;
                v.limits = r.limits;
                QTest::addRow("%s, %dx%d", r.name, size.width(), size.height())
                    << size << QString("plain") << v;
            }
            for (const Row& r : rows) {
                View v;
                v.projection = r.projection;
                v.stereo = r.stereo;
                v.stacked = r.stacked;
                v.rightEye = r.rightEye;
                v.yaw = r.yaw * degree;
                v.pitch = r.pitch * degree;
                v.fov = r.fov;
                v.limits = r.limits;
                QTest::addRow("%s, %dx%d", r.name, size.width(), size.height())
                    << size << QString(r.frame) << v;
            }
        }
    }
    void matchesTheReference()
    {
        QFETCH(QSize, size);
        QFETCH(QString, frame);
        QFETCH(View, state);
        QVERIFY(resizeWindow(size));
        QVERIFY(useFrame(frame));
        apply(state);
        const QImage grabbed = grab();
        QVERIFY(!grabbed.isNull());
        QCOMPARE(grabbed.size(), size);

        // Outside the mirror ball's disc the shader takes the root of a negative number: those
        // pixels are left out.
        const Comparison c = check(grabbed, state);
        QVERIFY2(acceptable(c), qPrintable(describe(c)));
    }

    // The dome against a second reference, ffmpeg's v360 fisheye looking up (pitch 90° less the tilt)
    // with the same aperture both ways: after a low-pass of 1.5 px, which leaves the two resamplings'
    // differences in the fine pattern out, at least 35 dB inside the circle.
    void domeMatchesFfmpeg_data()
    {
        QTest::addColumn<double>("aperture");
        QTest::addColumn<double>("tilt");
        QTest::addColumn<double>("yaw");
        QTest::addRow("half sphere") << 180.0 << 0.0 << 0.0;
        QTest::addRow("wider, turned") << 220.0 << 0.0 << 70.0;
        QTest::addRow("tilted") << 180.0 << 30.0 << 0.0;
        QTest::addRow("narrower, tilted back") << 150.0 << -20.0 << -120.0;
    }
    void domeMatchesFfmpeg()
    {
        QFETCH(double, aperture);
        QFETCH(double, tilt);
        QFETCH(double, yaw);
        const int side = 480;
        QVERIFY(resizeWindow(QSize(side, side)));
        QVERIFY(useFrame("plain"));
        View v;
        v.projection = B::DOME;
        v.domeAperture = aperture;
        v.domeTilt = tilt * degree;
        v.yaw = yaw * degree;
        apply(v);
        const QImage grabbed = grab();
        QVERIFY(!grabbed.isNull());

        const QString made = dir.filePath("v360.png");
        QProcess ffmpeg;
        ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
        ffmpeg.start("ffmpeg",
                     {"-hide_banner", "-loglevel", "error", "-y", "-i", dir.filePath("plain.png"), "-vf",
                      QString("v360=input=e:output=fisheye:h_fov=%1:v_fov=%1:yaw=%2:pitch=%3:w=%4:h=%4:"
                              "interp=linear")
                          .arg(aperture)
                          .arg(yaw)
                          .arg(90.0 - tilt)
                          .arg(side),
                      made});
        QVERIFY2(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0, ffmpeg.readAll().constData());
        const QImage second = QImage(made).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(second.size(), grabbed.size());

        const QImage a = lowPass(grabbed), b = lowPass(second);
        double squares = 0;
        int count = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                // Clear of the circle's edge, where one is black a pixel before the other.
                if (std::hypot(x + 0.5 - side / 2.0, y + 0.5 - side / 2.0) > 0.96 * side / 2.0) {
                    continue;
                }
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
                    squares += double(d) * d;
                }
                count += 3;
            }
        }
        const double psnr = 10.0 * std::log10(255.0 * 255.0 / std::max(squares / count, 1e-9));
        qInfo("%.1f dB", psnr);
        if (psnr < 35.0) {
            grabbed.save("tst_veyrixview-dome-grabbed.png");
            second.save("tst_veyrixview-dome-expected.png"); // v360's picture
        }
        QVERIFY2(psnr >= 35.0, qPrintable(QString("%1 dB").arg(psnr, 0, 'f', 1)));
    }

    // Where the longitude wraps round, neighbouring pixels sample opposite edges of the photo: the
    // mipmaps must not turn that column into a line of the picture's average. The test frame's
    // green (v) and blue (a pattern of whole periods) run on across the seam; its red (u) does not.
    void seamShowsNoLine()
    {
        QVERIFY(resizeWindow(QSize(800, 600)));
        QVERIFY(useFrame("plain"));
        View v;
        v.projection = B::RECTILINEAR;
        // A pixel off the middle, so that the seam runs through a block of 2 x 2 pixels, whose
        // texture coordinates' spread picks the mipmap level.
        v.fov = 120;
        v.yaw = pi - v.fov / 600.0 * degree;
        apply(v);
        const QImage grabbed = grab();
        QVERIFY(!grabbed.isNull());
        QImage expected;
        (void)compare(grabbed, frames.value("plain"), actual(v), &expected);
        int worst = 0;
        for (int x = grabbed.width() / 2 - 3; x <= grabbed.width() / 2 + 2; ++x) {
            for (int y = 0; y < grabbed.height(); ++y) {
                const QRgb got = grabbed.pixel(x, y), want = expected.pixel(x, y);
                worst = std::max(
                    {worst, std::abs(qGreen(got) - qGreen(want)), std::abs(qBlue(got) - qBlue(want))});
            }
        }
        // A few levels of a pattern with 64 texels to its period stay within 24; the average is 86 off.
        QVERIFY2(worst <= 24, qPrintable(QString::number(worst)));
    }

    // A window hidden without keeping its scene graph loses its OpenGL context; shown again, the
    // view builds its program anew in the new context and the provider finds the source's new
    // texture.
    void pictureSurvivesANewContext()
    {
        View v;
        QVERIFY(showRectilinear(v, 0.3, 70));

        QSignalSpy invalidated(window.get(), &QQuickWindow::sceneGraphInvalidated);
        const int rebuilds = programRebuilds.load();
        window->setPersistentOpenGLContext(false);
        window->setPersistentSceneGraph(false);
        window->hide();
        QTRY_COMPARE(invalidated.count(), 1);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // The old provider went with the old context: its name is forgotten until the new one's
        // texture exists.
        QTRY_VERIFY_WITH_TIMEOUT(provider->textureId() != 0, 5000);

        // The first frames after the window reappears may still lack the new texture; the
        // picture must be back soon after.
        QImage grabbed;
        Comparison c;
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            grabbed = grab();
            QVERIFY(!grabbed.isNull());
            c = check(grabbed, v);
            if (acceptable(c) || timer.elapsed() > 3000) {
                break;
            }
            QTest::qWait(100);
        }
        QVERIFY2(acceptable(c), qPrintable(describe(c)));
        QCOMPARE(programRebuilds.load(), rebuilds + 1);
        window->setPersistentOpenGLContext(true);
        window->setPersistentSceneGraph(true);
    }

    // A photo shown from tiles, its finest level in view, turned round the whole horizon across the
    // 360° seam and towards a pole, and read as one eye of a stereo frame, with a texture budget
    // smaller than the photo's tiles: tiles come and go, and the picture is the whole photo's every
    // time.
    void tiledPhotoMatchesTheReference_data()
    {
        QTest::addColumn<View>("state");
        struct Row
        {
            const char* name;
            int projection;
            double yaw, pitch, fov;
            int stereo = B::STEREO_2D;
        };
        const Row rows[] = {
            {"ahead", B::RECTILINEAR, 0, 0, 60},
            {"turned", B::RECTILINEAR, 90, 10, 60},
            {"before the seam", B::RECTILINEAR, 170, 0, 60},
            {"on the seam", B::RECTILINEAR, 180, -5, 60},
            {"after the seam", B::RECTILINEAR, -160, 0, 60},
            {"back", B::RECTILINEAR, -80, 0, 60},
            {"towards a pole", B::RECTILINEAR, 30, -70, 40},
            {"flat over the seam", B::NO_PROJECTION, 175, 0, 50},
            {"fisheye", B::FISHEYE, -30, 20, 60},
            {"over-under, the upper half", B::RECTILINEAR, 120, 20, 40, B::STEREO_3D_OVERUNDER},
            {"side-by-side, the left half", B::RECTILINEAR, -100, -10, 40, B::STEREO_3D_SIDEBYSIDE}};
        for (const Row& r : rows) {
            View v;
            v.projection = r.projection;
            v.yaw = r.yaw * degree;
            v.pitch = r.pitch * degree;
            v.fov = r.fov;
            v.stereo = r.stereo;
            QTest::addRow("%s", r.name) << v;
        }
    }
    void tiledPhotoMatchesTheReference()
    {
        QFETCH(View, state);
        QVERIFY(resizeWindow(QSize(800, 600)));
        QVERIFY(useTiled());
        apply(state);
        // The view's tiles arrive over a few frames.
        QImage grabbed;
        Comparison c;
        const bool matched = QTest::qWaitFor(
            [&] {
                grabbed = grab();
                QImage expected;
                c = compare(grabbed, frames.value("tiled"), actual(state), &expected);
                return acceptable(c);
            },
            8000);
        if (!matched) {
            c = check(grabbed, state);
        }
        QVERIFY2(acceptable(c), qPrintable(describe(c)));
    }
};

QTEST_MAIN(TestVeyrixView)
#include "tst_veyrixview.moc"
