#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// A light symmetric scrambler keyed with a 64-bit number, so that stored secrets are not readable at
// a glance: optional compression, an integrity value, one random byte, and an XOR chain with the key
// bytes, behind a version byte and a flags byte. It keeps out a casual reader, nothing more.
class SimpleCrypt
{
public:
    enum CompressionMode
    {
        CompressionAuto = 0,
        CompressionAlways = 1,
        CompressionNever = 2
    };
    enum IntegrityProtectionMode
    {
        ProtectionNone = 0,
        ProtectionChecksum = 1,
        ProtectionHash = 2
    };
    enum Error
    {
        ErrorNoError = 0,
        ErrorNoKeySet = 1,
        ErrorUnknownVersion = 2,
        ErrorIntegrityFailed = 3
    };
    enum CryptoFlag
    {
        CryptoFlagNone = 0,
        CryptoFlagCompression = 0x01,
        CryptoFlagChecksum = 0x02,
        CryptoFlagHash = 0x04
    };

    SimpleCrypt() = default;
    explicit SimpleCrypt(quint64 key);

    void setKey(quint64 key);
    bool hasKey() const { return !keyBytes.isEmpty(); }

    void setCompressionMode(CompressionMode mode) { compressionMode = mode; }
    void setIntegrityProtectionMode(IntegrityProtectionMode mode) { protectionMode = mode; }
    Error lastError() const { return lastErrorValue; }

    QByteArray encryptToByteArray(const QByteArray& plaintext);
    // The UTF-8 bytes of the text, scrambled and Base64-encoded: the form written to the settings.
    QString encryptToString(const QString& plaintext);

    // The inverse: checks the version byte and the integrity value; an empty result and an error
    // when either is wrong.
    QByteArray decryptToByteArray(const QByteArray& record);
    QString decryptToString(const QString& scrambled);

private:
    quint64 key = 0;
    QVector<char> keyBytes;
    CompressionMode compressionMode = CompressionAuto;
    IntegrityProtectionMode protectionMode = ProtectionChecksum;
    Error lastErrorValue = ErrorNoError;
};
