#pragma once

#include <QObject>
#include <QUrl>

// The control bar ("h_bar") as the components under test reach it: its signals, which the tests
// watch, and the functions they call, which are announced instead of acted on.
class ControlBarStandIn : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE void playPause() { emit playPauseCalled(); }

signals:
    void showPlayerImage(const QUrl& playerImage);
    void playPauseCalled();
};
