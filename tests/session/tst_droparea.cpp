#include "RecordingMediaLoader.h"
#include "base/HSettingsManager.h"
#include "session/HDropArea.h"
#include "session/HGlobalObject.h"

#include <QQmlContext>
#include <QQuickView>
#include <QtTest>

// Drops onto the drop area of a scene wired as the main scene wires it: whatever arrives is
// opened through the global object.
class TestDropArea : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir directory;
    HSettingsManager settings{QSettings::UserScope, "Zelmo", "Gyre Player test"};

private slots:
    void initTestCase()
    {
        // Events are all this test needs from the window; no OpenGL.
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        qmlRegisterType<HDropArea>("Veyrix", 1, 0, "HDropArea");
        QFile scene(directory.filePath("scene.qml"));
        QVERIFY(scene.open(QIODevice::WriteOnly));
        scene.write("import QtQuick 2.0\nimport Veyrix 1.0\n"
                    "Item { width: 400; height: 300\n"
                    "  HDropArea { objectName: 'dropArea'; anchors.fill: parent\n"
                    "    onFilePathListChanged: hGlobalObject.openFiles(filePathList) } }\n");
    }

    void drops_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("drops");
        QTest::addRow("one file") << QStringList{"reef.mp4"} << 1;
        QTest::addRow("the same file twice") << QStringList{"reef.mp4"} << 2;
        QTest::addRow("three files, as listed") << QStringList{"c #1.jpg", "a b.jpg", "ö.png"} << 1;
        QTest::addRow("plain text") << QStringList() << 1;
    }
    void drops()
    {
        QFETCH(QStringList, names);
        QFETCH(int, drops);
        QList<QUrl> urls;
        for (const QString& name : names) {
            urls << QUrl::fromLocalFile(directory.filePath(name));
        }
        HGlobalObject global(&settings);
        RecordingMediaLoader loader;
        loader.attach(global);
        QQuickView view;
        view.rootContext()->setContextProperty("hGlobalObject", &global);
        view.setSource(QUrl::fromLocalFile(directory.filePath("scene.qml")));
        QVERIFY2(view.errors().isEmpty(), qPrintable(view.errors().value(0).toString()));
        auto* dropArea = view.rootObject()->findChild<HDropArea*>("dropArea");
        QVERIFY(dropArea);
        QSignalSpy changes(dropArea, &HDropArea::filePathListChanged);

        QMimeData mime;
        if (urls.isEmpty()) {
            mime.setText("just some words");
        } else {
            mime.setUrls(urls);
        }
        const QPoint where(200, 150);
        for (int i = 0; i < drops; ++i) {
            QDragEnterEvent enter(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&view, &enter);
            QVERIFY(enter.isAccepted()); // any drag is welcome: the item accepts drops
            QDropEvent drop(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&view, &drop);
        }

        QCOMPARE(changes.count(), urls.isEmpty() ? 0 : drops);
        QCOMPARE(dropArea->filePathList(), urls);
        QCOMPARE(global.playList(), urls.size() > 1 ? urls : QList<QUrl>());
        QList<QVariantList> expected;
        for (int i = 0; i < changes.count(); ++i) {
            expected << RecordingMediaLoader::opening(urls.first(), true);
        }
        QCOMPARE(loader.calls, expected);
    }
};

QTEST_MAIN(TestDropArea)
#include "tst_droparea.moc"
