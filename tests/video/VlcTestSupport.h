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
    explicit PlayerLog(Player* player) : item(player)
    {
        watch(&Player::vlcStateChanged, [this](int state) { states << state; });
        watch(&Player::positionChanged, [this](int position) { positions << position; });
        watch(&Player::durationChanged, [this](int duration) { durations << duration; });
        watch(&Player::sourceChanged, [this] { ++sourceChanges; });
        watch(&Player::errorStringChanged, [this](const QString& error) { errors << error; });
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
        sourceChanges = 0;
        errors.clear();
    }

    QVector<int> states;
    QVector<int> positions;
    QVector<int> durations;
    int sourceChanges = 0;
    QStringList errors;
    bool offGuiThread = false;

private:
    // Direct connections: a signal emitted on one of libvlc's threads is seen on that thread.
    template <typename... Args, typename Record>
    void watch(void (Player::*signal)(Args...), Record record)
    {
        connect(
            item, signal, this,
            [this, record](Args... arguments) {
                offGuiThread =
                    offGuiThread || QThread::currentThread() != QCoreApplication::instance()->thread();
                record(arguments...);
            },
            Qt::DirectConnection);
    }

    Player* item;
};
