#include "base/HSettingsManager.h"
#include "base/ProductInfo.h"

#include <QtTest>

#include <memory>

class TestSettingsManager : public QObject
{
    Q_OBJECT

private:
    static std::unique_ptr<HSettingsManager> openStore()
    {
        return std::make_unique<HSettingsManager>(QSettings::UserScope, ProductInfo::organizationName(),
                                                  ProductInfo::settingsApplicationName());
    }

private slots:
    void init()
    {
        QSettings(QSettings::UserScope, ProductInfo::organizationName(),
                  ProductInfo::settingsApplicationName())
            .clear();
    }

    void storesUnderTheOrganisationAndVersionedName()
    {
        auto store = openStore();
        const QString expected = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Zelmo/Gyre Player 1.0.conf";
        QCOMPARE(store->fileName(), expected);
        const QDateTime when(QDate(2026, 11, 29), QTime(14, 30, 5));
        store->setValue("general/last_update_check", when);
        store->sync();
        QCOMPARE(QSettings(expected, QSettings::NativeFormat).value("general/last_update_check"),
                 QVariant(when));
        QCOMPARE(openStore()->getDateTime("general/last_update_check"), when);
    }

    void firstRegisteredDefaultWins()
    {
        auto store = openStore();
        QCOMPARE(store->value("k", 1).toInt(), 1);
        QCOMPARE(store->value("k", 2).toInt(), 2);
        QCOMPARE(store->getString("k"), QString("1"));
        QVERIFY(!store->contains("k")); // registering a default never writes
        store->setValue("k", 7755);
        QCOMPARE(store->getString("k"), QString("7755"));
    }

    void unknownKeyReadsEmptyAndInvalid()
    {
        auto store = openStore();
        QCOMPARE(store->getString("application/language"), QString());
        QVERIFY(!store->getDateTime("general/last_update_check").isValid());
        // The invalid default now registered does not hide a later one from value().
        QCOMPARE(store->value("application/language", "de").toString(), QString("de"));
    }

    void typedGettersDoNotRegister()
    {
        auto store = openStore();
        QCOMPARE(store->getInt("application/communication/port", 7755), 7755);
        QCOMPARE(store->getBool("application/communication/orientation", true), true);
        QCOMPARE(store->getString("application/communication/port"), QString());
    }

    void ensureValueWritesOnlyWhenMissing()
    {
        auto store = openStore();
        QCOMPARE(store->ensureValue("application/touchMode", true).toBool(), true);
        QVERIFY(store->contains("application/touchMode"));
        store->setValue("application/touchMode", false);
        QCOMPARE(store->ensureValue("application/touchMode", true).toBool(), false);
    }
};

QTEST_GUILESS_MAIN(TestSettingsManager)
#include "tst_settingsmanager.moc"
