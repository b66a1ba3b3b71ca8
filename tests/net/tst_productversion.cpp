#include "net/ProductVersion.h"

#include <QtTest>

class TestProductVersion : public QObject
{
    Q_OBJECT

private slots:
    void displayString_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("display");
        QTest::addRow("release") << "1.0.0.400"
                                 << "1.0.0";
        QTest::addRow("later release build") << "1.0.0.417"
                                             << "1.0.0";
        QTest::addRow("beta") << "2.1.0.203"
                              << "2.1.0 Beta 3";
        QTest::addRow("internal") << "2.1.0.12"
                                  << "2.1.0 Internal 12";
        QTest::addRow("first internal") << "2.1.0.0"
                                        << "2.1.0 Internal 0";
        QTest::addRow("alpha") << "3.0.1.100"
                               << "3.0.1 Alpha 0";
        QTest::addRow("last alpha") << "3.0.1.199"
                                    << "3.0.1 Alpha 99";
        QTest::addRow("release candidate") << "3.0.1.302"
                                           << "3.0.1 RC 2";
        QTest::addRow("other separators") << "4.2-0 250"
                                          << "4.2.0 Beta 50";
    }
    void displayString()
    {
        QFETCH(QString, version);
        QFETCH(QString, display);
        QCOMPARE(ProductVersion(version).displayString(), display);
        QCOMPARE(ProductVersion(version).text(), version);
    }

    void newerThan_data()
    {
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("newer");
        QTest::addRow("equal") << "1.0.0.400"
                               << "1.0.0.400" << false;
        QTest::addRow("numeric, not textual") << "1.0.10.400"
                                              << "1.0.9.400" << true;
        QTest::addRow("numeric, reversed") << "1.0.9.400"
                                           << "1.0.10.400" << false;
        QTest::addRow("build number") << "1.0.0.401"
                                      << "1.0.0.400" << true;
        QTest::addRow("beta of next minor") << "1.1.0.201"
                                            << "1.0.0.400" << true;
        QTest::addRow("first difference decides") << "1.0.1.0"
                                                  << "1.0.0.999" << true;
        QTest::addRow("older major") << "0.9.9.400"
                                     << "1.0.0.400" << false;
        QTest::addRow("leading zeros") << "1.0.010.400"
                                       << "1.0.9.400" << true;
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
