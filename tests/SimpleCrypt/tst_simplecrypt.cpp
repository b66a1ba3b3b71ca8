#include "SimpleCrypt/SimpleCrypt.h"

#include <QtTest>

namespace {
constexpr quint64 testKey = Q_UINT64_C(0x0102030405060708);
}

class TestSimpleCrypt : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("protection");
        QTest::addColumn<int>("flags");
        const QString longText = QString("access-token-").repeated(200);
        QTest::addRow("empty") << "" << int(SimpleCrypt::ProtectionChecksum) << 0x02;
        QTest::addRow("short") << "s3cret" << int(SimpleCrypt::ProtectionChecksum) << 0x02;
        QTest::addRow("long, repetitive") << longText << int(SimpleCrypt::ProtectionChecksum) << 0x03;
        QTest::addRow("non-ASCII") << QString::fromUtf8("pässwörd ✓ 日本")
                                   << int(SimpleCrypt::ProtectionChecksum) << 0x02;
        QTest::addRow("hash") << "s3cret" << int(SimpleCrypt::ProtectionHash) << 0x04;
        QTest::addRow("no integrity") << "s3cret" << int(SimpleCrypt::ProtectionNone) << 0x00;
        QTest::addRow("long, hash") << longText << int(SimpleCrypt::ProtectionHash) << 0x05;
    }
    void roundTrip()
    {
        QFETCH(QString, text);
        QFETCH(int, protection);
        QFETCH(int, flags);
        SimpleCrypt crypt(testKey);
        crypt.setIntegrityProtectionMode(SimpleCrypt::IntegrityProtectionMode(protection));
        const QString scrambled = crypt.encryptToString(text);
        QCOMPARE(crypt.lastError(), SimpleCrypt::ErrorNoError);
        QVERIFY(!scrambled.contains(text) || text.isEmpty());

        const QByteArray record = QByteArray::fromBase64(scrambled.toLatin1());
        QCOMPARE(int(record.at(0)), 3);
        QCOMPARE(int(record.at(1)), flags);
        if (flags & SimpleCrypt::CryptoFlagCompression) {
            QVERIFY(record.size() < text.toUtf8().size());
        }
        if (text.isEmpty()) { // version, flags, random byte and a 16-bit checksum
            QCOMPARE(record.size(), 5);
            QCOMPARE(scrambled.size(), 8);
        }
        QCOMPARE(crypt.decryptToString(scrambled), text);
        QCOMPARE(crypt.lastError(), SimpleCrypt::ErrorNoError);
    }

    void sameTextScramblesDifferently()
    {
        SimpleCrypt crypt(testKey);
        QSet<QString> seen;
        for (int i = 0; i < 8; ++i) {
            seen.insert(crypt.encryptToString("same password"));
        }
        QVERIFY(seen.size() > 1); // one random byte: 8 equal records in a row are a 1 in 2^56 chance
    }

    void tamperingIsDetected()
    {
        SimpleCrypt crypt(testKey);
        QByteArray record = crypt.encryptToByteArray("s3cret");
        record[record.size() - 1] = char(record.at(record.size() - 1) ^ 0x01);
        QVERIFY(crypt.decryptToByteArray(record).isEmpty());
        QCOMPARE(crypt.lastError(), SimpleCrypt::ErrorIntegrityFailed);
        record = crypt.encryptToByteArray("s3cret");
        record[0] = 2;
        QVERIFY(crypt.decryptToByteArray(record).isEmpty());
        QCOMPARE(crypt.lastError(), SimpleCrypt::ErrorUnknownVersion);
        SimpleCrypt otherKey(testKey + 1);
        QVERIFY(otherKey.decryptToByteArray(crypt.encryptToByteArray("s3cret")).isEmpty());
    }

    // Worked out from the chain itself, without the inverse: byte p of the body is
    // plain[p] ^ key[p % 8] ^ scrambled[p - 1], key byte 0 being the key's least significant byte.
    void keyByteOrderAndChain()
    {
        SimpleCrypt crypt(testKey);
        crypt.setCompressionMode(SimpleCrypt::CompressionNever);
        crypt.setIntegrityProtectionMode(SimpleCrypt::ProtectionNone);
        const QByteArray plain = "ABCDEFGHIJ";
        const QByteArray body = crypt.encryptToByteArray(plain).mid(2);
        QCOMPARE(body.size(), plain.size() + 1);
        for (int p = 1; p < body.size(); ++p) {
            const int keyByte = (body.at(p) ^ body.at(p - 1) ^ plain.at(p - 1)) & 0xff;
            QCOMPARE(keyByte, int((testKey >> (8 * (p % 8))) & 0xff));
        }
    }

    void noKeyMeansNoRecord()
    {
        SimpleCrypt crypt;
        QTest::ignoreMessage(QtWarningMsg, "No key set.");
        QCOMPARE(crypt.encryptToString("s3cret"), QString());
        QCOMPARE(crypt.lastError(), SimpleCrypt::ErrorNoKeySet);
    }
};

QTEST_GUILESS_MAIN(TestSimpleCrypt)
#include "tst_simplecrypt.moc"
