#include "base/ProductVersion.h"

#include <QtTest>

class TestProductVersion : public QObject
{
    Q_OBJECT

private slots:
    void displayString_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("display");
        // The build number's hundreds name the stage, at each stage's bounds.
        const std::pair<const char*, const char*> rows[] = {{"1.0.0.400", "1.0.0"},
                                                            {"1.0.0.417", "1.0.0"},
                                                            {"2.1.0.203", "2.1.0 Beta 3"},
                                                            {"2.1.0.0", "2.1.0 Internal 0"},
                                                            {"2.1.0.12", "2.1.0 Internal 12"},
                                                            {"3.0.1.100", "3.0.1 Alpha 0"},
                                                            {"3.0.1.199", "3.0.1 Alpha 99"},
                                                            {"3.0.1.302", "3.0.1 RC 2"},
                                                            {"4.2-0 250", "4.2.0 Beta 50"}};
        for (const auto& [version, display] : rows) {
            QTest::newRow(version) << QString(version) << QString(display);
        }
    }
    void displayString()
    {
        QFETCH(QString, version);
        QFETCH(QString, display);
        QCOMPARE(ProductVersion(version).displayString(), display);
    }

    void newerThan_data()
    {
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("newer");
        const std::tuple<const char*, const char*, bool> rows[] = {
            {"1.0.0.400", "1.0.0.400", false},  {"1.0.10.400", "1.0.9.400", true},
            {"1.0.9.400", "1.0.10.400", false}, {"1.0.0.401", "1.0.0.400", true},
            {"1.1.0.201", "1.0.0.400", true},   {"1.0.1.0", "1.0.0.999", true},
            {"0.9.9.400", "1.0.0.400", false},  {"1.0.010.400", "1.0.9.400", true}};
        for (const auto& [candidate, current, newer] : rows) {
            QTest::addRow("%s vs %s", candidate, current) << QString(candidate) << QString(current) << newer;
        }
    }
    void newerThan()
    {
        QFETCH(QString, candidate);
        QFETCH(QString, current);
        QFETCH(bool, newer);
        QCOMPARE(ProductVersion(candidate).isNewerThan(ProductVersion(current)), newer);
    }
};

QTEST_GUILESS_MAIN(TestProductVersion)
#include "tst_productversion.moc"
