#include "SharedMemoryTestSupport.h"
#include "base/HSettingsManager.h"
#include "render/HTextureProvider.h"

#include <QQuickWindow>
#include <QtTest>

#include <memory>

// The texture provider's modes and its announcements before any scene graph is involved; the
// scene-graph path is exercised with the view in tst_veyrixview.
class TestTextureProvider : public QObject
{
    Q_OBJECT

private:
    HSettingsManager settings{QSettings::UserScope, "Zelmo", "Gyre Player test"};
    QQuickWindow window;

private slots:
    // Runs first, on the fresh profile of the test run.
    void firstStartWritesSceneGraphMode()
    {
        QVERIFY(!settings.contains("application/sharedmemory"));
        HTextureProvider provider(&window, &settings);
        QVERIFY(!provider.isSharedMemory());
        settings.sync();
        QSettings stored(settings.fileName(), QSettings::NativeFormat);
        QVERIFY(stored.contains("application/sharedmemory"));
        QCOMPARE(stored.value("application/sharedmemory").toBool(), false);
    }

    // Nothing to show, nothing announced: no effect source handed over yet, or no producer writing
    // into the ring. The mode is read once, at construction; the wait for the producer ends with the
    // provider, which goes at the program's end after the last event has been handled.
    void silentWithoutFrames_data()
    {
        QTest::addColumn<bool>("sharedMemory");
        QTest::addRow("scene graph") << false;
        QTest::addRow("shared memory, no producer") << true;
    }
    void silentWithoutFrames()
    {
        QFETCH(bool, sharedMemory);
        settings.setValue("application/sharedmemory", sharedMemory);
        auto provider = std::make_unique<HTextureProvider>(&window, &settings);
        settings.setValue("application/sharedmemory", false);
        QCOMPARE(provider->isSharedMemory(), sharedMemory);
        QSignalSpy changed(provider.get(), &HTextureProvider::textureChanged);
        QTest::qWait(500);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(provider->textureId(), 0);
        provider.reset();
        QVERIFY(SharedMemoryTestSupport::attachThreadEnds());
    }
};

QTEST_MAIN(TestTextureProvider)
#include "tst_textureprovider.moc"
