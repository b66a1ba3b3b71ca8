#include "media/HJpegReader.h"
#include "render/HTileBuilder.h"
#include "render/HTileLayout.h"
#include "render/HTileStore.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>

namespace {

// A photo with a different colour at every pixel, so that a tile taken from the wrong place shows.
QImage pattern(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            image.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x / 3 + y * 5) % 256, (x * y / 17) % 256));
        }
    }
    return image;
}

// The photo's pixels at a pyramid level: 2 x 2 averages of the level above, the last column and row
// repeated where the size is odd.
QImage atLevel(const QImage& whole, int times)
{
    QImage image = whole;
    for (int i = 0; i < times; ++i) {
        QImage half((image.width() + 1) / 2, (image.height() + 1) / 2, QImage::Format_RGB32);
        for (int y = 0; y < half.height(); ++y) {
            for (int x = 0; x < half.width(); ++x) {
                int sum[3] = {0, 0, 0};
                for (int dy = 0; dy < 2; ++dy) {
                    for (int dx = 0; dx < 2; ++dx) {
                        const QRgb p = image.pixel(std::min(2 * x + dx, image.width() - 1),
                                                   std::min(2 * y + dy, image.height() - 1));
                        sum[0] += qRed(p), sum[1] += qGreen(p), sum[2] += qBlue(p);
                    }
                }
                half.setPixel(x, y, qRgb((sum[0] + 2) / 4, (sum[1] + 2) / 4, (sum[2] + 2) / 4));
            }
        }
        image = half;
    }
    return image;
}

} // namespace

// The tiles the decoder writes for a photo, against the photo itself.
class TestTilePyramid : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString photo;
    QImage decoded;

    // Builds the tiles of that file into the store; the builder's verdict.
    static QString build(const QString& path, const HTileLayout& layout, std::shared_ptr<HTileStore> store)
    {
        std::atomic<bool> done{false};
        QString error;
        {
            HTileBuilder builder(path, layout, store);
            builder.start([&](const QString& failure) {
                error = failure;
                done = true;
            });
            if (!QTest::qWaitFor([&] { return done.load(); }, 20000)) {
                return QStringLiteral("timed out");
            }
        }
        return error;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        photo = dir.filePath("photo.jpg");
        QVERIFY(pattern(QSize(1300, 700)).save(photo, "JPEG", 100));
        // The decoder's own pixels are the reference: the same library decodes both.
        decoded = QImage(photo).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(HJpegReader::pictureSize(photo), QSize(1300, 700));
    }

    void tilesHoldThePictureAndTheirBorders_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        // Level 0: 3 x 2 tiles, the last column 280 and the last row 190 pixels; level 1: 2 x 1; level 2
        // one tile.
        QTest::addRow("first tile: the top repeated, the left across the wrap") << 0 << 0 << 0;
        QTest::addRow("middle of the bottom row") << 0 << 1 << 1;
        QTest::addRow("last, partial: the right across the wrap, the bottom repeated") << 0 << 2 << 1;
        QTest::addRow("halved, partial") << 1 << 1 << 0;
        QTest::addRow("the whole photo, a quarter as wide") << 2 << 0 << 0;
    }
    void tilesHoldThePictureAndTheirBorders()
    {
        QFETCH(int, level);
        QFETCH(int, column);
        QFETCH(int, row);
        const HTileLayout layout(decoded.size());
        QCOMPARE(layout.levels(), 3);
        auto store = std::make_shared<HTileStore>(dir.filePath("cache"), photo, layout);
        QString error;
        QVERIFY2(store->open(&error), qPrintable(error));
        if (!store->isComplete()) {
            QCOMPARE(build(photo, layout, store), QString());
        }
        const QByteArray tile = store->read(level, column, row);
        QCOMPARE(tile.size(), int(HTileStore::slotBytes));

        const QImage expected = level == 0 ? decoded : atLevel(decoded, level);
        const QRect rect = layout.tileRect(level, column, row);
        int worst = 0;
        double total = 0;
        for (int y = -1; y <= rect.height(); ++y) {
            for (int x = -1; x <= rect.width(); ++x) {
                const int sx = (rect.x() + x + expected.width()) % expected.width();
                const int sy = std::clamp(rect.y() + y, 0, expected.height() - 1);
                const QRgb want = expected.pixel(sx, sy);
                const auto* got = reinterpret_cast<const uchar*>(tile.constData()) +
                                  ((y + 1) * HTileLayout::slot + x + 1) * 3;
                const int off = std::max({std::abs(got[0] - qRed(want)), std::abs(got[1] - qGreen(want)),
                                          std::abs(got[2] - qBlue(want))});
                worst = std::max(worst, off);
                total += off;
            }
        }
        // The fine levels are the decoder's output and its averages, exactly; the coarse ones start
        // from the decoder's reduced output, close to averaging but not the same (a misplaced tile is off
        // by a quarter of the range and more on this pattern).
        const double mean = total / ((rect.width() + 2) * (rect.height() + 2));
        if (level < 2) {
            QCOMPARE(worst, 0);
        } else {
            QVERIFY2(mean <= 10, qPrintable(QString::number(mean)));
        }
    }

    void aCompleteStoreIsReusedUntilThePhotoChanges()
    {
        const HTileLayout layout(decoded.size());
        auto first = std::make_shared<HTileStore>(dir.filePath("cache"), photo, layout);
        QString error;
        QVERIFY(first->open(&error));
        if (!first->isComplete()) {
            QCOMPARE(build(photo, layout, first), QString());
        }
        const QByteArray tile = first->read(0, 1, 0);
        auto again = std::make_shared<HTileStore>(dir.filePath("cache"), photo, layout);
        QVERIFY(again->open(&error));
        QVERIFY(again->isComplete());
        QCOMPARE(again->read(0, 1, 0), tile);

        // A photo written anew under the same name has tiles of its own.
        QFile file(photo);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(
            file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        file.close();
        auto changed = std::make_shared<HTileStore>(dir.filePath("cache"), photo, layout);
        QVERIFY(changed->open(&error));
        QVERIFY(!changed->isComplete());
        QVERIFY(changed->read(0, 1, 0).isEmpty());
        HTileStore::trim(dir.filePath("cache"), 0, changed->directory());
        QCOMPARE(QDir(dir.filePath("cache")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    }

    // Whatever the file holds, the builder ends and says so; what it could decode stays readable.
    void damagedPhotosEndInAVerdict_data()
    {
        QTest::addColumn<int>("keep");
        QTest::addColumn<bool>("garbage");
        QTest::addRow("cut after its header") << 700 << false;
        QTest::addRow("cut halfway") << -50 << false;
        QTest::addRow("random bytes after the header") << -30 << true;
    }
    void damagedPhotosEndInAVerdict()
    {
        QFETCH(int, keep);
        QFETCH(bool, garbage);
        QFile source(photo);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray bytes = source.readAll();
        const int cut = keep > 0 ? keep : int(bytes.size() * -keep / 100);
        if (garbage) {
            for (int i = cut; i < bytes.size(); ++i) {
                bytes[i] = char((i * 2654435761u) >> 24);
            }
        } else {
            bytes.truncate(cut);
        }
        const QString damaged =
            dir.filePath(QString("damaged-%1.jpg").arg(QTest::currentDataTag()).replace(' ', '-'));
        QFile out(damaged);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        out.close();

        const HTileLayout layout(HJpegReader::pictureSize(damaged));
        QVERIFY(layout.isValid());
        auto store = std::make_shared<HTileStore>(dir.filePath("damaged"), damaged, layout);
        QString error;
        QVERIFY(store->open(&error));
        // libjpeg fills what is missing with grey and warns; corrupt data may also stop it.
        const QString verdict = build(damaged, layout, store);
        QVERIFY2(verdict != "timed out", qPrintable(verdict));
        QCOMPARE(store->isComplete(), verdict.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTilePyramid)
#include "tst_tilepyramid.moc"
