#pragma once

#include "HClockOffset.h"
#include "HOrientationFollower.h"
#include "HRateController.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

class HGlobalObject;
struct HSyncDatagram;
class QTimer;
class QUdpSocket;

// Keeps several players in step over UDP. A master sends its view orientation, its media and the
// player's state and position many times a second; a slave applies every valid datagram it receives,
// from whoever sent it. The role comes from the command line or the stored setting and is fixed for
// the life of the process; so are the other settings, read once here.
//
// A master also stamps each datagram with its monotonic clock and its rate. From those a slave knows
// where its master is at this instant: it then keeps pace by nudging its own rate, seeks only over a
// second off, and plays the master's turns out smoothly. Datagrams without a stamp are followed
// the old way: the view as it comes, and a seek when more than three seconds off.
class HUdpSocket : public QObject
{
    Q_OBJECT

public:
    // How a slave turns the master's media URL into one of its own.
    enum UrlMode
    {
        Absolute = 0, // the received URL as it is
        Movies = 1,   // a file of the same name in the user's movies folder
        Desktop = 2,  // the same, on the user's desktop
        Off = 3       // never change the media; only state and position follow
    };
    Q_ENUM(UrlMode)

    // A non-empty state ("master", "slave", anything else for off) takes the place of the stored
    // setting for this run, without being written back.
    HUdpSocket(HGlobalObject* globalObject, const QString& state, QObject* parent = nullptr);

    // Where a master in "custom" mode sends when no address was ever stored.
    static QString defaultCustomAddress() { return QStringLiteral("192.168.1.100"); }

    // Null when synchronisation is off.
    QUdpSocket* socket() const { return udpSocket; }
    // The master's send timer; null for a slave or when off.
    QTimer* timer() const { return sendTimer; }
    bool isMaster() const { return sendTimer != nullptr; }
    bool isSlave() const { return udpSocket && !sendTimer; }
    QHostAddress targetAddress() const { return target; }
    quint16 port() const { return quint16(portValue); }
    bool seekAllowed() const { return seekAllowedValue; }

    // What a slave does with one received datagram; `arrivedAt` on the monotonic clock.
    void handleDatagram(const QByteArray& datagram, double arrivedAt);

public slots:
    // Master: sends one datagram with the current view and player state.
    void writeData();
    // Slave: handles every pending datagram in arrival order.
    void readData();
    // Lets the next corrective seek through.
    void unlockSync();

private:
    QUrl resolveUrl(const QString& received) const;
    // Opens the master's media and takes its playback state; the player the position goes to.
    QObject* followMedia(const HSyncDatagram& datagram);
    void followPosition(QObject* player, const HSyncDatagram& datagram);
    void followClockedPosition(QObject* player, const HSyncDatagram& datagram);
    void applyView();
    void setRate(QObject* player, double rate, double mastersRate);
    // The slave's error against its master on every datagram, logged once a second.
    void noteStatistics(double masterPosition, int masterState, double position, int state);
    // Both roles, when the category is on: the player's position ten times a second, stamped.
    void logClock();

    QUdpSocket* udpSocket = nullptr;
    QTimer* sendTimer = nullptr;
    QHostAddress target;
    // The multicast group of "application/communication/multicastGroup", when the address choice
    // is "multicast": where the master sends, what the slave joins.
    QHostAddress group;
    qint64 portValue = 0;
    QString id;
    // Against an old master; a stamping master's is the controller's.
    int seekThreshold = 3000;
    int rate = 20;
    int urlMode = Absolute;
    bool orientation = true;
    bool seekAllowedValue = true;
    // Following a stamping master.
    HClockOffset offset;
    HRateController controller;
    HOrientationFollower follower;
    QTimer* viewTimer = nullptr;
    double newestClock = 0.0;
    double lastClockedAt = 0.0;
    double rateSet = 1.0;
    QPointer<QObject> ratedPlayer;
    // For the once-a-second line of the statistics category.
    int correctiveSeeks = 0;
    QElapsedTimer sinceStatistics;
    QVector<double> errors;
    HGlobalObject* const global;
};
