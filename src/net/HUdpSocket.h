#pragma once

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QVector>

class HGlobalObject;
class QTimer;
class QUdpSocket;

// Keeps several players in step over UDP. A master sends its view orientation, its media and the
// player's state and position many times a second; a slave applies every valid datagram it receives,
// from whoever sent it. The role comes from the command line or the stored setting and is fixed for
// the life of the process; so are the other settings, read once here.
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

    // What a slave does with one received datagram.
    void handleDatagram(const QByteArray& datagram);

public slots:
    // Master: sends one datagram with the current view and player state.
    void writeData();
    // Slave: handles every pending datagram in arrival order.
    void readData();
    // Lets the next corrective seek through.
    void unlockSync();

private:
    QUrl resolveUrl(const QString& received) const;
    // The slave's error against its master on every datagram, logged once a second.
    void noteStatistics(qint64 masterPosition, int masterState, qint64 position, int state);

    QUdpSocket* udpSocket = nullptr;
    QTimer* sendTimer = nullptr;
    QHostAddress target;
    qint64 portValue = 0;
    QString id;
    int seekThreshold = 3000;
    int rate = 20;
    int urlMode = Absolute;
    bool orientation = true;
    bool seekAllowedValue = true;
    // For the once-a-second line of the statistics category.
    int correctiveSeeks = 0;
    QElapsedTimer sinceStatistics;
    QVector<qint64> errors;
    HGlobalObject* const global;
};
