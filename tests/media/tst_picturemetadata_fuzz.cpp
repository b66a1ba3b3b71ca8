#include "media/HPictureMetadata.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>

// The readers of spherical boxes and panorama XMP fed with the generated corpus of broken files
// (truncated, oversized, nested, looping sizes, zip and entity bombs) and with mutations of the
// good files. Built with AddressSanitizer and UndefinedBehaviorSanitizer, and with allocations
// over 64 MB fatal (see the test's environment): a read out of bounds or a huge allocation ends the
// run with a report; a slow input fails here.
class TestPictureMetadataFuzz : public QObject
{
    Q_OBJECT

    static constexpr int mutationsPerSeed = 3000;

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Reads one input from memory; false when it took over a second.
    static bool readQuickly(const QByteArray& bytes, QString* why)
    {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        QElapsedTimer clock;
        clock.start();
        const HPictureGeometry g = HPictureMetadata::read(buffer);
        if (g.hasBounds && !(g.yawMin <= g.yawMax && g.pitchMin <= g.pitchMax)) {
            *why = QString("inverted bounds %1..%2, %3..%4")
                       .arg(g.yawMin)
                       .arg(g.yawMax)
                       .arg(g.pitchMin)
                       .arg(g.pitchMax);
            return false;
        }
        if (clock.elapsed() > 1000) {
            *why = QString("%1 ms").arg(clock.elapsed());
            return false;
        }
        return true;
    }

    static QByteArray mutate(QByteArray bytes, QRandomGenerator& rng)
    {
        const int edits = 1 + int(rng.bounded(4));
        for (int i = 0; i < edits && !bytes.isEmpty(); ++i) {
            const int at = int(rng.bounded(bytes.size()));
            switch (rng.bounded(5)) {
            case 0: // a flipped bit
                bytes[at] = char(bytes[at] ^ (1 << rng.bounded(8)));
                break;
            case 1: // a cut
                bytes.truncate(at);
                break;
            case 2: { // a size or length field made extreme
                const quint32 values[] = {0, 1, 7, 8, 0x7fffffff, 0xffffffff, quint32(bytes.size() - at)};
                if (at + 4 <= bytes.size()) {
                    qToBigEndian(values[rng.bounded(7)], bytes.data() + at);
                }
                break;
            }
            case 3: // a repeated stretch
                bytes.insert(at, bytes.mid(at, int(rng.bounded(64))));
                break;
            default: // a removed stretch
                bytes.remove(at, int(rng.bounded(32)));
                break;
            }
        }
        return bytes;
    }

private slots:
    void brokenCorpus()
    {
        const QDir corpus(QStringLiteral(GYRE_TEST_MEDIA_DIR "/geo-fuzz"));
        const QStringList files = corpus.entryList(QDir::Files);
        QVERIFY2(files.size() > 40, qPrintable(corpus.path()));
        for (const QString& name : files) {
            QString why;
            QVERIFY2(readQuickly(contents(corpus.filePath(name)), &why), qPrintable(name + ": " + why));
        }
        // The good ones among them are read in full, also behind samples with a 64-bit size.
        for (const char* name : {"boxes-good.mp4", "boxes-after-64bit-mdat.mp4"}) {
            QByteArray good = contents(corpus.filePath(name));
            QBuffer buffer(&good);
            buffer.open(QIODevice::ReadOnly);
            const HPictureGeometry g = HPictureMetadata::read(buffer);
            QCOMPARE(g.stereo, int(HPictureGeometry::OverUnder));
            QVERIFY2(g.hasBounds && g.hasInitialView, name);
        }
    }

    void mutations_data()
    {
        QTest::addColumn<QString>("seed");
        for (const char* name :
             {"geo-sphere-sv3d-640x320.mp4", "geo-vr180-sbs-640x320.mp4", "geo-sphere-v1-ou-640x640.mp4",
              "geo-band-xmp-512x144.png", "geo-band-xmp-512x144.jpg"}) {
            QTest::addRow("%s", name) << QStringLiteral(GYRE_TEST_MEDIA_DIR "/") + name;
        }
    }
    void mutations()
    {
        QFETCH(QString, seed);
        QByteArray bytes = contents(seed);
        QVERIFY2(!bytes.isEmpty(), qPrintable(seed));
        // The samples of a video are of no interest to the reader: keep the fuzzing on the boxes.
        const int index = bytes.indexOf("moov");
        if (index > 4) {
            bytes = bytes.left(32) + bytes.mid(index - 4);
        }
        QRandomGenerator rng(20261207); // the same inputs every run
        for (int i = 0; i < mutationsPerSeed; ++i) {
            const QByteArray input = mutate(bytes, rng);
            QString why;
            QVERIFY2(readQuickly(input, &why), qPrintable(QString("mutation %1: %2").arg(i).arg(why)));
        }
    }
};

QTEST_GUILESS_MAIN(TestPictureMetadataFuzz)
#include "tst_picturemetadata_fuzz.moc"
