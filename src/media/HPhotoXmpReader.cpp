#include "HPhotoXmpReader.h"

#include "HPanoramaXmp.h"

#include <QIODevice>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>

namespace {

// A zlib stream's contents, or nothing when it is broken or would expand beyond `limit` bytes:
// inflating stops there, so a small bomb costs no more than a packet of the largest size.
// (qUncompress would double its buffer until the whole expansion fits.)
QByteArray inflateBounded(const QByteArray& compressed, int limit)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        return QByteArray();
    }
    QByteArray out(limit + 1, Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.constData()));
    stream.avail_in = uInt(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int status = inflate(&stream, Z_FINISH);
    const uLong produced = stream.total_out;
    inflateEnd(&stream);
    if (status != Z_STREAM_END || produced > uLong(limit)) {
        return QByteArray();
    }
    out.truncate(int(produced));
    return out;
}

constexpr int segmentLimit = 1024;
constexpr int chunkLimit = 4096;
// Compressed packets are inflated only up to the packet bound, however far they would expand.
constexpr int compressedXmpLimit = 32 * 1024;
const QByteArray jpegXmpSignature("http://ns.adobe.com/xap/1.0/", 29); // with its terminating zero
const QByteArray pngXmpKeyword("XML:com.adobe.xmp");

HPhotoXmpReader::Result readJpeg(QIODevice& device)
{
    HPhotoXmpReader::Result result;
    result.recognised = true;
    qint64 position = 2;
    for (int segment = 0; segment < segmentLimit && device.seek(position); ++segment) {
        char marker[2];
        if (device.read(marker, 2) != 2 || quint8(marker[0]) != 0xff) {
            break;
        }
        const quint8 code = quint8(marker[1]);
        if (code == 0xff) { // fill byte
            position += 1;
            continue;
        }
        if (code == 0xd8 || code == 0x01 || (code >= 0xd0 && code <= 0xd7)) {
            position += 2;
            continue;
        }
        if (code == 0xd9 || code == 0xda) { // end of image, start of scan
            break;
        }
        uchar lengthBytes[2];
        if (device.read(reinterpret_cast<char*>(lengthBytes), 2) != 2) {
            break;
        }
        const int length = qFromBigEndian<quint16>(lengthBytes);
        if (length < 2) {
            break;
        }
        const bool frame = code >= 0xc0 && code <= 0xcf && code != 0xc4 && code != 0xc8 && code != 0xcc;
        if (frame && length >= 7) {
            const QByteArray head = device.read(5);
            if (head.size() == 5) {
                result.height = qFromBigEndian<quint16>(head.constData() + 1);
                result.width = qFromBigEndian<quint16>(head.constData() + 3);
            }
        } else if (code == 0xe1 && result.xmp.isEmpty() && length > jpegXmpSignature.size() + 2) {
            const QByteArray body = device.read(length - 2);
            if (body.startsWith(jpegXmpSignature)) {
                result.xmp = body.mid(jpegXmpSignature.size());
            }
        }
        position += 2 + length;
    }
    return result;
}

QByteArray pngXmp(const QByteArray& body, const QByteArray& type)
{
    // keyword NUL, then for iTXt: compression flag, method, language NUL, translated keyword NUL.
    const int keywordEnd = body.indexOf('\0');
    if (keywordEnd < 0 || body.left(keywordEnd) != pngXmpKeyword) {
        return QByteArray();
    }
    if (type == "tEXt") {
        return body.mid(keywordEnd + 1);
    }
    if (body.size() < keywordEnd + 3) {
        return QByteArray();
    }
    const bool compressed = body.at(keywordEnd + 1) != 0;
    const int languageEnd = body.indexOf('\0', keywordEnd + 3);
    const int translatedEnd = languageEnd < 0 ? -1 : body.indexOf('\0', languageEnd + 1);
    if (translatedEnd < 0) {
        return QByteArray();
    }
    const QByteArray text = body.mid(translatedEnd + 1);
    if (!compressed) {
        return text;
    }
    if (text.size() > compressedXmpLimit) {
        return QByteArray();
    }
    return inflateBounded(text, HPanoramaXmp::maxPacketSize);
}

HPhotoXmpReader::Result readPng(QIODevice& device)
{
    HPhotoXmpReader::Result result;
    result.recognised = true;
    qint64 position = 8;
    const qint64 size = device.size();
    for (int chunk = 0; chunk < chunkLimit && position + 12 <= size && device.seek(position); ++chunk) {
        const QByteArray head = device.read(8);
        if (head.size() != 8) {
            break;
        }
        const quint32 length = qFromBigEndian<quint32>(head.constData());
        const QByteArray type = head.mid(4, 4);
        if (length > 0x7fffffffu || qint64(length) + 12 > size - position) {
            break;
        }
        if (type == "IHDR" && length >= 8) {
            const QByteArray body = device.read(8);
            if (body.size() == 8) {
                result.width = int(std::min<quint32>(qFromBigEndian<quint32>(body.constData()), 1u << 30));
                result.height =
                    int(std::min<quint32>(qFromBigEndian<quint32>(body.constData() + 4), 1u << 30));
            }
        } else if ((type == "iTXt" || type == "tEXt") && result.xmp.isEmpty() &&
                   length <= quint32(HPanoramaXmp::maxPacketSize) + 256) {
            result.xmp = pngXmp(device.read(length), type);
        } else if (type == "IEND") {
            break;
        }
        position += 12 + qint64(length);
    }
    return result;
}

} // namespace

HPhotoXmpReader::Result HPhotoXmpReader::read(QIODevice& device)
{
    if (!device.isOpen() || device.isSequential() || !device.seek(0)) {
        return Result();
    }
    const QByteArray signature = device.peek(8);
    if (signature.startsWith("\xff\xd8")) {
        return readJpeg(device);
    }
    if (signature == QByteArray("\x89PNG\r\n\x1a\n", 8)) {
        return readPng(device);
    }
    return Result();
}
