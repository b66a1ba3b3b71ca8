#include "SharedMemoryTestSupport.h"
#include "app/HSettingsManager.h"
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

    // Until QML hands over an effect source there is no texture, and the tick says nothing.
    void silentWithoutASource()
    {
        HTextureProvider provider(&window, &settings);
        QSignalSpy changed(&provider, &HTextureProvider::textureChanged);
        QTest::qWait(1300);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(provider.textureId(), 0);
    }

    // Frames from another process are polled sixty times a second from the start, producer or
    // not; the mode is read once, at construction. The wait for the producer ends with the provider,
    // which goes at the program's end after the last event has been handled.
    void sharedMemoryModePollsFromTheStart()
    {
        settings.setValue("application/sharedmemory", true);
        auto provider = std::make_unique<HTextureProvider>(&window, &settings);
        settings.setValue("application/sharedmemory", false);
        QVERIFY(provider->isSharedMemory());
        QSignalSpy changed(provider.get(), &HTextureProvider::textureChanged);
        QTest::qWait(500);
        // About 31 at 16 ms; a loaded machine may deliver fewer, never only the one-second tick.
        QVERIFY2(changed.count() >= 10, qPrintable(QString::number(changed.count())));
        provider.reset();
        QVERIFY(SharedMemoryTestSupport::attachThreadEnds());
    }
};

QTEST_MAIN(TestTextureProvider)
#include "tst_textureprovider.moc"
