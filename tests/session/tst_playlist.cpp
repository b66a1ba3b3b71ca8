#include "RecordingMediaLoader.h"
#include "base/HSettingsManager.h"
#include "session/HGlobalObject.h"

#include <QtTest>

#include <cmath>

// The playlist half of the global object, driven as QML drives it, on real files.
class TestPlaylist : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir directory;
    HSettingsManager settings{QSettings::UserScope, "Zelmo", "Gyre Player test"};

    // Creates the file (and its folders) in the temporary directory; returns its absolute path.
    QString file(const QString& name, const QByteArray& contents = QByteArray())
    {
        const QString path = directory.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(contents) != contents.size()) {
            qFatal("cannot write %s", qPrintable(path));
        }
        return path;
    }
    QList<QUrl> urls(const QStringList& names)
    {
        QList<QUrl> result;
        for (const QString& name : names) {
            result << QUrl::fromLocalFile(directory.filePath(name));
        }
        return result;
    }

private slots:
    void openOneOrMany_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("checkFile");
        QTest::addColumn<int>("entries");
        QTest::addRow("one movie") << QStringList{"movie.mp4"} << true << 0;
        QTest::addRow("one movie, unchecked") << QStringList{"movie.mp4"} << false << 0;
        QTest::addRow("upper-case VXPL is a media") << QStringList{"list.VXPL"} << true << 0;
        // Playlist entries are always checked, whatever the call asked.
        QTest::addRow("three files") << QStringList{"b.jpg", "a b.jpg", "näkymä.mp4"} << false << 3;
    }
    void openOneOrMany()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, checkFile);
        QFETCH(int, entries);
        QStringList paths;
        for (const QString& name : names) {
            paths << file(name);
        }
        HGlobalObject object(&settings);
        RecordingMediaLoader loader;
        loader.attach(object);
        QVERIFY(object.playListIsEmpty());
        object.setYaw(1.0f, true);
        QSignalSpy matrixSpy(&object, &HGlobalObject::rotationMatrixChanged);

        object.openFiles(paths, checkFile);

        QCOMPARE(object.playList().size(), entries);
        QCOMPARE(object.playListIndex(), entries ? 0 : -1);
        QCOMPARE(object.playListIsEmpty(), entries < 2);
        QCOMPARE(loader.calls, QList<QVariantList>{RecordingMediaLoader::opening(
                                   urls(names).first(), entries ? true : checkFile)});
        QCOMPARE(loader.calls.first().first().userType(), int(QMetaType::QUrl));
        if (entries) {
            QCOMPARE(object.playList(), urls(names));
        }
        // Each opening looks straight ahead again: yaw 0, pitch clamped from 0, one new matrix.
        QCOMPARE(object.yaw(), 0.0f);
        QCOMPARE(object.pitch(), -0.2617994f);
        QCOMPARE(matrixSpy.count(), 1);
        QVERIFY(std::abs(object.rotationMatrix()(1, 2) - std::sin(-0.2617994f)) < 1e-6f);
        QVERIFY(std::abs(object.rotationMatrix()(2, 2) - std::cos(-0.2617994f)) < 1e-6f);
    }

    void stepping()
    {
        HGlobalObject object(&settings);
        RecordingMediaLoader loader;
        loader.attach(object);
        QSignalSpy indexSpy(&object, &HGlobalObject::playListIndexChanged);
        // Empty: next lands on 0 and previous on -1, announced but nothing opened.
        object.playListSetNext();
        QCOMPARE(object.playListIndex(), 0);
        object.playListSetPrevious();
        QCOMPARE(object.playListIndex(), -1);
        QCOMPARE(indexSpy.count(), 2);
        QVERIFY(loader.calls.isEmpty());

        const QList<QUrl> media = urls({"a.jpg", "b.mp4", "c.png"});
        object.openFiles(media);
        object.playListSetPrevious();
        QCOMPARE(object.playListIndex(), 2);
        object.playListSetNext();
        QCOMPARE(object.playListIndex(), 0);
        object.playListSetNext();
        QVERIFY(object.setProperty("playListIndex", 1)); // the same index: nothing happens
        QVERIFY(object.setProperty("playListIndex", 7)); // outside: announced, nothing opened
        QCOMPARE(object.playListIndex(), 7);
        QCOMPARE(loader.calls, (QList<QVariantList>{RecordingMediaLoader::opening(media[0], true),
                                                    RecordingMediaLoader::opening(media[2], true),
                                                    RecordingMediaLoader::opening(media[0], true),
                                                    RecordingMediaLoader::opening(media[1], true)}));

        object.openFiles(urls({"a.b.mp4", "README", "Kesä ilta.jpg"}));
        QCOMPARE(object.getPlayListNames(), (QList<QString>{"a.b", "README", "Kesä ilta"}));
        object.clearPlayList();
        QCOMPARE(object.playListIndex(), -1);
        QVERIFY(object.getPlayListNames().isEmpty());
    }

    void playlistFile()
    {
        const QString list = file("lists/tour.vxpl", R"([
            {"media": "one.mp4", "logo": "logos/one.png"},
            {"media": "sub dir/två.jpg", "logo": "/srv/logos/two.png"},
            {"media": "one.mp4", "logo": "later.png"},
            {"logo": 5}
        ])");
        HGlobalObject object(&settings);
        RecordingMediaLoader loader;
        loader.attach(object);
        object.openFile(list, false);

        const QList<QUrl> media = urls({"lists/one.mp4", "lists/sub dir/två.jpg", "lists/one.mp4", "lists"});
        QCOMPARE(object.playList(), media);
        QCOMPARE(object.playListIndex(), 0);
        QCOMPARE(loader.calls, QList<QVariantList>{RecordingMediaLoader::opening(media[0], true)});
        // The later entry for the same media replaces its logo; a logo that is not text names the folder.
        QCOMPARE(object.getDynamicLogo(media[0]), urls({"lists/later.png"}).first());
        QCOMPARE(object.getDynamicLogo(media[1]), QUrl("file:///srv/logos/two.png"));
        QCOMPARE(object.getDynamicLogo(media[3]), media[3]);
        QCOMPARE(object.getDynamicLogo(QUrl::fromLocalFile(list)), QUrl());
    }

    void brokenPlaylistFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("error");
        QTest::addRow("unreadable") << "gone.vxpl" << QByteArray() << "Error : cannot open file .vxpl";
        QTest::addRow("empty") << "empty.vxpl" << QByteArray() << "Error : cannot parse json";
        QTest::addRow("cut short") << "short.vxpl" << QByteArray(R"([{"media": )")
                                   << "Error : cannot parse json";
        QTest::addRow("an object") << "object.vxpl" << QByteArray("{}") << "Error : json is not an array";
        QTest::addRow("no entry") << "none.vxpl" << QByteArray(" [ ]\n") << "Error : json is empty";
    }
    void brokenPlaylistFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        QFETCH(QString, error);
        const QString path = name == "gone.vxpl" ? directory.filePath(name) : file(name, contents);
        HGlobalObject object(&settings);
        RecordingMediaLoader loader;
        object.openFiles(urls({"a.jpg", "b.jpg"}));
        loader.attach(object);
        object.setYaw(1.0f, true);

        object.openFiles(QList<QUrl>{QUrl::fromLocalFile(path)}, false);

        QCOMPARE(loader.calls, QList<QVariantList>{RecordingMediaLoader::failing(false, error)});
        QCOMPARE(loader.calls.first().first().userType(), int(QMetaType::QString));
        QVERIFY(object.playList().isEmpty());
        QCOMPARE(object.playListIndex(), -1);
        QCOMPARE(object.yaw(), 1.0f);
    }

    void textToUrl_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("url");
        QTest::addRow("plain path") << "/home/ana/reef.mp4" << QByteArray("file:///home/ana/reef.mp4");
        QTest::addRow("spaces and non-ASCII")
            << "/home/ana/Kesä ilta 360.mp4" << QByteArray("file:///home/ana/Kes%C3%A4%20ilta%20360.mp4");
        QTest::addRow("hash and question mark")
            << "/home/ana/take #2?.mp4" << QByteArray("file:///home/ana/take%20%232%3F.mp4");
        QTest::addRow("relative path") << "clips/a b.mp4" << QByteArray("file:clips/a%20b.mp4");
        QTest::addRow("file URL") << "file:///home/ana/Kes%C3%A4.mp4"
                                  << QByteArray("file:///home/ana/Kes%C3%A4.mp4");
        QTest::addRow("file URL as typed")
            << "file:///home/ana/Kesä ilta.mp4" << QByteArray("file:///home/ana/Kes%C3%A4%20ilta.mp4");
        QTest::addRow("http") << "http://example.org/a b.mp4" << QByteArray("http://example.org/a%20b.mp4");
        QTest::addRow("https") << "HTTPS://Example.org/live.m3u8?k=1"
                               << QByteArray("https://example.org/live.m3u8?k=1");
    }
    void textToUrl()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, url);
        HGlobalObject object(&settings);
        RecordingMediaLoader loader;
        loader.attach(object);
        object.openFile(text);
        QCOMPARE(loader.calls.size(), 1);
        QCOMPARE(loader.calls.first().first().toUrl().toEncoded(), url);
    }

    void questionsAboutAUrl_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<bool>("image");
        QTest::addColumn<bool>("video");
        QTest::addRow("JPG") << QUrl("file:///a/b.JPG") << true << false;
        QTest::addRow("png") << QUrl("file:///a/c%20d.png") << true << false;
        QTest::addRow("MKV") << QUrl("file:///a/b.MKV") << false << true;
        QTest::addRow("stream") << QUrl("https://example.org/live.m3u8") << false << true;
        QTest::addRow("signed link") << QUrl("https://cdn.example.org/v/reef.mp4?token=a.b&e=1") << false
                                     << true;
        QTest::addRow("photo with a fragment") << QUrl("https://example.org/p/a.jpg#view") << true << false;
        QTest::addRow("no suffix") << QUrl("file:///a/README") << false << false;
        QTest::addRow("archive") << QUrl("file:///a/b.mp4.zip") << false << false;
    }
    void questionsAboutAUrl()
    {
        QFETCH(QUrl, url);
        QFETCH(bool, image);
        QFETCH(bool, video);
        HGlobalObject object(&settings);
        QCOMPARE(object.isImageFile(url), image);
        QCOMPARE(object.isVideoFile(url), video);
        QVERIFY(object.isValidFilePath(url));
        QCOMPARE(object.checkFilePath(url), url);
        QCOMPARE(object.checkFilePath(QUrl("qrc:/x.png")), QUrl("file:/x.png"));
    }

    void photoTimer_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("interval");
        QTest::addRow("first start") << QVariant() << 30000;
        QTest::addRow("stored") << QVariant(40) << 40;
        QTest::addRow("zero") << QVariant(0) << 30000;
        QTest::addRow("not a number") << QVariant("soon") << 30000;
    }
    void photoTimer()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, interval);
        HSettingsManager store(QSettings::UserScope, "Zelmo",
                               QString("timer %1").arg(QTest::currentDataTag()));
        if (stored.isValid()) {
            store.setValue("application/playlist/imageDisplayDuration", stored);
        }
        HGlobalObject object(&store);
        QCOMPARE(object.imageDisplayDuration(), interval);
        store.sync();
        QCOMPARE(QSettings(store.fileName(), QSettings::NativeFormat)
                     .value("application/playlist/imageDisplayDuration"),
                 stored.isValid() ? stored : QVariant(30000));
        if (interval != 40) {
            return;
        }

        // Before the loader registers, the index still moves; afterwards each step opens the entry.
        object.openFiles(urls({"a.jpg", "b.jpg", "c.jpg"}));
        object.startTimerNextImage();
        QTRY_COMPARE(object.playListIndex(), 1);
        QTest::qWait(150); // a stopped timer stays stopped until the next photo restarts it
        QCOMPARE(object.playListIndex(), 1);
        RecordingMediaLoader loader;
        loader.attach(object);
        object.startTimerNextImage();
        QTRY_COMPARE(object.playListIndex(), 2);
        QCOMPARE(loader.calls,
                 QList<QVariantList>{RecordingMediaLoader::opening(urls({"c.jpg"}).first(), true)});
    }

    // The loader belongs to the QML scene, which may go first.
    void loaderDeletedFirst()
    {
        HGlobalObject object(&settings);
        auto* loader = new RecordingMediaLoader;
        object.setMediaLoader(loader);
        object.openFiles(urls({"a.jpg", "b.jpg"}));
        delete loader;
        object.playListSetNext();
        QCOMPARE(object.playListIndex(), 1);
    }
};

QTEST_MAIN(TestPlaylist)
#include "tst_playlist.moc"
