#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QUrl>
#include <QVariant>

class HSettingsManager;
class QTimer;

// Whatever the user opens as a list of media URLs, the entry being shown, and the timer that
// steps on from a photo. Each media to show is announced by mediaRequested; a new opening by
// opening, so that the view can start again looking straight ahead.
class HPlaylist : public QObject
{
    Q_OBJECT

public:
    explicit HPlaylist(HSettingsManager* settings, QObject* parent = nullptr);

    QList<QUrl> entries() const { return playlist; }
    int index() const { return indexValue; }
    // Moves to an entry and asks for it to be shown; an index outside the list only moves.
    void setIndex(int index);
    int imageDisplayDuration() const;

    // One media opens on its own, several become the list, one playlist file is expanded.
    void open(const QList<QUrl>& urls, bool checkFile);
    // True for fewer than two entries: there is nothing to step to.
    bool isEmpty() const { return playlist.size() < 2; }
    void next();
    void previous();
    // The entries' file names without their suffixes.
    QList<QString> names() const;
    void clear();
    void startImageTimer();
    // The logo a playlist file named for a media; kept for the whole run.
    QUrl logo(const QUrl& media) const { return logoMap.value(media); }

signals:
    void indexChanged();
    void opening();
    void mediaRequested(const QVariant& fileSource, bool checkFile, const QString& error);

private:
    QList<QUrl> playlist;
    int indexValue = -1;
    QTimer* imageTimer;
    QMap<QUrl, QUrl> logoMap;
};
