#include "HostileDatagrams.h"
#include "net/HBinaryJsonValidator.h"
#include "net/HSyncDatagram.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QtTest>

// A slave's datagram decoding fed with crafted datagrams and with all that Qt writes. Built with
// AddressSanitizer and UndefinedBehaviorSanitizer (the decoding sources are compiled into this
// program; the core library is not sanitized), so a read outside the datagram, by our check or by
// Qt's reader behind it, ends the run with a report. Mutated datagrams are the fuzz target's
// (fuzz/fuzz_datagram.cpp).
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

namespace {
const HBinaryJsonValidator::Limits limits;

QString randomText(QRandomGenerator& rng, bool wide)
{
    static const QString latin = QStringLiteral("abcXYZ019 _./:éüß");
    static const QString other = QStringLiteral("€日本語ŁŒ✓");
    QString text;
    const int length = rng.bounded(wide ? 12 : 40);
    for (int i = 0; i < length; ++i) {
        const QString& pool = wide && rng.bounded(2) ? other : latin;
        text += pool.at(rng.bounded(pool.size()));
    }
    return text;
}

QJsonValue randomValue(QRandomGenerator& rng, int depth);

QJsonObject randomObject(QRandomGenerator& rng, int depth)
{
    QJsonObject object;
    const int members = rng.bounded(depth > 2 ? 3 : 7);
    for (int i = 0; i < members; ++i) {
        object.insert(randomText(rng, rng.bounded(4) == 0), randomValue(rng, depth + 1));
    }
    return object;
}

QJsonValue randomValue(QRandomGenerator& rng, int depth)
{
    switch (rng.bounded(depth > 3 ? 6 : 8)) {
    case 0:
        return QJsonValue(QJsonValue::Null);
    case 1:
        return rng.bounded(2) == 1;
    case 2:
        // Small integers are stored inside the value word; the others as doubles.
        return rng.bounded(2) ? double(rng.bounded(-1000, 1000)) : double(rng.generate64() >> 11);
    case 3:
        return rng.generateDouble() * 1e6 - 5e5;
    case 4:
    case 5:
        return randomText(rng, rng.bounded(2) == 1);
    case 6: {
        QJsonArray array;
        const int length = rng.bounded(5);
        for (int i = 0; i < length; ++i) {
            array.append(randomValue(rng, depth + 1));
        }
        return array;
    }
    default:
        return randomObject(rng, depth + 1);
    }
}

QByteArray binary(const QJsonObject& object)
{
    return QJsonDocument(object).toBinaryData();
}

} // namespace

class TestSyncDatagramFuzz : public QObject
{
    Q_OBJECT

private slots:
    void craftedDocumentsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        for (const auto& [name, bytes] : HostileDatagrams::crafted()) {
            QTest::addRow("%s", name) << bytes;
        }
    }
    void craftedDocumentsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        const HBinaryJsonValidator::Result result =
            HBinaryJsonValidator::check(bytes.constData(), std::size_t(bytes.size()));
        QVERIFY(!result.accepted);
        QVERIFY(result.values <= limits.maxValues);
        QVERIFY(!HSyncDatagram::fromBinary(bytes));
    }

    // Whatever Qt writes passes, however it is nested, and reads back as written.
    void whatQtWritesIsAccepted()
    {
        QRandomGenerator rng(2024);
        for (int i = 0; i < 3000; ++i) {
            const QJsonObject object = randomObject(rng, 0);
            if (object.isEmpty()) {
                continue; // Qt writes no bytes at all for it
            }
            const QByteArray bytes = binary(object);
            const HBinaryJsonValidator::Result result =
                HBinaryJsonValidator::check(bytes.constData(), std::size_t(bytes.size()));
            QVERIFY2(result.accepted, bytes.toHex().constData());
            QVERIFY(result.stringBytes <= quint64(bytes.size()));
            QCOMPARE(QJsonDocument::fromBinaryData(bytes).object(), object);
        }
        // An array passes the check, but is no datagram; nor is an empty object.
        const QByteArray array =
            QJsonDocument(QJsonArray{1, "two", QJsonArray(), QJsonObject()}).toBinaryData();
        QVERIFY(HBinaryJsonValidator::isAcceptable(array.constData(), std::size_t(array.size())));
        QVERIFY(!HSyncDatagram::fromBinary(array));
        QVERIFY(!HSyncDatagram::fromBinary(binary(QJsonObject())));
    }

    // Members of other types or out of range read as something harmless.
    void oddMembersReadAsHarmlessValues_data()
    {
        QTest::addColumn<QJsonObject>("object");
        QTest::addColumn<int>("position");
        QTest::addRow("missing members") << QJsonObject{{"id", "hvd"}} << 0;
        QTest::addRow("text where numbers go")
            << QJsonObject{{"yaw", "north"}, {"position", "late"}, {"clock", "soon"}} << 0;
        QTest::addRow("beyond float and int")
            << QJsonObject{{"yaw", 1e300}, {"position", 1e300}, {"clock", 1e300}, {"rate", 1e9}}
            << 2147483647;
        QTest::addRow("below int") << QJsonObject{{"position", -1e12}, {"clock", -5.0}, {"rate", 0}}
                                   << int(-2147483647 - 1);
    }
    void oddMembersReadAsHarmlessValues()
    {
        QFETCH(QJsonObject, object);
        QFETCH(int, position);
        const std::optional<HSyncDatagram> received = HSyncDatagram::fromBinary(binary(object));
        QVERIFY(received);
        QCOMPARE(received->yaw, 0.0f);
        QCOMPARE(received->position, position);
        // No usable stamp: the datagram is followed as an old master's.
        QVERIFY(!received->hasClock());
        QCOMPARE(received->rate, 1.0);
    }
};

QT_WARNING_POP

QTEST_GUILESS_MAIN(TestSyncDatagramFuzz)
#include "tst_syncdatagram_fuzz.moc"
