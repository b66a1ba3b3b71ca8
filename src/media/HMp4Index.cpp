#include "HMp4Index.h"

#include <QIODevice>
#include <QtEndian>

namespace {

// A file of more boxes than this at its top level is no file we can say anything about.
constexpr int maximumBoxes = 4096;

} // namespace

HMp4Index::Layout HMp4Index::inspect(QIODevice& device, bool complete)
{
    const qint64 end = device.size();
    qint64 at = device.pos();
    bool samplesSeen = false;
    for (int box = 0; box < maximumBoxes; ++box) {
        if (at == end && complete) {
            return box == 0 ? Layout::NotMp4 : Layout::NoIndex;
        }
        uchar header[16];
        if (!device.seek(at) || device.read(reinterpret_cast<char*>(header), 8) != 8) {
            if (box == 0) {
                return complete ? Layout::NotMp4 : Layout::Unknown;
            }
            return complete ? Layout::CutShort : (samplesSeen ? Layout::IndexLast : Layout::Unknown);
        }
        const QByteArray type(reinterpret_cast<const char*>(header) + 4, 4);
        if (box == 0 && type != "ftyp") {
            return Layout::NotMp4;
        }
        qint64 size = qFromBigEndian<quint32>(header);
        qint64 headerSize = 8;
        if (size == 1) {
            if (device.read(reinterpret_cast<char*>(header) + 8, 8) != 8) {
                return complete ? Layout::CutShort : Layout::Unknown;
            }
            size = qint64(qFromBigEndian<quint64>(header + 8) & 0x7fffffffffffffffULL);
            headerSize = 16;
        } else if (size == 0) {
            size = end - at; // the last box runs to the end of the file
        }
        if (size < headerSize) {
            return box == 0 ? Layout::NotMp4 : Layout::CutShort;
        }
        // Sizes come from the file and reach 2^63: compared with what is left, never added.
        const bool pastEnd = size > end - at;
        if (type == "moov") {
            if (complete && pastEnd) {
                return Layout::CutShort;
            }
            return samplesSeen ? Layout::IndexLast : Layout::IndexFirst;
        }
        samplesSeen = samplesSeen || type == "mdat";
        if (pastEnd) {
            if (complete) {
                return Layout::CutShort;
            }
            // The start of a download: a sample box that goes on past it comes before any index.
            return samplesSeen ? Layout::IndexLast : Layout::Unknown;
        }
        at += size;
    }
    return Layout::Unknown;
}
