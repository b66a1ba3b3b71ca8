#include "base/ProductVersion.h"

#include <QtTest>

// The order of versions, on which the update checker decides what is newer.
class TestProductVersion : public QObject
{
    Q_OBJECT

private slots:
    void compare_data()
    {
        QTest::addColumn<QString>("older");
        QTest::addColumn<QString>("newer");
        QTest::addRow("numbers, not text") << "1.0.9"
                                           << "1.0.10";
        QTest::addRow("release after its candidate") << "1.0.9-rc1"
                                                     << "1.0.9";
        QTest::addRow("candidate after the release before") << "1.0.8"
                                                            << "1.0.9-rc1";
        QTest::addRow("candidates by number") << "1.0.9-rc9"
                                              << "1.0.9-rc10";
        QTest::addRow("beta before candidate") << "1.0.9-beta2"
                                               << "1.0.9-rc1";
        QTest::addRow("build numbers") << "2.1.0.399"
                                       << "2.1.0.1000";
        QTest::addRow("a missing part is 0") << "1.0"
                                             << "1.0.0.1";
        QTest::addRow("equal") << "1.0.0.400"
                               << "1.0.0.400";
        QTest::addRow("equal when padded") << "1.2"
                                           << "1.2.0.0";
    }

    void compare()
    {
        QFETCH(QString, older);
        QFETCH(QString, newer);
        const int expected = QString(QTest::currentDataTag()).startsWith("equal") ? 0 : 1;
        QCOMPARE(ProductVersion::compare(newer, older), expected);
        QCOMPARE(ProductVersion::compare(older, newer), -expected);
        QCOMPARE(ProductVersion(newer).isNewerThan(ProductVersion(older)), expected == 1);
    }
};

QTEST_MAIN(TestProductVersion)
#include "tst_productversion.moc"
