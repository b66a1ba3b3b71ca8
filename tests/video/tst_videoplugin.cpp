#include "base/HSettingsManager.h"
#include "video/HVideoPlugin.h"
#include "video/HuiQuickVideoPlayerVlc.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QtTest>

#include <vlc/vlc.h>

#include <memory>

// The choice of video back end, the hardware-decoding flag it drives, and the libvlc instance that
// the flag shapes.
class TestVideoPlugin : public QObject
{
    Q_OBJECT

private:
    // Each case gets a store of its own, empty at first.
    std::unique_ptr<HSettingsManager> freshStore()
    {
        return std::make_unique<HSettingsManager>(QSettings::UserScope, "Zelmo",
                                                  QString("videoplugin-%1").arg(++stores));
    }
    int stores = 0;

private slots:
    void firstStartOffersTheLinuxBackEnds()
    {
        auto store = freshStore();
        bool hardwareDecoding = true;
        HVideoPlugin plugin(store.get(), &hardwareDecoding);
        QCOMPARE(plugin.getCurrentPlugin(), QString("vlc"));
        QCOMPARE(hardwareDecoding, false);
        QVERIFY(!store->contains("application/videoPlugin"));

        const QVariantList list = plugin.pluginsList();
        QCOMPARE(list.size(), 3);
        QStringList identifiers;
        for (const QVariant& entry : list) {
            QCOMPARE(entry.toStringList().size(), 3);
            identifiers << entry.toStringList().first();
        }
        QCOMPARE(identifiers, (QStringList{"vlc", "vlc_hw", "gst"}));
        QCOMPARE(list[0].toStringList()[2],
                 QString("With VLC backend you should play any video, current version is  '%1'")
                     .arg(libvlc_get_version()));
        QCOMPARE(list[1].toStringList()[1], QString("VLC with hardware decoding"));
        QVERIFY(list[1].toStringList()[2].contains("VA-API"));
        QCOMPARE(list[2].toStringList()[1], QString("Qt Multimedia"));
    }

    void storedChoiceSetsTheFlag_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("flagBefore");
        QTest::addColumn<bool>("flagAfter");
        QTest::addRow("hardware") << "vlc_hw" << false << true;
        QTest::addRow("software clears a stale flag") << "vlc" << true << false;
        QTest::addRow("unknown identifier is kept") << "wmf" << true << false;
    }
    void storedChoiceSetsTheFlag()
    {
        QFETCH(QString, stored);
        QFETCH(bool, flagBefore);
        QFETCH(bool, flagAfter);
        auto store = freshStore();
        store->setValue("application/videoPlugin", stored);
        bool hardwareDecoding = flagBefore;
        HVideoPlugin plugin(store.get(), &hardwareDecoding);
        QCOMPARE(plugin.getCurrentPlugin(), stored);
        QCOMPARE(hardwareDecoding, flagAfter);
    }

    void choosingWritesOnceAndTheInstanceKeepsItsArguments()
    {
        auto store = freshStore();
        bool hardwareDecoding = false;
        HVideoPlugin plugin(store.get(), &hardwareDecoding);
        // The first player creates the process's libvlc instance while the flag is off.
        auto player = std::make_unique<HuiQuickVideoPlayerVlc>();
        const QStringList arguments = HuiQuickVideoPlayerVlc::sharedInstanceArguments();
        QCOMPARE(arguments, HuiQuickVideoPlayerVlc::instanceArguments(false));

        QSignalSpy changed(&plugin, &HVideoPlugin::currentPluginChanged);
        QSignalSpy message(&plugin, &HVideoPlugin::displayMessage);
        plugin.setProperty("currentPlugin", "vlc_hw");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(message.count(), 1);
        QCOMPARE(message.first().first().toString(),
                 QString("You must restart to apply modifications on video plugin."));
        QCOMPARE(store->getString("application/videoPlugin", QString()), QString("vlc_hw"));
        QCOMPARE(hardwareDecoding, true);

        plugin.setCurrentPlugin("vlc_hw");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(message.count(), 1);
        QCOMPARE(hardwareDecoding, true);

        // A new player still uses the instance made before the change.
        player = std::make_unique<HuiQuickVideoPlayerVlc>();
        QCOMPARE(HuiQuickVideoPlayerVlc::sharedInstanceArguments(), arguments);

        plugin.setCurrentPlugin("vlc");
        QCOMPARE(hardwareDecoding, false);
        QCOMPARE(changed.count(), 2);
    }

    void libvlcAcceptsBothArgumentLists_data()
    {
        QTest::addColumn<bool>("hardwareDecoding");
        QTest::addRow("software") << false;
        QTest::addRow("hardware") << true;
    }
    void libvlcAcceptsBothArgumentLists()
    {
        QFETCH(bool, hardwareDecoding);
        const QStringList arguments = HuiQuickVideoPlayerVlc::instanceArguments(hardwareDecoding);
        QCOMPARE(arguments.contains("--avcodec-hw=vaapi"), hardwareDecoding);
        QByteArrayList storage;
        std::vector<const char*> argv;
        for (const QString& argument : arguments) {
            storage << argument.toUtf8();
            argv.push_back(storage.last().constData());
        }
        // libvlc refuses an argument list with an unknown option outright.
        libvlc_instance_t* instance = libvlc_new(int(argv.size()), argv.data());
        QVERIFY(instance);
        libvlc_release(instance);
    }

    void qmlSeesThePlayerType()
    {
        auto store = freshStore();
        bool hardwareDecoding = false;
        HVideoPlugin plugin(store.get(), &hardwareDecoding);
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import VLCQt 1.0\n"
                          "VlcVideoPlayer { nativeSize: true; volume: 0.25\n"
                          "    property int ended: VlcVideoPlayer.Ended }",
                          QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        auto* player = qobject_cast<HuiQuickVideoPlayerVlc*>(object.get());
        QVERIFY(player);
        QCOMPARE(player->getNativeSize(), true);
        QCOMPARE(player->getVolume(), 0.25f);
        QCOMPARE(object->property("ended").toInt(), 6);
    }
};

QTEST_MAIN(TestVideoPlugin)
#include "tst_videoplugin.moc"
