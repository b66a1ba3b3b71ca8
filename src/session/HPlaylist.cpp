#include "HPlaylist.h"

#include "HPlaylistFile.h"
#include "SessionLogging.h"
#include "base/HSettingsManager.h"

#include <QTimer>

namespace {
const QString imageDisplayDurationKey = QStringLiteral("application/playlist/imageDisplayDuration");
constexpr int defaultImageDisplayDuration = 30000; // milliseconds
constexpr int failurePauseMs = 2500;
} // namespace

HPlaylist::HPlaylist(HSettingsManager* settings, QObject* parent)
    : QObject(parent), imageTimer(new QTimer(this)), failureTimer(new QTimer(this))
{
    failureTimer->setSingleShot(true);
    failureTimer->setInterval(failurePauseMs);
    connect(failureTimer, &QTimer::timeout, this, [this] {
        for (int step = 1; step < playlist.size(); ++step) {
            const int candidate = (indexValue + step) % playlist.size();
            if (!failedEntries.contains(candidate)) {
                setIndex(candidate);
                return;
            }
        }
        qCInfo(lcSession) << "Every entry of the playlist failed; staying on the last";
    });
    const QVariant stored = settings->ensureValue(imageDisplayDurationKey, defaultImageDisplayDuration);
    bool isNumber = false;
    int duration = stored.toInt(&isNumber);
    if (!isNumber || duration <= 0) {
        // A zero interval would flip through the photos as fast as they load.
        qCWarning(lcSession) << "Ignoring the photo display duration" << stored << "- using"
                             << defaultImageDisplayDuration << "ms";
        duration = defaultImageDisplayDuration;
    }
    imageTimer->setInterval(duration);
    connect(imageTimer, &QTimer::timeout, this, &HPlaylist::next);
}

int HPlaylist::imageDisplayDuration() const
{
    return imageTimer->interval();
}

void HPlaylist::setIndex(int index)
{
    if (index == indexValue) {
        return;
    }
    imageTimer->stop();
    failureTimer->stop();
    indexValue = index;
    if (index >= 0 && index < playlist.size()) {
        emit mediaRequested(playlist.at(index), true, QString());
    }
    emit indexChanged();
}

void HPlaylist::open(const QList<QUrl>& urls, bool checkFile)
{
    if (urls.isEmpty()) {
        return;
    }
    QList<QUrl> media = urls;
    QString error;
    if (urls.size() == 1 && HPlaylistFile::isPlaylistFile(urls.first())) {
        const HPlaylistFile playlistFile(urls.first().toLocalFile());
        error = playlistFile.error();
        if (!error.isEmpty()) {
            emit fileFailed(urls.first(), error, playlistFile.detail());
        } else {
            media.clear();
            for (const HPlaylistFile::Entry& entry : playlistFile.entries()) {
                media.append(entry.media);
                logoMap.insert(entry.media, entry.logo); // a later entry for the same media wins
            }
        }
    }

    clear();
    if (!error.isEmpty()) {
        qCWarning(lcSession).noquote() << urls.first().toString() << error;
        emit mediaRequested(QString(), checkFile, error);
        return;
    }

    emit opening();
    qCInfo(lcSession) << "Opening" << media;
    if (media.size() > 1) {
        playlist = media;
        setIndex(0); // playlist entries are always checked by the loader
    } else {
        emit mediaRequested(media.first(), checkFile, QString());
    }
}

void HPlaylist::next()
{
    const int next = indexValue + 1;
    setIndex(next >= playlist.size() ? 0 : next);
}

void HPlaylist::previous()
{
    const int previous = indexValue - 1;
    setIndex(previous < 0 ? playlist.size() - 1 : previous);
}

QList<QString> HPlaylist::names() const
{
    QList<QString> names;
    names.reserve(playlist.size());
    for (const QUrl& url : playlist) {
        const QString name = url.fileName(QUrl::FullyDecoded);
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        names.append(dot < 0 ? name : name.left(dot));
    }
    return names;
}

void HPlaylist::entryFailed()
{
    if (indexValue < 0 || indexValue >= playlist.size() || playlist.size() < 2) {
        return;
    }
    failedEntries.insert(indexValue);
    failureTimer->start();
}

void HPlaylist::clear()
{
    imageTimer->stop();
    failureTimer->stop();
    failedEntries.clear();
    playlist.clear();
    indexValue = -1;
    emit indexChanged();
}

void HPlaylist::startImageTimer()
{
    imageTimer->start();
}
