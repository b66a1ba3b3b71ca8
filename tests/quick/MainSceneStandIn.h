#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// The main scene's root ("root") as the components under test reach it: the messages they ask it
// to show and the activity they report are announced instead of acted on.
class MainSceneStandIn : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE void onDisplayMessage(const QString& message, const QVariant& icon = QVariant())
    {
        emit messageDisplayed(message, icon.isValid() ? icon.toInt() : -1);
    }

    Q_INVOKABLE void onMouseMoved() { emit mouseMoved(); }

signals:
    // icon is the QtQuick.Dialogs StandardIcon value, or -1 when none was given.
    void messageDisplayed(const QString& message, int icon);
    void mouseMoved();
};
