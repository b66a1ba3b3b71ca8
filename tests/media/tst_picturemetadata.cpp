#include "base/HSettingsManager.h"
#include "media/HPictureMetadata.h"
#include "media/HSphericalBoxReader.h"
#include "session/HGlobalObject.h"
#include "session/HPictureLayout.h"

#include <QtTest>

#include <cmath>

// What the generated media say about their pictures, and what the view makes of it: limits,
// stereo, stacking and the initial view, for each kind of file and each of the user's choices.
class TestPictureMetadata : public QObject
{
    Q_OBJECT

    using O = HPictureGeometry::Origin;
    static constexpr double degree = 3.141592653589793 / 180.0;

    static QString media(const char* name) { return QStringLiteral(GYRE_TEST_MEDIA_DIR "/") + name; }

private slots:
    void readsTheFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("origin");
        QTest::addColumn<QVector<double>>("bounds"); // yaw min, max, pitch min, max in degrees; empty: none
        QTest::addColumn<int>("stereo");
        QTest::addColumn<QVector<double>>("view"); // yaw, pitch (degrees, up), horizontal fov; empty: none
        QTest::addColumn<QString>("coverage");

        using V = QVector<double>;
        QTest::addRow("sv3d 2:1 clip")
            << media("geo-sphere-sv3d-640x320.mp4") << int(O::SphericalBoxes) << V{-180, 180, -90, 90}
            << int(HPictureGeometry::Mono) << V{30, 0, 0} << "Full sphere";
        QTest::addRow("VR180 side-by-side clip")
            << media("geo-vr180-sbs-640x320.mp4") << int(O::SphericalBoxes) << V{-90, 90, -90, 90}
            << int(HPictureGeometry::SideBySide) << V{} << "Half sphere 180°";
        QTest::addRow("older spherical XMP, over-under")
            << media("geo-sphere-v1-ou-640x640.mp4") << int(O::SphericalXmp) << V{}
            << int(HPictureGeometry::OverUnder) << V{} << "Unknown";
        QTest::addRow("PNG band crop")
            << media("geo-band-xmp-512x144.png") << int(O::PanoramaXmp) << V{-180, 180, -90, 11.25}
            << int(HPictureGeometry::Unknown) << V{} << "Band 11.3°…−90°";
        QTest::addRow("JPEG band crop with a view")
            << media("geo-band-xmp-512x144.jpg") << int(O::PanoramaXmp) << V{-180, 180, -90, 11.25}
            << int(HPictureGeometry::Unknown) << V{90, -10, 100} << "Band 11.3°…−90°";
        for (const char* untagged : {"geo-sphere-512x256.png", "geo-band-6x1-1536x256.png",
                                     "clip-640x320.mp4", "photo-2000x1000.jpg", "broken.jpg"}) {
            QTest::addRow("untagged %s", untagged) << media(untagged) << int(O::None) << V{}
                                                   << int(HPictureGeometry::Unknown) << V{} << "Unknown";
        }
    }
    void readsTheFile()
    {
        QFETCH(QString, file);
        QFETCH(int, origin);
        QFETCH(QVector<double>, bounds);
        QFETCH(int, stereo);
        QFETCH(QVector<double>, view);
        QFETCH(QString, coverage);
        QVERIFY2(QFile::exists(file), qPrintable(file));

        const HPictureGeometry g = HPictureMetadata::read(file);
        QCOMPARE(int(g.origin), origin);
        QCOMPARE(g.hasBounds, !bounds.isEmpty());
        if (g.hasBounds) {
            const double got[] = {g.yawMin / degree, g.yawMax / degree, g.pitchMin / degree,
                                  g.pitchMax / degree};
            for (int i = 0; i < 4; ++i) {
                QVERIFY2(std::abs(got[i] - bounds[i]) < 1e-3,
                         qPrintable(QString("bound %1: %2").arg(i).arg(got[i])));
            }
        }
        QCOMPARE(g.stereo, stereo);
        QCOMPARE(g.hasInitialView, !view.isEmpty());
        if (g.hasInitialView) {
            QVERIFY(std::abs(g.initialYaw / degree - view[0]) < 1e-3);
            QVERIFY(std::abs(g.initialPitch / degree - view[1]) < 1e-3);
            QCOMPARE(double(g.initialHorizontalFov), view[2]);
        }
        QCOMPARE(g.coverageText(), coverage);
    }

    // The boxes are found behind samples with a 64-bit size too.
    void readsBoxesBehindLargeSamples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addRow("index only") << media("geo-fuzz/boxes-good.mp4");
        QTest::addRow("behind 64-bit samples") << media("geo-fuzz/boxes-after-64bit-mdat.mp4");
    }
    void readsBoxesBehindLargeSamples()
    {
        QFETCH(QString, file);
        const HPictureGeometry g = HPictureMetadata::read(file);
        QCOMPARE(g.stereo, int(HPictureGeometry::OverUnder));
        QVERIFY(g.hasBounds && g.hasInitialView);
    }

    // The spatial audio boxes: which track carries the field and in which channels, which plays
    // head-locked, and why a box that cannot be rendered is refused.
    void readsSpatialAudio_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("track"); // -1: no field taken
        QTest::addColumn<QVector<int>>("channelMap");
        QTest::addColumn<float>("gain"); // of Y, Z and X
        QTest::addColumn<int>("headLocked");
        QTest::addColumn<QString>("refusal");

        using M = QVector<int>;
        const float n3d = float(1 / std::sqrt(3.0));
        QTest::addRow("PCM in MOV") << media("geo-ambisonic-pcm-640x320.mov") << 0 << M{0, 1, 2, 3} << 1.0f
                                    << -1 << "";
        QTest::addRow("AAC with a head-locked track")
            << media("geo-ambisonic-aac-640x320.mp4") << 0 << M{0, 1, 2, 3} << 1.0f << 1 << "";
        QTest::addRow("behind a video track")
            << media("geo-fuzz/boxes-ambisonic.mp4") << 0 << M{0, 1, 2, 3} << 1.0f << 1 << "";
        QTest::addRow("QuickTime sound description 1")
            << media("geo-fuzz/boxes-ambisonic-qt-v1.mov") << 0 << M{0, 1, 2, 3} << 1.0f << -1 << "";
        QTest::addRow("third order, N3D, map reversed")
            << media("geo-fuzz/boxes-ambisonic-third-order-n3d.mp4") << 0 << M{17, 16, 15, 14} << n3d << -1
            << "";
        QTest::addRow("stereo") << media("geo-stereo-640x320.mp4") << -1 << M{} << 1.0f << -1 << "";
        QTest::addRow("map names a channel twice") << media("geo-fuzz/boxes-ambisonic-map-twice.mp4") << -1
                                                   << M{} << 1.0f << -1 << "twice or beyond";
        QTest::addRow("map beyond the channels") << media("geo-fuzz/boxes-ambisonic-map-beyond.mp4") << -1
                                                 << M{} << 1.0f << -1 << "twice or beyond";
        QTest::addRow("version 1") << media("geo-fuzz/boxes-ambisonic-version-1.mp4") << -1 << M{} << 1.0f
                                   << -1 << "version 1";
        QTest::addRow("order beyond reason") << media("geo-fuzz/boxes-ambisonic-order-huge.mp4") << -1 << M{}
                                             << 1.0f << -1 << "order 4294967295";
        QTest::addRow("channel count beyond the box") << media("geo-fuzz/boxes-ambisonic-count-huge.mp4")
                                                      << -1 << M{} << 1.0f << -1 << "with 4294967295";
    }
    void readsSpatialAudio()
    {
        QFETCH(QString, file);
        QFETCH(int, track);
        QFETCH(QVector<int>, channelMap);
        QFETCH(float, gain);
        QFETCH(int, headLocked);
        QFETCH(QString, refusal);
        const HSpatialAudio audio = HSphericalBoxReader::readSpatialAudio(file);
        QCOMPARE(audio.ambisonic, track >= 0);
        QCOMPARE(audio.track, track);
        QCOMPARE(audio.channelMap, channelMap);
        QCOMPARE(audio.gain[0], 1.0f);
        QCOMPARE(audio.gain[3], gain);
        QCOMPARE(audio.headLockedTrack, headLocked);
        QCOMPARE(audio.sampleEntry.isEmpty(), track < 0);
        QVERIFY2(refusal.isEmpty() ? audio.refusal.isEmpty() : audio.refusal.contains(refusal),
                 qPrintable(audio.refusal));
    }

    // The file, then the frame's shape, then the default band, unless the user chose: what the
    // global object's limits, the stereo mode and the stacked layout become.
    void layoutFollows_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QStringList>("choices"); // picture, stereo, stacked
        QTest::addColumn<QVector<double>>("limits");
        QTest::addColumn<int>("stereoMode");
        QTest::addColumn<bool>("stacked");
        QTest::addColumn<QString>("pictureText");

        using V = QVector<double>;
        const QStringList automatic{"auto", "auto", "auto"};
        const V sphere{-180, 180, -90, 90};
        const V band{-180, 180, -15, 45};
        QTest::addRow("2:1 photo without metadata")
            << media("geo-sphere-512x256.png") << QSize(512, 256) << automatic << sphere << 0 << false
            << "Full sphere · from the 2:1 frame";
        QTest::addRow("within 2 %% of 2:1")
            << media("geo-sphere-512x256.png") << QSize(1980, 1000) << automatic << sphere << 0 << false
            << "Full sphere · from the 2:1 frame";
        QTest::addRow("6:1 band") << media("geo-band-6x1-1536x256.png") << QSize(1536, 256) << automatic
                                  << band << 0 << false << "Band 45°…−15° · default";
        QTest::addRow("3:2 stacked band") << media("geo-stacked-3x2-768x512.png") << QSize(768, 512)
                                          << automatic << band << 0 << true << "Band 45°…−15° · default";
        QTest::addRow("1:1 untagged is neither stereo nor stacked")
            << media("photo-1000x1000.png") << QSize(1000, 1000) << automatic << band << 0 << false
            << "Band 45°…−15° · default";
        QTest::addRow("cropped band from XMP")
            << media("geo-band-xmp-512x144.png") << QSize(512, 144) << automatic << V{-180, 180, -90, 11.25}
            << 0 << false << "Band 11.3°…−90° · from XMP";
        QTest::addRow("VR180 from boxes")
            << media("geo-vr180-sbs-640x320.mp4") << QSize(640, 320) << automatic << V{-90, 90, -90, 90} << 2
            << false << "Half sphere 180° · from metadata";
        QTest::addRow("1:1 over-under from spherical XMP")
            << media("geo-sphere-v1-ou-640x640.mp4") << QSize(640, 640) << automatic << band << 1 << false
            << "Band 45°…−15° · default";
        QTest::addRow("band chosen over metadata")
            << media("geo-vr180-sbs-640x320.mp4") << QSize(640, 320) << QStringList{"band", "mono", "auto"}
            << band << 0 << false << "Band 45°…−15° · chosen";
        QTest::addRow("band chosen for a 3:2 frame stacks as before")
            << media("geo-stacked-3x2-768x512.png") << QSize(768, 512) << QStringList{"band", "auto", "auto"}
            << band << 0 << true << "Band 45°…−15° · chosen";
        QTest::addRow("full sphere chosen, stacking off, over-under")
            << media("geo-stacked-3x2-768x512.png") << QSize(768, 512)
            << QStringList{"sphere", "overunder", "off"} << sphere << 1 << false << "Full sphere · chosen";
        QTest::addRow("stacking forced on")
            << media("geo-sphere-512x256.png") << QSize(512, 256) << QStringList{"auto", "sidebyside", "on"}
            << sphere << 2 << true << "Full sphere · from the 2:1 frame";
    }
    void layoutFollows()
    {
        QFETCH(QString, file);
        QFETCH(QSize, frame);
        QFETCH(QStringList, choices);
        QFETCH(QVector<double>, limits);
        QFETCH(int, stereoMode);
        QFETCH(bool, stacked);
        QFETCH(QString, pictureText);

        // A store of its own per row (the test runs in a private profile).
        HSettingsManager settings(QSettings::UserScope, "Zelmo",
                                  QString("layout %1").arg(QTest::currentDataTag()));
        HGlobalObject global(&settings);
        {
            HPictureLayout layout(&settings, &global);
            layout.setPictureChoice(choices[0]);
            layout.setStereoChoice(choices[1]);
            layout.setStackedChoice(choices[2]);
        }
        // The choices hold for a new layout, as for the next start of the program.
        HPictureLayout layout(&settings, &global);
        QCOMPARE(QStringList({layout.pictureChoice(), layout.stereoChoice(), layout.stackedChoice()}),
                 choices);
        layout.openMedia(QUrl::fromLocalFile(file));
        layout.setFrameSize(frame.width(), frame.height());

        const double got[] = {global.yawMin() / degree, global.yawMax() / degree, global.pitchMin() / degree,
                              global.pitchMax() / degree};
        for (int i = 0; i < 4; ++i) {
            QVERIFY2(std::abs(got[i] - limits[i]) < 1e-3,
                     qPrintable(QString("limit %1: %2").arg(i).arg(got[i])));
        }
        QCOMPARE(layout.stereoMode(), stereoMode);
        QCOMPARE(layout.stacked(), stacked);
        QCOMPARE(layout.pictureText(), pictureText);
    }

    // A full sphere is seen from straight up to straight down; a half sphere keeps the view in
    // front; going back to the band brings the asked-for pitch inside it again; the metadata's
    // initial view is applied on open.
    void viewFollows()
    {
        HSettingsManager settings(QSettings::UserScope, "Zelmo", "view");
        HGlobalObject global(&settings);
        HPictureLayout layout(&settings, &global);
        global.setFov(60);

        layout.openMedia(QUrl::fromLocalFile(media("geo-sphere-512x256.png")));
        layout.setFrameSize(512, 256);
        global.setPitch(-10); // up
        QCOMPARE(global.pitch(), float(-(90 - 30) * degree));
        global.setPitch(10);
        QCOMPARE(global.pitch(), float((90 - 30) * degree));

        layout.setFrameSize(1536, 256); // a 6:1 band: the default band's clamp
        QCOMPARE(global.pitch(), -0.2617994f);
        layout.setFrameSize(512, 256);
        QCOMPARE(global.pitch(), float((90 - 30) * degree)); // the pitch asked for comes back

        layout.openMedia(QUrl::fromLocalFile(media("geo-vr180-sbs-640x320.mp4")));
        layout.setFrameSize(640, 320);
        global.setYaw(3.0f);
        QCOMPARE(global.yaw(), float(60 * degree)); // 90° less half the field of view
        global.setYaw(-3.0f);
        QCOMPARE(global.yaw(), float(-60 * degree));

        layout.setViewAspect(2.0);
        layout.openMedia(QUrl::fromLocalFile(media("geo-band-xmp-512x144.jpg")));
        layout.setFrameSize(512, 144);
        QVERIFY(std::abs(global.yaw() / degree - 90) < 1e-3);
        // Looking 10° down would show sky above the band's top at 11.25°: the view stays within it.
        QVERIFY(std::abs(global.pitch() / degree - (global.fov() / 2 - 11.25)) < 1e-3);
        // A horizontal 100° over a 2:1 view is a vertical 2 atan(tan 50° / 2).
        QVERIFY(std::abs(global.fov() - 2 * std::atan(std::tan(50 * degree) / 2) / degree) < 1e-3);
    }
};

QTEST_GUILESS_MAIN(TestPictureMetadata)
#include "tst_picturemetadata.moc"
