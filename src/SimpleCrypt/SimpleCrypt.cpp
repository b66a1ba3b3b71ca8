#include "SimpleCrypt.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QLoggingCategory>
#include <QRandomGenerator>

namespace {
constexpr char recordVersion = 3;
constexpr int checksumSize = 2;
constexpr int hashSize = 20;
} // namespace

SimpleCrypt::SimpleCrypt(quint64 initialKey)
{
    setKey(initialKey);
}

void SimpleCrypt::setKey(quint64 newKey)
{
    key = newKey;
    keyBytes.clear();
    keyBytes.resize(8);
    for (int i = 0; i < 8; ++i) {
        keyBytes[i] = char((key >> (8 * i)) & 0xff);
    }
}

QByteArray SimpleCrypt::encryptToByteArray(const QByteArray& plaintext)
{
    if (keyBytes.isEmpty()) {
        qWarning("No key set.");
        lastErrorValue = ErrorNoKeySet;
        return QByteArray();
    }

    QByteArray payload = plaintext;
    char flags = CryptoFlagNone;
    if (compressionMode == CompressionAlways) {
        payload = qCompress(payload, 9);
        flags |= CryptoFlagCompression;
    } else if (compressionMode == CompressionAuto) {
        const QByteArray compressed = qCompress(payload, 9);
        if (compressed.size() < payload.size()) {
            payload = compressed;
            flags |= CryptoFlagCompression;
        }
    }

    QByteArray integrity;
    if (protectionMode == ProtectionChecksum) {
        flags |= CryptoFlagChecksum;
        QDataStream stream(&integrity, QIODevice::WriteOnly);
        stream << qChecksum(payload.constData(), uint(payload.size()));
    } else if (protectionMode == ProtectionHash) {
        flags |= CryptoFlagHash;
        integrity = QCryptographicHash::hash(payload, QCryptographicHash::Sha1);
    }

    QByteArray body;
    body.reserve(1 + integrity.size() + payload.size());
    body.append(char(QRandomGenerator::global()->generate() & 0xff));
    body.append(integrity);
    body.append(payload);

    // Each byte is chained with the scrambled byte before it.
    char previous = 0;
    for (int pos = 0; pos < body.size(); ++pos) {
        body[pos] = char(body.at(pos) ^ keyBytes.at(pos % 8) ^ previous);
        previous = body.at(pos);
    }

    QByteArray record;
    record.reserve(2 + body.size());
    record.append(recordVersion);
    record.append(flags);
    record.append(body);
    lastErrorValue = ErrorNoError;
    return record;
}

QString SimpleCrypt::encryptToString(const QString& plaintext)
{
    const QByteArray record = encryptToByteArray(plaintext.toUtf8());
    return QString::fromLatin1(record.toBase64());
}

QByteArray SimpleCrypt::decryptToByteArray(const QByteArray& record)
{
    if (keyBytes.isEmpty()) {
        qWarning("No key set.");
        lastErrorValue = ErrorNoKeySet;
        return QByteArray();
    }
    if (record.size() < 3 || record.at(0) != recordVersion) {
        lastErrorValue = ErrorUnknownVersion;
        return QByteArray();
    }
    const char flags = record.at(1);
    QByteArray body = record.mid(2);
    char previous = 0;
    for (int pos = 0; pos < body.size(); ++pos) {
        const char scrambled = body.at(pos);
        body[pos] = char(scrambled ^ previous ^ keyBytes.at(pos % 8));
        previous = scrambled;
    }
    body.remove(0, 1); // the random byte

    QByteArray payload;
    if (flags & CryptoFlagChecksum) {
        if (body.size() < checksumSize) {
            lastErrorValue = ErrorIntegrityFailed;
            return QByteArray();
        }
        quint16 stored = 0;
        QDataStream stream(body.left(checksumSize));
        stream >> stored;
        payload = body.mid(checksumSize);
        if (stored != qChecksum(payload.constData(), uint(payload.size()))) {
            lastErrorValue = ErrorIntegrityFailed;
            return QByteArray();
        }
    } else if (flags & CryptoFlagHash) {
        payload = body.mid(hashSize);
        if (body.size() < hashSize ||
            body.left(hashSize) != QCryptographicHash::hash(payload, QCryptographicHash::Sha1)) {
            lastErrorValue = ErrorIntegrityFailed;
            return QByteArray();
        }
    } else {
        payload = body;
    }

    if (flags & CryptoFlagCompression) {
        payload = qUncompress(payload);
    }
    lastErrorValue = ErrorNoError;
    return payload;
}

QString SimpleCrypt::decryptToString(const QString& scrambled)
{
    return QString::fromUtf8(decryptToByteArray(QByteArray::fromBase64(scrambled.toLatin1())));
}
