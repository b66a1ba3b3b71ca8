// Writes valid synchronisation datagrams into the folder named on the command line, one per file:
// the seeds the datagram target starts from.
#include "net/HSyncDatagram.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
    // Text Qt stores as UTF-16, and containers inside, so that mutations reach their headers too.
    HSyncDatagram wide = stamped;
    wide.url = QStringLiteral("file:///media/show/東京 360°.mp4");
    QJsonObject nested = QJsonObject::fromVariantMap(plain.toVariantMap());
    nested.insert(QStringLiteral("extra"),
                  QJsonObject{{QStringLiteral("list"), QJsonArray{1, 2.5, "three", QJsonArray()}},
                              {QStringLiteral("none"), QJsonValue()}});
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    const QList<QByteArray> seeds{plain.toBinary(), stamped.toBinary(), paused.toBinary(), wide.toBinary(),
                                  QJsonDocument(nested).toBinaryData()};
    QT_WARNING_POP
    int n = 0;
    for (const QByteArray& seed : seeds) {
        QFile file(out.filePath(QStringLiteral("datagram-%1").arg(++n)));
        if (!file.open(QIODevice::WriteOnly) || file.write(seed) < 0) {
            return 1;
        }
    }
    return 0;
}
