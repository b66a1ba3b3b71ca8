// Writes valid synchronisation datagrams into the folder named on the command line, one per file:
// the seeds the datagram target starts from.
#include "net/HSyncDatagram.h"

#include <QDir>
#include <QFile>

int main(int argc, char** argv)
{
    if (argc < 2) {
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    HSyncDatagram plain;
    plain.id = QStringLiteral("hvd");
    plain.url = QStringLiteral("file:///media/show/reef 360.mp4");
    plain.state = 1;
    plain.position = 12345;
    plain.yaw = 1.5f;
    HSyncDatagram stamped = plain;
    stamped.clock = 1234567.891;
    stamped.rate = 1.0;
    HSyncDatagram paused = stamped;
    paused.state = 2;
    paused.url.clear();
    paused.pitch = -0.5f;
    int n = 0;
    for (const HSyncDatagram& datagram : {plain, stamped, paused}) {
        QFile file(out.filePath(QStringLiteral("datagram-%1").arg(++n)));
        if (!file.open(QIODevice::WriteOnly) || file.write(datagram.toBinary()) < 0) {
            return 1;
        }
    }
    return 0;
}
