#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QTimer>
#include <QUdpSocket>

// The synchronisation benchmark's relay between master and slave, on 127.0.0.1.

// What an older master sends: the datagram without its stamp.
inline QByteArray unstamped(const QByteArray& bytes)
{
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QJsonObject object = QJsonDocument::fromBinaryData(bytes).object();
    object.remove("clock");
    object.remove("rate");
    return QJsonDocument(object).toBinaryData();
    QT_WARNING_POP
}

// Passes datagrams on to `port`: impaired, it loses some and delays all, from a fixed seed; as an
// old master's, without their stamps.
class Link : public QObject
{
public:
    Link(quint16 slavePort, bool isImpaired, bool isOld)
        : target(slavePort), random(7755), impaired(isImpaired), old(isOld)
    {
        in.bind(QHostAddress(QHostAddress::LocalHost), 0);
        connect(&in, &QUdpSocket::readyRead, this, [this] {
            while (in.hasPendingDatagrams()) {
                const QByteArray bytes =
                    old ? unstamped(in.receiveDatagram().data()) : in.receiveDatagram().data();
                ++received;
                if (recording) {
                    record(bytes);
                }
                if (!impaired) {
                    out.writeDatagram(bytes, QHostAddress(QHostAddress::LocalHost), target);
                    continue;
                }
                if (random.bounded(100) < 10) {
                    ++lost;
                    continue;
                }
                const quint64 number = received;
                QTimer::singleShot(int(random.bounded(31)), Qt::PreciseTimer, this, [this, bytes, number] {
                    reordered += number < lastSent ? 1 : 0;
                    lastSent = qMax(lastSent, number);
                    out.writeDatagram(bytes, QHostAddress(QHostAddress::LocalHost), target);
                });
            }
        });
    }
    quint16 port() const { return in.localPort(); }
    // From now on each datagram is written to `file` as it arrives, a line each: when it arrived,
    // then its clock, position, state and rate.
    void recordTo(QFile* file) { recording = file; }

    quint64 received = 0;
    quint64 lost = 0;
    quint64 reordered = 0;

private:
    QUdpSocket in;
    QUdpSocket out;
    const quint16 target;
    QRandomGenerator random;
    void record(const QByteArray& bytes)
    {
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        const QJsonObject d = QJsonDocument::fromBinaryData(bytes).object();
        QT_WARNING_POP
        recording->write(
            QString("%1 %2 %3 %4 %5\n")
                .arg(double(QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs()) / 1e6, 0, 'f', 3)
                .arg(d.value("clock").toDouble(), 0, 'f', 3)
                .arg(d.value("position").toInt())
                .arg(d.value("state").toInt())
                .arg(d.value("rate").toDouble(1.0), 0, 'f', 4)
                .toLatin1());
    }

    const bool impaired;
    const bool old;
    QFile* recording = nullptr;
    quint64 lastSent = 0;
};
