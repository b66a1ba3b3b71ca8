#include "app/HCoreObjects.h"
#include "video/HuiQuickVideoPlayerVlc.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QtTest>

// Every QML file compiled into the player must parse and resolve its imports, whichever screen it
// belongs to: a broken file would otherwise only show when a user reaches it.
class TestQmlResources : public QObject
{
    Q_OBJECT

private slots:
    // The interface's files import the core types, which the set-up registers, and the libvlc
    // item, which the set-up registers through the video plugin.
    void initTestCase()
    {
        HCoreObjects::registerQmlTypes();
        qmlRegisterType<HuiQuickVideoPlayerVlc>("VLCQt", 1, 0, "VlcVideoPlayer");
    }

    void bundlesAreRegistered_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addRow("main scene") << ":/qml/main_newui.qml";
        QTest::addRow("media player module") << ":/HVideo/qmldir";
        QTest::addRow("our catalogue") << ":/Translation/REzeva_de.qm";
        QTest::addRow("Qt catalogue") << ":/Translation/qt_de.qm";
    }
    void bundlesAreRegistered()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        QVERIFY(file.size() > 0);
    }

    void everyQmlFileCompiles_data()
    {
        QTest::addColumn<QString>("url");
        for (const QString& root : {QStringLiteral(":/qml"), QStringLiteral(":/HVideo")}) {
            QDirIterator it(root, {"*.qml"}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                QTest::addRow("%s", qPrintable(path)) << "qrc" + path;
            }
        }
    }
    void everyQmlFileCompiles()
    {
        QFETCH(QString, url);
        QQmlEngine engine;
        engine.addImportPath(":/");
        QQmlComponent component(&engine, QUrl(url), QQmlComponent::PreferSynchronous);
        QTRY_VERIFY(!component.isLoading());
        QVERIFY2(component.isReady(), qPrintable(component.errorString()));
    }
};

QTEST_MAIN(TestQmlResources)
#include "tst_qmlresources.moc"
