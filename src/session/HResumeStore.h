#pragma once

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QTimer>
#include <QUrl>

class HGlobalObject;
class HPictureLayout;
class HSettingsManager;

// Where the user left each media: the position, the view (yaw, pitch, field of view), the
// projection and the picture choice, for the few hundred most recent, kept in the settings store
// and written as they change, so that a program that is killed loses at most a second. Reopening a
// media brings it back there; a plain start reopens the last list. Published to QML as "hResume".
class HResumeStore : public QObject
{
    Q_OBJECT

public:
    static constexpr int maxEntries = 300;

    HResumeStore(HSettingsManager* settings, HGlobalObject* global, HPictureLayout* picture,
                 QObject* parent = nullptr);

    // A media's key: the canonical path of a local file (so that two spellings of one file meet),
    // else the URL.
    static QString keyOf(const QUrl& url);

    // The list opened last and the entry that was shown, for a start without files.
    QList<QUrl> lastList() const;
    int lastListIndex() const;

    // Back to the media's start, looking ahead (the Home key).
    Q_INVOKABLE void startOver();

signals:
    // A media came back where it was left; the scene restores the projection and says so.
    void resumed(int position, int projection, const QString& message);

private:
    void watch();
    bool restore(QObject* player);
    void record(QObject* player);
    void save();
    QJsonObject stateOf(QObject* player) const;

    HSettingsManager* const settings;
    HGlobalObject* const global;
    HPictureLayout* const picture;
    QTimer ticker;
    QJsonArray entries; // most recent first
    QString currentKey;
    QUrl currentUrl;
    // A media whose stored state waits for the player to know its duration.
    bool pending = false;
    QDeadlineTimer pendingUntil;
};
