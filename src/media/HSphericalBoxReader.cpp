#include "HSphericalBoxReader.h"

#include "HPanoramaXmp.h"
#include "MediaLogging.h"

#include <QFile>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {

constexpr quint32 fourcc(const char (&name)[5])
{
    return quint32(quint8(name[0])) << 24 | quint32(quint8(name[1])) << 16 | quint32(quint8(name[2])) << 8 |
           quint32(quint8(name[3]));
}

// The UUID of the older spherical video box, which holds an XMP packet.
const QByteArray sphericalXmpUuid = QByteArray::fromHex("ffcc8263f8554a938814587a02521fdd");

struct Box
{
    quint32 type = 0;
    qint64 payload = 0; // first byte after the header
    qint64 end = 0;     // one past the last byte
    QByteArray uuid;
};

class Walker
{
public:
    explicit Walker(QIODevice& file) : device(file) {}

    void run() { walk(0, device.size(), 0, Container::File); }

    HPictureGeometry geometry() const { return boxes.isEmpty() ? xmp : boxes; }
    HSpatialAudio spatialAudio() const { return audio; }

private:
    enum class Container
    {
        File,
        Plain,       // moov, trak, mdia, minf, stbl, sv3d, proj
        SampleTable, // stsd: a full box with an entry count before its children
        SampleEntry, // a visual sample entry: 78 bytes of fields before its children
        AudioEntry   // an audio sample entry: 28, 44 or 64 bytes of fields by its version
    };

    QByteArray readAt(qint64 position, qint64 length)
    {
        if (length < 0 || bytesRead + length > HSphericalBoxReader::readLimit || !device.seek(position)) {
            failed = true;
            return QByteArray();
        }
        QByteArray bytes = device.read(length);
        bytesRead += bytes.size();
        if (bytes.size() != length) {
            failed = true;
        }
        return bytes;
    }

    bool header(qint64 position, qint64 limit, Box* box)
    {
        if (limit - position < 8) {
            return false;
        }
        const QByteArray head = readAt(position, 8);
        if (failed) {
            return false;
        }
        quint64 size = qFromBigEndian<quint32>(head.constData());
        box->type = qFromBigEndian<quint32>(head.constData() + 4);
        qint64 headerSize = 8;
        if (size == 1) {
            const QByteArray large = readAt(position + 8, 8);
            if (failed) {
                return false;
            }
            size = qFromBigEndian<quint64>(large.constData());
            headerSize = 16;
        } else if (size == 0) {
            size = quint64(limit - position); // to the end of the parent
        }
        if (size < quint64(headerSize) || size > quint64(limit - position)) {
            return false;
        }
        if (box->type == fourcc("uuid")) {
            if (qint64(size) < headerSize + 16) {
                return false;
            }
            box->uuid = readAt(position + headerSize, 16);
            if (failed) {
                return false;
            }
            headerSize += 16;
        }
        box->payload = position + headerSize;
        box->end = position + qint64(size);
        return true;
    }

    void walk(qint64 start, qint64 limit, int depth, Container container)
    {
        if (depth > HSphericalBoxReader::depthLimit) {
            return;
        }
        qint64 position = start;
        if (container == Container::SampleTable) {
            position += 8; // version, flags, entry count
        } else if (container == Container::SampleEntry) {
            position += 78;
        } else if (container == Container::AudioEntry) {
            // QuickTime's sound description versions 1 and 2 add fields after ISO's 28 bytes.
            const QByteArray version = limit - position >= 10 ? readAt(position + 8, 2) : QByteArray();
            const int number = version.size() == 2 ? qFromBigEndian<quint16>(version.constData()) : 0;
            position += number == 1 ? 44 : number == 2 ? 64 : 28;
        }
        while (position < limit && !failed && ++boxCount <= HSphericalBoxReader::boxLimit) {
            Box box;
            if (!header(position, limit, &box)) {
                return;
            }
            visit(box, depth, container);
            position = box.end;
        }
    }

    void visit(const Box& box, int depth, Container container)
    {
        const quint32 type = box.type;
        if (container == Container::SampleTable) {
            entry = type;
            walk(box.payload, box.end, depth + 1,
                 handler == fourcc("soun") ? Container::AudioEntry : Container::SampleEntry);
            return;
        }
        if (container == Container::AudioEntry) {
            if (type == fourcc("SA3D")) {
                ambisonics(box);
            } else if (type == fourcc("SAND") && audio.headLockedTrack < 0 && !fullBox(box, 0).isNull()) {
                audio.headLockedTrack = audioTrack;
            }
            return;
        }
        if (type == fourcc("trak")) {
            handler = 0;
        } else if (type == fourcc("hdlr") && handler == 0) {
            // The media's handler comes first (QuickTime's data handler in minf follows it):
            // version and flags, pre_defined, then the handler type, "vide", "soun", ...
            const QByteArray body = fullBox(box, 8);
            handler = body.size() == 8 ? qFromBigEndian<quint32>(body.constData() + 4) : 0;
        } else if (type == fourcc("stsd") && handler == fourcc("soun")) {
            ++audioTrack;
        }
        if (type == fourcc("moov") || type == fourcc("trak") || type == fourcc("mdia") ||
            type == fourcc("minf") || type == fourcc("stbl") || type == fourcc("sv3d") ||
            type == fourcc("proj")) {
            walk(box.payload, box.end, depth + 1, Container::Plain);
        } else if (type == fourcc("stsd")) {
            walk(box.payload, box.end, depth + 1, Container::SampleTable);
        } else if (type == fourcc("st3d")) {
            const QByteArray body = fullBox(box, 1);
            if (!body.isEmpty()) {
                const int mode = quint8(body.at(0));
                boxes.origin = HPictureGeometry::Origin::SphericalBoxes;
                boxes.stereo = mode == 0   ? HPictureGeometry::Mono
                               : mode == 1 ? HPictureGeometry::OverUnder
                               : mode == 2 ? HPictureGeometry::SideBySide
                                           : HPictureGeometry::Unknown;
            }
        } else if (type == fourcc("prhd")) {
            pose(fullBox(box, 12));
        } else if (type == fourcc("equi")) {
            bounds(fullBox(box, 16));
        } else if (type == fourcc("cbmp") || type == fourcc("mshp")) {
            qCInfo(lcMedia) << "A spherical projection this viewer cannot draw; the frame's aspect decides";
        } else if (type == fourcc("uuid") && box.uuid == sphericalXmpUuid && xmp.isEmpty()) {
            const qint64 length = box.end - box.payload;
            if (length <= HPanoramaXmp::maxPacketSize) {
                xmp = HPanoramaXmp::parse(readAt(box.payload, length), 0, 0,
                                          HPictureGeometry::Origin::SphericalXmp);
            }
        }
    }

    // The body of a full box after version and flags, when it holds at least length bytes (null
    // when it does not; empty, not null, for a length of 0).
    QByteArray fullBox(const Box& box, qint64 length)
    {
        if (box.end - box.payload < 4 + length) {
            return QByteArray();
        }
        const QByteArray body = length > 0 ? readAt(box.payload + 4, length) : QByteArray("");
        return failed ? QByteArray() : body;
    }

    // The SA3D box: version, ambisonic type, order, channel ordering, normalisation, channel count
    // and map. Only the first ambisonic track is taken; of a higher order its first-order part.
    void ambisonics(const Box& box)
    {
        if (audio.ambisonic || box.end - box.payload < 12) {
            return;
        }
        const QByteArray head = readAt(box.payload, 12);
        if (failed) {
            return;
        }
        const auto byte = [&](int at) { return int(quint8(head.at(at))); };
        const quint32 order = qFromBigEndian<quint32>(head.constData() + 2);
        const quint32 channels = qFromBigEndian<quint32>(head.constData() + 8);
        const auto refuse = [&](const QString& why) {
            audio.refusal = why;
            qCInfo(lcMedia).noquote() << "Ambisonic sound not taken:" << why;
        };
        if (byte(0) != 0) {
            return refuse(QStringLiteral("SA3D box version %1").arg(byte(0)));
        }
        if (byte(1) != 0) {
            return refuse(QStringLiteral("ambisonic type %1 is not periphonic").arg(byte(1)));
        }
        if (byte(6) != 0) {
            return refuse(QStringLiteral("channel ordering %1 is not ACN").arg(byte(6)));
        }
        if (byte(7) > 1) {
            return refuse(QStringLiteral("normalisation %1 is neither SN3D nor N3D").arg(byte(7)));
        }
        const quint32 components = order < 1 || order > maxAmbisonicOrder ? 0 : (order + 1) * (order + 1);
        if (components == 0 || channels < components || channels > components + 2 ||
            box.end - box.payload < 12 + 4 * qint64(channels)) {
            return refuse(QStringLiteral("order %1 with %2 channels").arg(order).arg(channels));
        }
        const QByteArray map = readAt(box.payload + 12, 4 * qint64(channels));
        if (failed) {
            return;
        }
        QVector<int> firstOrder;
        for (int component = 0; component < 4; ++component) {
            const quint32 channel = qFromBigEndian<quint32>(map.constData() + 4 * component);
            if (channel >= channels || firstOrder.contains(int(channel))) {
                return refuse(QStringLiteral("channel map names channel %1 twice or beyond %2")
                                  .arg(channel)
                                  .arg(channels));
            }
            firstOrder << int(channel);
        }
        audio.ambisonic = true;
        audio.track = audioTrack;
        audio.order = int(order);
        audio.channels = int(channels);
        audio.channelMap = firstOrder;
        for (int shift = 24; shift >= 0; shift -= 8) {
            audio.sampleEntry.append(char((entry >> shift) & 0xff));
        }
        if (byte(7) == 1) {
            // N3D's first-order components are sqrt(3) times SN3D's.
            for (int component = 1; component < 4; ++component) {
                audio.gain[component] = float(1.0 / std::sqrt(3.0));
            }
        }
    }

    void pose(const QByteArray& body)
    {
        if (body.size() != 12) {
            return;
        }
        // 16.16 fixed-point degrees; yaw turns counter-clockwise seen from above.
        const double yaw = qFromBigEndian<qint32>(body.constData()) / 65536.0;
        const double pitch = qFromBigEndian<qint32>(body.constData() + 4) / 65536.0;
        if (yaw == 0 && pitch == 0) {
            return;
        }
        boxes.origin = HPictureGeometry::Origin::SphericalBoxes;
        boxes.hasInitialView = true;
        boxes.initialYaw = float(-std::remainder(yaw, 360.0) * HPictureGeometry::radiansPerDegree);
        boxes.initialPitch =
            float(std::max(-90.0, std::min(90.0, pitch)) * HPictureGeometry::radiansPerDegree);
    }

    void bounds(const QByteArray& body)
    {
        if (body.size() != 16) {
            return;
        }
        // Shares of the frame cut away at each edge, 0.32 fixed point.
        const auto share = [&](int index) {
            return qFromBigEndian<quint32>(body.constData() + 4 * index) / 4294967296.0;
        };
        const double top = share(0);
        const double bottom = share(1);
        const double left = share(2);
        const double right = share(3);
        if (top + bottom >= 1.0 || left + right >= 1.0) {
            return;
        }
        const HPictureGeometry crop =
            HPictureGeometry::fromCrop(1.0, 1.0, 1.0 - left - right, 1.0 - top - bottom, left, top,
                                       HPictureGeometry::Origin::SphericalBoxes);
        boxes.origin = HPictureGeometry::Origin::SphericalBoxes;
        boxes.hasBounds = crop.hasBounds;
        boxes.yawMin = crop.yawMin;
        boxes.yawMax = crop.yawMax;
        boxes.pitchMin = crop.pitchMin;
        boxes.pitchMax = crop.pitchMax;
    }

    QIODevice& device;
    qint64 bytesRead = 0;
    int boxCount = 0;
    bool failed = false;
    static constexpr quint32 maxAmbisonicOrder = 7;

    quint32 handler = 0; // of the track being walked
    quint32 entry = 0;   // the sample entry being walked
    int audioTrack = -1; // ordinal of the audio track being walked
    HPictureGeometry boxes;
    HPictureGeometry xmp;
    HSpatialAudio audio;
};

} // namespace

HPictureGeometry HSphericalBoxReader::read(QIODevice& device)
{
    if (!device.isOpen() || device.isSequential()) {
        return HPictureGeometry();
    }
    // Without bounds (a stereo tag alone, a cube map) the frame's aspect decides the coverage.
    Walker walker(device);
    walker.run();
    return walker.geometry();
}

HSpatialAudio HSphericalBoxReader::readSpatialAudio(QIODevice& device)
{
    if (!device.isOpen() || device.isSequential()) {
        return HSpatialAudio();
    }
    Walker walker(device);
    walker.run();
    return walker.spatialAudio();
}

HSpatialAudio HSphericalBoxReader::readSpatialAudio(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? readSpatialAudio(file) : HSpatialAudio();
}
