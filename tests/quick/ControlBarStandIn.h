#pragma once

#include <QObject>
#include <QUrl>

// The control bar ("h_bar") as the components under test reach it: only its signals, which the
// tests watch.
class ControlBarStandIn : public QObject
{
    Q_OBJECT

signals:
    void showPlayerImage(const QUrl& playerImage);
};
