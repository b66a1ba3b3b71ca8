#include "HUdpSocket.h"

#include "HSyncDatagram.h"
#include "NetLogging.h"
#include "base/HMonotonicClock.h"
#include "session/HGlobalObject.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QUdpSocket>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {
const QString stateKey = QStringLiteral("application/communication/state");
const QString portKey = QStringLiteral("application/communication/port");
const QString rateKey = QStringLiteral("application/communication/rate");
const QString ipModeKey = QStringLiteral("application/communication/ipMode");
const QString ipCustomKey = QStringLiteral("application/communication/ipCustom");
const QString urlModeKey = QStringLiteral("application/communication/urlMode");
const QString orientationKey = QStringLiteral("application/communication/orientation");
const QString seekThresholdKey = QStringLiteral("application/communication/seekThreshold");
const QString multicastGroupKey = QStringLiteral("application/communication/multicastGroup");
const QString multicastTtlKey = QStringLiteral("application/communication/multicastTtl");
const QString multicastInterfaceKey = QStringLiteral("application/communication/multicastInterface");
// An address of the organisation-local scope, which routers do not pass beyond a site.
const QString defaultMulticastGroup = QStringLiteral("239.255.77.55");

constexpr int defaultPort = 7755;
constexpr int defaultRate = 20;
// After a corrective seek the player needs a moment to get there; until then the master's position
// would ask for another seek.
constexpr int seekLockMs = 1000;
constexpr int playing = 1;
// The view is played out at about the rate the screen shows it.
constexpr int viewIntervalMs = 16;
// Without a stamped datagram for this long, the master is gone or old: the view stays put.
constexpr double clockedTimeoutMs = 1000.0;
// Rates closer than this are the same to the eye; fewer changes spare libvlc's clock.
constexpr double rateStep = 0.0025;

// Where the player is at `now` on the monotonic clock: from its clock where it keeps one, from its
// position otherwise.
double positionAt(const QObject* player, double now)
{
    const double clockTime = player->property("clockTime").toDouble();
    if (clockTime <= 0.0) {
        return player->property("position").toInt();
    }
    return player->property("clockPosition").toDouble() +
           (now - clockTime) * player->property("clockRate").toDouble();
}

double rateOf(const QObject* player)
{
    const QVariant rate = player->property("playbackRate");
    return rate.isValid() ? rate.toDouble() : 1.0;
}

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

    if (lcUdpClock().isInfoEnabled()) {
        auto* clockTimer = new QTimer(this);
        clockTimer->setTimerType(Qt::PreciseTimer);
        connect(clockTimer, &QTimer::timeout, this, &HUdpSocket::logClock);
        clockTimer->start(100);
    }

    const QString ipMode = global->getSetting(ipModeKey, QStringLiteral("localhost")).toString();
    if (ipMode == QLatin1String("multicast")) {
        group = QHostAddress(global->getSetting(multicastGroupKey, defaultMulticastGroup).toString());
        if (!group.isMulticast() || group.protocol() != QAbstractSocket::IPv4Protocol) {
            qCWarning(lcUdp).noquote() << global->getSetting(multicastGroupKey).toString()
                                       << "is not an IPv4 multicast group; synchronising on 127.0.0.1";
            group = QHostAddress();
        }
    }
    const QString interfaceName = global->getSetting(multicastInterfaceKey, QString()).toString();
    // Looked up only for a group: the lookup walks the machine's interfaces.
    const QNetworkInterface multicastInterface = !group.isNull() && !interfaceName.isEmpty()
                                                     ? QNetworkInterface::interfaceFromName(interfaceName)
                                                     : QNetworkInterface();
    if (!group.isNull() && !interfaceName.isEmpty() && !multicastInterface.isValid()) {
        qCWarning(lcUdp).noquote() << "No network interface" << interfaceName
                                   << "; the group is joined on the default one";
    }

    if (role == QLatin1String("master")) {
        if (!group.isNull()) {
            target = group;
            // The time to live and the interface are options of a bound socket.
            udpSocket->bind(QHostAddress(QHostAddress::AnyIPv4), 0);
            udpSocket->setSocketOption(QAbstractSocket::MulticastTtlOption,
                                       qBound(0, global->getSetting(multicastTtlKey, 1).toInt(), 255));
            // Slaves on this machine hear it too.
            udpSocket->setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
            if (multicastInterface.isValid()) {
                udpSocket->setMulticastInterface(multicastInterface);
            }
        } else if (ipMode == QLatin1String("multicast") || ipMode == QLatin1String("localhost")) {
            target = QHostAddress(QHostAddress::LocalHost);
        } else if (ipMode == QLatin1String("broadcast")) {
            target = QHostAddress(QHostAddress::Broadcast);
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
    const int clockedThreshold = global->getSetting(seekThresholdKey, 1000).toInt();
    controller.setSeekThreshold(clockedThreshold > 0 ? clockedThreshold : 1000);
    viewTimer = new QTimer(this);
    viewTimer->setInterval(viewIntervalMs);
    viewTimer->setTimerType(Qt::PreciseTimer);
    connect(viewTimer, &QTimer::timeout, this, &HUdpSocket::applyView);
    // Other players on this machine may listen on the same port (the platform's default mode lets
    // them); a slave that cannot bind stays deaf.
    if (!group.isNull()) {
        // Several slaves of one machine may join the same group on the same port.
        if (udpSocket->bind(QHostAddress(QHostAddress::AnyIPv4), quint16(portValue),
                            QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint) &&
            (multicastInterface.isValid() ? udpSocket->joinMulticastGroup(group, multicastInterface)
                                          : udpSocket->joinMulticastGroup(group))) {
            qCInfo(lcUdp) << "Screen synchronisation: slave in group" << group.toString() << "on port"
                          << portValue;
        } else {
            qCWarning(lcUdp) << "Screen synchronisation: cannot join group" << group.toString() << "on port"
                             << portValue << ":" << udpSocket->errorString();
        }
    } else if (udpSocket->bind(QHostAddress::Any, quint16(portValue))) {
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
    datagram.clock = HMonotonicClock::nowMs();
    if (QObject* player = global->currentPlayer()) {
        datagram.url = player->property("mediaSource").toString();
        datagram.state = player->property("playbackState").toInt();
        datagram.position = int(std::lround(qBound(0.0, positionAt(player, datagram.clock), 2147483647.0)));
        datagram.rate = rateOf(player);
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
        // A slave in a group hears only its group (the port's other groups reach its socket too).
        const QHostAddress to = datagram.destinationAddress();
        if (!group.isNull() && to.isMulticast() && !to.isEqual(group)) {
            continue;
        }
        handleDatagram(datagram.data(), HMonotonicClock::nowMs());
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

void HUdpSocket::handleDatagram(const QByteArray& bytes, double arrivedAt)
{
    const std::optional<HSyncDatagram> datagram = HSyncDatagram::fromBinary(bytes);
    if (!datagram || datagram->id.isEmpty() || datagram->id != id) {
        return;
    }
    if (datagram->hasClock()) {
        offset.addSample(datagram->clock, arrivedAt);
        lastClockedAt = arrivedAt;
        if (orientation && viewTimer) {
            follower.add(datagram->clock, {datagram->yaw, datagram->pitch, datagram->roll},
                         offset.toMaster(arrivedAt) - datagram->clock);
            if (!viewTimer->isActive()) {
                viewTimer->start();
            }
        }
        // Overtaken on the way: what it says is older than what is already applied.
        if (datagram->clock <= newestClock) {
            return;
        }
        newestClock = datagram->clock;
    } else if (orientation) {
        global->setYaw(datagram->yaw, true);
        global->setPitch(datagram->pitch, true);
        global->setRoll(datagram->roll, true);
    }

    QPointer<QObject> player = followMedia(*datagram);
    if (!player) {
        return;
    }
    if (datagram->hasClock()) {
        followClockedPosition(player, *datagram);
    } else {
        followPosition(player, *datagram);
    }
}

QObject* HUdpSocket::followMedia(const HSyncDatagram& datagram)
{
    if (!global->mediaLoaderObject()) {
        return nullptr;
    }
    const QUrl url = resolveUrl(datagram.url);
    if (url.isEmpty() && urlMode != Off) {
        return nullptr;
    }
    // Opening a media may replace the loader's player; the state and the position still go to the
    // one the comparison was made with, as long as it lives.
    QPointer<QObject> player = global->currentPlayer();
    if (!player) {
        return nullptr;
    }
    if (urlMode != Off && url != player->property("mediaSource").toUrl()) {
        controller.reset();
        global->requestMedia(url, true, true, QString());
        if (!player) {
            return nullptr;
        }
    }
    if (datagram.state != player->property("playbackState").toInt()) {
        global->requestPlaybackState(datagram.state);
    }
    return player;
}

void HUdpSocket::followPosition(QObject* player, const HSyncDatagram& datagram)
{
    setRate(player, 1.0, 1.0);
    const qint64 masterPosition = datagram.position;
    const qint64 position = player->property("position").toInt();
    if (lcUdpStats().isInfoEnabled()) {
        noteStatistics(double(masterPosition), datagram.state, double(position),
                       player->property("playbackState").toInt());
    }
    if (seekAllowedValue &&
        (position > masterPosition + seekThreshold || position < masterPosition - seekThreshold)) {
        ++correctiveSeeks;
        seekAllowedValue = false;
        global->requestSeek(player, datagram.position);
        QTimer::singleShot(seekLockMs, this, &HUdpSocket::unlockSync);
    }
}

void HUdpSocket::followClockedPosition(QObject* player, const HSyncDatagram& datagram)
{
    const double now = HMonotonicClock::nowMs();
    const bool masterPlaying = datagram.state == playing;
    // Where the master is now: where it was when it sent, and on since at its rate.
    const double since = masterPlaying ? qMax(0.0, offset.toMaster(now) - datagram.clock) : 0.0;
    const double master = qBound(0.0, datagram.position + since * datagram.rate, 2147483647.0);
    const double position = positionAt(player, now);
    const int state = player->property("playbackState").toInt();
    const HRateController::Decision decision =
        controller.update(now, master, datagram.rate, datagram.state, position, state);
    if (lcUdpStats().isInfoEnabled()) {
        noteStatistics(master, datagram.state, position, state);
    }
    if (decision.seek) {
        ++correctiveSeeks;
        qCInfo(lcUdp).nospace() << "seeking to " << qRound(decision.seekTo) << " ms: master at "
                                << qRound(master) << " ms, state " << datagram.state << ", this player at "
                                << qRound(position) << " ms, state " << state;
        setRate(player, datagram.rate, datagram.rate);
        global->requestSeek(player, int(std::lround(qBound(0.0, decision.seekTo, 2147483647.0))));
        return;
    }
    setRate(player, decision.rate, datagram.rate);
}

void HUdpSocket::setRate(QObject* player, double wanted, double mastersRate)
{
    if (player != ratedPlayer) {
        ratedPlayer = player;
        rateSet = rateOf(player);
    }
    // The master's own rate exactly, or a step the picture's pace could show.
    if (wanted != rateSet && (wanted == mastersRate || std::abs(wanted - rateSet) >= rateStep)) {
        rateSet = wanted;
        player->setProperty("playbackRate", wanted);
    }
}

void HUdpSocket::applyView()
{
    const double now = HMonotonicClock::nowMs();
    const std::optional<HOrientationFollower::View> view = follower.viewAt(offset.toMaster(now));
    if (view) {
        global->setYaw(view->yaw, true);
        global->setPitch(view->pitch, true);
        global->setRoll(view->roll, true);
    }
    if (now - lastClockedAt > clockedTimeoutMs) {
        viewTimer->stop();
        follower.clear();
    }
}

void HUdpSocket::logClock()
{
    QObject* player = global->currentPlayer();
    if (!player) {
        return;
    }
    const double now = HMonotonicClock::nowMs();
    qCInfo(lcUdpClock).nospace().noquote()
        << "clock " << QString::number(now, 'f', 3) << " position "
        << QString::number(positionAt(player, now), 'f', 1) << " state "
        << player->property("playbackState").toInt() << " rate " << QString::number(rateOf(player), 'f', 4);
}

void HUdpSocket::noteStatistics(double masterPosition, int masterState, double position, int state)
{
    errors.append(position - masterPosition);
    if (sinceStatistics.isValid() && sinceStatistics.elapsed() < 1000) {
        return;
    }
    sinceStatistics.start();
    std::sort(errors.begin(), errors.end());
    double largest = 0;
    for (const double error : qAsConst(errors)) {
        largest = qMax(largest, std::abs(error));
    }
    qCInfo(lcUdpStats).nospace() << "master at " << qRound(masterPosition) << " ms, state " << masterState
                                 << "; slave at " << qRound(position) << " ms, state " << state
                                 << "; error over " << errors.size() << " datagrams: median "
                                 << qRound(errors.at(errors.size() / 2)) << " ms, largest " << qRound(largest)
                                 << " ms; " << correctiveSeeks << " corrective seeks; nudged "
                                 << qRound(controller.nudgingMs()) << " ms";
    errors.clear();
}
