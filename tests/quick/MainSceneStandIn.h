#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// The main scene's root ("root") as the components under test reach it: the messages and popups they
// ask it to show, the states they ask it for and the activity they report are announced instead of
// acted on.
class MainSceneStandIn : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE void onDisplayMessage(const QString& message, const QVariant& icon = QVariant())
    {
        emit messageDisplayed(message, icon.isValid() ? icon.toInt() : -1);
    }

    Q_INVOKABLE void onMouseMoved() { emit mouseMoved(); }

    Q_INVOKABLE void onDisplayPopup(const QString& qmlFile, const QString& rootState = QString())
    {
        emit popupRequested(qmlFile, rootState);
    }

    Q_INVOKABLE void changeState(const QString& newState) { emit stateRequested(newState); }

signals:
    // icon is the QtQuick.Dialogs StandardIcon value, or -1 when none was given.
    void messageDisplayed(const QString& message, int icon);
    void mouseMoved();
    void popupRequested(const QString& qmlFile, const QString& rootState);
    void stateRequested(const QString& newState);
};
