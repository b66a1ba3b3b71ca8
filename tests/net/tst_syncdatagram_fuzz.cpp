#include "HostileDatagrams.h"
#include "net/HBinaryJsonValidator.h"
#include "net/HSyncDatagram.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <limits>

// A slave's datagram decoding fed with crafted and mutated datagrams. Built with AddressSanitizer
// and UndefinedBehaviorSanitizer (the decoding sources are compiled into this program; the core
// library is not sanitized), so a read outside the datagram, by our check or by Qt's reader behind
// it, ends the run with a report.
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

namespace {
constexpr int mutationCount = 120000;
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

// Datagrams as a master sends them, with latin-1 and with UTF-16 text.
const HSyncDatagram plain{"hvd", 1.25f, -0.25f, 0.0f, "file:///home/ana/Videos/reef 360.mp4", 1, 123456};
const HSyncDatagram wide{"hvd", -0.5f, 0.0f, 0.125f, "file:///home/ana/Vidéos/東京 360°.mp4", 2, -7};

QList<QByteArray> seeds()
{
    QList<QByteArray> list{plain.toBinary(), wide.toBinary(), HSyncDatagram().toBinary()};
    // Nested containers, so that mutations reach their headers too.
    QRandomGenerator rng(7);
    for (int i = 0; i < 6; ++i) {
        QJsonObject object = randomObject(rng, 1);
        object.insert(QStringLiteral("id"), QStringLiteral("hvd"));
        list << binary(object);
    }
    return list;
}

void put32(QByteArray& bytes, int at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
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

    // Mutations of valid datagrams: first every 32-bit field and every 16-bit length set to extreme
    // values, then random damage. None may crash or read outside the datagram, our check may not
    // work longer than its limits allow, and whatever it accepts Qt must accept too (it would
    // otherwise have let through something it does not understand as Qt does).
    void mutationsDoNoHarm()
    {
        const quint32 seed = qEnvironmentVariableIsSet("GYRE_FUZZ_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("GYRE_FUZZ_SEED"))
                                 : 20240611U;
        QRandomGenerator rng(seed);
        const QList<QByteArray> bases = seeds();
        QList<QByteArray> inputs;

        for (const QByteArray& base : bases) {
            const quint32 size = quint32(base.size());
            const quint32 extremes[] = {0,          1,          4,          8,        11,        12,
                                        13,         0x7ff,      0xffff,     0x10000,  0x7ffffff, 0x7fffffff,
                                        0x80000000, 0xfffffffc, 0xffffffff, size - 8, size,      size + 4};
            for (int at = 0; at + 4 <= base.size(); at += 4) {
                const quint32 original = qFromLittleEndian<quint32>(base.constData() + at);
                for (quint32 extreme : extremes) {
                    QByteArray input = base;
                    put32(input, at, extreme);
                    inputs << input;
                    // The same word read as a value: its type kept, its offset extreme.
                    put32(input, at, (original & 0x1f) | extreme << 5);
                    inputs << input;
                }
                for (quint32 type = 0; type < 8; ++type) {
                    QByteArray input = base;
                    put32(input, at, (original & ~7U) | type);
                    inputs << input;
                }
            }
            for (int at = 0; at + 2 <= base.size(); at += 2) {
                for (quint16 extreme : {quint16(0), quint16(1), quint16(0x7fff), quint16(0xffff)}) {
                    QByteArray input = base;
                    qToLittleEndian(extreme, input.data() + at);
                    inputs << input;
                }
            }
        }
        const int systematic = inputs.size();

        while (inputs.size() < mutationCount) {
            QByteArray input = bases.at(rng.bounded(bases.size()));
            const int steps = 1 + rng.bounded(4);
            for (int step = 0; step < steps && !input.isEmpty(); ++step) {
                const int at = rng.bounded(input.size());
                switch (rng.bounded(7)) {
                case 0:
                    input[at] = char(input.at(at) ^ (1 << rng.bounded(8)));
                    break;
                case 1:
                    input[at] = char(rng.bounded(256));
                    break;
                case 2:
                    if (at + 4 <= input.size()) {
                        put32(input, at & ~3,
                              rng.bounded(2) ? rng.generate() : 0xffffffffU >> rng.bounded(32));
                    }
                    break;
                case 3:
                    input.truncate(at);
                    break;
                case 4:
                    input += QByteArray(rng.bounded(64), char(rng.bounded(256)));
                    break;
                case 5:
                    input.insert(at, input.mid(rng.bounded(input.size()), rng.bounded(32)));
                    break;
                default:
                    input.remove(at, rng.bounded(16));
                    break;
                }
            }
            // Mostly keep the declared size in step with the bytes, so the damage is seen inside.
            if (input.size() >= 12 && rng.bounded(4) != 0) {
                put32(input, 8, quint32(input.size() - 8));
            }
            inputs << input;
        }

        int accepted = 0;
        int decoded = 0;
        QList<QPair<qint64, int>> times; // nanoseconds, input
        times.reserve(inputs.size());
        QElapsedTimer total;
        total.start();
        for (int i = 0; i < inputs.size(); ++i) {
            const QByteArray& input = inputs.at(i);
            QElapsedTimer one;
            one.start();
            const HBinaryJsonValidator::Result result =
                HBinaryJsonValidator::check(input.constData(), std::size_t(input.size()));
            const std::optional<HSyncDatagram> datagram = HSyncDatagram::fromBinary(input);
            times.append({one.nsecsElapsed(), i});

            QVERIFY(result.values <= limits.maxValues);
            QVERIFY(result.stringBytes <= quint64(input.size()));
            if (result.accepted) {
                ++accepted;
                QVERIFY2(!QJsonDocument::fromBinaryData(input).isNull(), input.toHex().constData());
            }
            QCOMPARE(bool(datagram),
                     result.accepted && !QJsonDocument::fromBinaryData(input).object().isEmpty());
            decoded += datagram ? 1 : 0;
        }
        const double totalMs = total.nsecsElapsed() / 1e6;
        // A single time is at the mercy of the scheduler on a shared machine: the slowest inputs are
        // timed again, and each keeps its best of five.
        std::sort(times.begin(), times.end(), std::greater<>());
        qint64 slowestOnce = times.first().first;
        qint64 slowestBest = 0;
        for (int i = 0; i < std::min(50, int(times.size())); ++i) {
            qint64 best = std::numeric_limits<qint64>::max();
            for (int run = 0; run < 5; ++run) {
                QElapsedTimer again;
                again.start();
                HBinaryJsonValidator::check(inputs.at(times.at(i).second).constData(),
                                            std::size_t(inputs.at(times.at(i).second).size()));
                HSyncDatagram::fromBinary(inputs.at(times.at(i).second));
                best = std::min(best, again.nsecsElapsed());
            }
            slowestBest = std::max(slowestBest, best);
        }
        qInfo("%lld inputs (%d systematic), %d accepted, %d decoded, seed %u; %.0f ms in all, %.1f us per "
              "input; slowest single run %.3f ms, slowest input at its best of five runs %.3f ms",
              qint64(inputs.size()), systematic, accepted, decoded, seed, totalMs,
              totalMs * 1000 / inputs.size(), slowestOnce / 1e6, slowestBest / 1e6);
        QVERIFY(inputs.size() >= 100000);

        // Nothing carried over from the inputs: good datagrams still read back as they were sent.
        for (const HSyncDatagram& sent : {plain, wide}) {
            const std::optional<HSyncDatagram> received = HSyncDatagram::fromBinary(sent.toBinary());
            QVERIFY(received);
            QCOMPARE(received->toVariantMap(), sent.toVariantMap());
        }
    }
};

QT_WARNING_POP

QTEST_GUILESS_MAIN(TestSyncDatagramFuzz)
#include "tst_syncdatagram_fuzz.moc"
