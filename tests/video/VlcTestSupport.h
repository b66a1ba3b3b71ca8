#pragma once

#include "video/HuiQuickVideoPlayerVlc.h"

#include <QCoreApplication>
#include <QThread>
#include <QtTest>

using Player = HuiQuickVideoPlayerVlc;

// Every wait is bounded; these are far above what the 5 s clips need on a loaded machine.
constexpr int openTimeout = 10000;
constexpr int playTimeout = 20000;

inline QUrl mediaUrl(const QString& name)
{
    return QUrl::fromLocalFile(QStringLiteral(GYRE_TEST_MEDIA_DIR "/") + name);
}

// What the item tells its QML side, in order, and whether any of it arrived off the GUI thread.
class PlayerLog : public QObject
{
public:
    explicit PlayerLog(Player* player)
    {
        // Direct connections: a signal emitted on one of libvlc's threads is seen there.
        const auto record = [this](QVector<int>& list, int value) {
            offGuiThread = offGuiThread || QThread::currentThread() != QCoreApplication::instance()->thread();
            list.append(value);
        };
        connect(
            player, &Player::vlcStateChanged, this, [this, record](int state) { record(states, state); },
            Qt::DirectConnection);
        connect(
            player, &Player::positionChanged, this,
            [this, record](int position) { record(positions, position); }, Qt::DirectConnection);
        connect(
            player, &Player::durationChanged, this,
            [this, record](int duration) { record(durations, duration); }, Qt::DirectConnection);
        connect(
            player, &Player::sourceChanged, this, [this, record] { record(sourceChanges, 1); },
            Qt::DirectConnection);
        connect(
            player, &Player::errorStringChanged, this,
            [this, record](const QString& error) {
                record(errorCount, 1);
                errors.append(error);
            },
            Qt::DirectConnection);
    }

    bool waitForState(int state, int timeout = openTimeout)
    {
        return QTest::qWaitFor([&] { return states.contains(state); }, timeout);
    }
    int lastState() const { return states.isEmpty() ? -1 : states.last(); }
    void clear()
    {
        states.clear();
        positions.clear();
        durations.clear();
        sourceChanges.clear();
        errorCount.clear();
        errors.clear();
    }

    QVector<int> states;
    QVector<int> positions;
    QVector<int> durations;
    QVector<int> sourceChanges;
    QVector<int> errorCount;
    QStringList errors;
    bool offGuiThread = false;
};
