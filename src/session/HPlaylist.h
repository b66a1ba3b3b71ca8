#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
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
    // The entry being shown could not be: it is marked, and after a moment the list moves on to
    // the next entry not marked. When every entry has failed the list stays where it is.
    void entryFailed();
    bool allFailed() const { return playlist.size() > 1 && failedEntries.size() == playlist.size(); }

signals:
    void indexChanged();
    void opening();
    void mediaRequested(const QVariant& fileSource, bool checkFile, const QString& error);
    // A playlist file could not be read: its message, and the particulars.
    void fileFailed(const QUrl& file, const QString& error, const QString& detail);

private:
    QList<QUrl> playlist;
    int indexValue = -1;
    QTimer* imageTimer;
    // Moves on from a failed entry, after the user has had a moment to read why.
    QTimer* failureTimer;
    QSet<int> failedEntries;
    QMap<QUrl, QUrl> logoMap;
};
