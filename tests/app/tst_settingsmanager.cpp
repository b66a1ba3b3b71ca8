#include "app/HSettingsManager.h"
#include "app/ProductInfo.h"

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
    static std::unique_ptr<HSettingsManager> freshStore()
    {
        QSettings(QSettings::UserScope, ProductInfo::organizationName(),
                  ProductInfo::settingsApplicationName())
            .clear();
        return openStore();
    }

private slots:
    void storesUnderTheOrganisationAndVersionedName()
    {
        auto store = freshStore();
        const QString expected = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Zelmo/Gyre Player 1.0.conf";
        QCOMPARE(store->fileName(), expected);
        store->setValue("application/touchMode", false);
        store->sync();
        QVERIFY(QFile::exists(expected));
        QSettings reread(expected, QSettings::NativeFormat);
        QCOMPARE(reread.value("application/touchMode").toBool(), false);
    }

    void firstRegisteredDefaultWins()
    {
        auto store = freshStore();
        QCOMPARE(store->value("k", 1).toInt(), 1);
        QCOMPARE(store->value("k", 2).toInt(), 2);
        QCOMPARE(store->getString("k"), QString("1"));
        QCOMPARE(store->getDateTime("k"), QDateTime());
        QVERIFY(!store->contains("k")); // registering a default never writes
    }

    void storedValueBeatsRegisteredDefault_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("asText");
        QTest::addRow("text") << QVariant("slave") << "slave";
        QTest::addRow("number") << QVariant(7755) << "7755";
        QTest::addRow("bool") << QVariant(true) << "true";
    }
    void storedValueBeatsRegisteredDefault()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, asText);
        auto store = freshStore();
        store->value("application/communication/state", "off");
        store->setValue("application/communication/state", stored);
        QCOMPARE(store->getString("application/communication/state"), asText);
    }

    void unknownKeyReadsEmptyAndInvalid()
    {
        auto store = freshStore();
        QCOMPARE(store->getString("application/language"), QString());
        QVERIFY(store->getString("application/language").isEmpty());
        QVERIFY(!store->getDateTime("general/last_update_check").isValid());
        // The invalid default now registered does not hide a later one from value().
        QCOMPARE(store->value("application/language", "de").toString(), QString("de"));
        QCOMPARE(store->getString("application/language"), QString());
    }

    void dateTimesSurviveTheRoundTrip()
    {
        auto store = freshStore();
        const QDateTime when(QDate(2026, 11, 29), QTime(14, 30, 5));
        store->setValue("general/last_update_check", when);
        store->sync();
        QCOMPARE(openStore()->getDateTime("general/last_update_check"), when);
    }

    void typedGettersDoNotRegister()
    {
        auto store = freshStore();
        QCOMPARE(store->getInt("application/communication/port", 7755), 7755);
        QCOMPARE(store->getBool("application/communication/orientation", true), true);
        QCOMPARE(store->getString("application/communication/ipMode", "localhost"), QString("localhost"));
        QCOMPARE(store->getString("application/communication/port"), QString());
    }

    void ensureValueWritesOnlyWhenMissing()
    {
        auto store = freshStore();
        QCOMPARE(store->ensureValue("application/touchMode", true).toBool(), true);
        QVERIFY(store->contains("application/touchMode"));
        store->setValue("application/touchMode", false);
        QCOMPARE(store->ensureValue("application/touchMode", true).toBool(), false);
    }
};

QTEST_GUILESS_MAIN(TestSettingsManager)
#include "tst_settingsmanager.moc"
