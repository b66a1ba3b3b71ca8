#include "HUdpSocket.h"

#include "HSyncDatagram.h"
#include "NetLogging.h"
#include "session/HGlobalObject.h"

#include <QNetworkDatagram>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QUdpSocket>
#include <QUrl>

#include <algorithm>

namespace {
const QString stateKey = QStringLiteral("application/communication/state");
const QString portKey = QStringLiteral("application/communication/port");
const QString rateKey = QStringLiteral("application/communication/rate");
const QString ipModeKey = QStringLiteral("application/communication/ipMode");
const QString ipCustomKey = QStringLiteral("application/communication/ipCustom");
const QString urlModeKey = QStringLiteral("application/communication/urlMode");
const QString orientationKey = QStringLiteral("application/communication/orientation");

constexpr int defaultPort = 7755;
constexpr int defaultRate = 20;
// After a corrective seek the player needs a moment to get there; until then the master's position
// would ask for another seek.
constexpr int seekLockMs = 1000;

} // namespace

HUdpSocket::HUdpSocket(HGlobalObject* globalObject, const QString& state, QObject* parent)
    : QObject(parent), global(globalObject)
{
    const QString role =
        state.isEmpty() ? global->getSetting(stateKey, QStringLiteral("off")).toString() : state;
    if (role != QLatin1String("master") && role != QLatin1String("slave")) {
        return;
    }

    // The socket would only use the low 16 bits: 70000 would quietly become port 4464.
    bool isNumber = false;
    const QVariant storedPort = global->getSetting(portKey, defaultPort);
    portValue = storedPort.toLongLong(&isNumber);
    if (!isNumber || portValue < 1 || portValue > 65535) {
        qCWarning(lcUdp).noquote() << QStringLiteral("Screen synchronisation stays off: the port %1 is not "
                                                     "between 1 and 65535.")
                                          .arg(storedPort.toString());
        portValue = 0;
        return;
    }

    udpSocket = new QUdpSocket(this);
    id = QStringLiteral("hvd");
    seekThreshold = 3000;
    rate = global->getSetting(rateKey, defaultRate).toInt();

    if (role == QLatin1String("master")) {
        const QString ipMode = global->getSetting(ipModeKey, QStringLiteral("localhost")).toString();
        if (ipMode == QLatin1String("broadcast")) {
            target = QHostAddress(QHostAddress::Broadcast);
        } else if (ipMode == QLatin1String("localhost")) {
            target = QHostAddress(QHostAddress::LocalHost);
        } else {
            target = QHostAddress(global->getSetting(ipCustomKey, defaultCustomAddress()).toString());
        }
        if (rate < 1) {
            // An interval of 0 would send on every turn of the event loop.
            qCWarning(lcUdp) << "The stored send interval" << rate << "ms is unusable; sending every"
                             << defaultRate << "ms";
            rate = defaultRate;
        }
        sendTimer = new QTimer(this);
        connect(sendTimer, &QTimer::timeout, this, &HUdpSocket::writeData);
        sendTimer->setInterval(rate);
        sendTimer->start();
        qCInfo(lcUdp) << "Screen synchronisation: master sending to" << target.toString() << "port"
                      << portValue << "every" << rate << "ms";
        return;
    }

    urlMode = global->getSetting(urlModeKey, int(Absolute)).toInt();
    orientation = global->getSetting(orientationKey, true).toBool();
    // Other players on this machine may listen on the same port (the platform's default mode lets
    // them); a slave that cannot bind stays deaf.
    if (udpSocket->bind(QHostAddress::Any, quint16(portValue))) {
        qCInfo(lcUdp) << "Screen synchronisation: slave listening on port" << portValue;
    } else {
        qCWarning(lcUdp) << "Screen synchronisation: cannot listen on port" << portValue << ":"
                         << udpSocket->errorString();
    }
    connect(udpSocket, &QUdpSocket::readyRead, this, &HUdpSocket::readData);
}

void HUdpSocket::writeData()
{
    if (!udpSocket) {
        return;
    }
    HSyncDatagram datagram;
    datagram.id = id;
    datagram.yaw = global->yaw();
    datagram.pitch = global->pitch();
    datagram.roll = global->roll();
    if (QObject* player = global->currentPlayer()) {
        datagram.url = player->property("mediaSource").toString();
        datagram.state = player->property("playbackState").toInt();
        datagram.position = player->property("position").toInt();
    }
    // Nobody acknowledges; a failed send (an unparsable custom address, no route) is simply lost.
    udpSocket->writeDatagram(datagram.toBinary(), target, quint16(portValue));
}

void HUdpSocket::readData()
{
    while (udpSocket && udpSocket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = udpSocket->receiveDatagram();
        if (!datagram.isValid()) {
            // A read error leaves the datagram queued; trying again now would spin.
            break;
        }
        handleDatagram(datagram.data());
    }
}

void HUdpSocket::unlockSync()
{
    seekAllowedValue = true;
}

QUrl HUdpSocket::resolveUrl(const QString& received) const
{
    switch (urlMode) {
    case Absolute:
        return QUrl(received, QUrl::TolerantMode);
    case Movies:
    case Desktop: {
        const QString name = QUrl(received, QUrl::TolerantMode).fileName(QUrl::FullyDecoded);
        if (name.isEmpty()) {
            return QUrl();
        }
        const QString path = QStandardPaths::locate(urlMode == Movies ? QStandardPaths::MoviesLocation
                                                                      : QStandardPaths::DesktopLocation,
                                                    name, QStandardPaths::LocateFile);
        return path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path);
    }
    default:
        return QUrl();
    }
}

void HUdpSocket::handleDatagram(const QByteArray& bytes)
{
    const std::optional<HSyncDatagram> datagram = HSyncDatagram::fromBinary(bytes);
    if (!datagram || datagram->id.isEmpty() || datagram->id != id) {
        return;
    }
    if (orientation) {
        global->setYaw(datagram->yaw, true);
        global->setPitch(datagram->pitch, true);
        global->setRoll(datagram->roll, true);
    }

    if (!global->mediaLoaderObject()) {
        return;
    }
    const QUrl url = resolveUrl(datagram->url);
    if (url.isEmpty() && urlMode != Off) {
        return;
    }
    // Opening a media may replace the loader's player; the state and the position still go to the
    // one the comparison was made with, as long as it lives.
    QPointer<QObject> player = global->currentPlayer();
    if (!player) {
        return;
    }
    if (urlMode != Off && url != player->property("mediaSource").toUrl()) {
        global->requestMedia(url, true, true, QString());
        if (!player) {
            return;
        }
    }

    if (datagram->state != player->property("playbackState").toInt()) {
        global->requestPlaybackState(datagram->state);
        if (!player) {
            return;
        }
    }

    const qint64 masterPosition = datagram->position;
    const qint64 position = player->property("position").toInt();
    if (lcUdpStats().isInfoEnabled()) {
        noteStatistics(masterPosition, datagram->state, position, player->property("playbackState").toInt());
    }
    if (seekAllowedValue &&
        (position > masterPosition + seekThreshold || position < masterPosition - seekThreshold)) {
        ++correctiveSeeks;
        seekAllowedValue = false;
        global->requestSeek(player, datagram->position);
        QTimer::singleShot(seekLockMs, this, &HUdpSocket::unlockSync);
    }
}

void HUdpSocket::noteStatistics(qint64 masterPosition, int masterState, qint64 position, int state)
{
    errors.append(position - masterPosition);
    if (sinceStatistics.isValid() && sinceStatistics.elapsed() < 1000) {
        return;
    }
    sinceStatistics.start();
    std::sort(errors.begin(), errors.end());
    qint64 largest = 0;
    for (const qint64 error : qAsConst(errors)) {
        largest = qMax(largest, qAbs(error));
    }
    qCInfo(lcUdpStats).nospace() << "master at " << masterPosition << " ms, state " << masterState
                                 << "; slave at " << position << " ms, state " << state << "; error over "
                                 << errors.size() << " datagrams: median " << errors.at(errors.size() / 2)
                                 << " ms, largest " << largest << " ms; " << correctiveSeeks
                                 << " corrective seeks";
    errors.clear();
}
