#pragma once

#include <QObject>
#include <QUrl>
#include <QVariant>

#include <functional>

// Stands in for the current media player of the QML media loader: the three properties a
// synchronisation peer reads, and seek(), recorded.
class FakePlayer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QUrl mediaSource MEMBER mediaSource)
    Q_PROPERTY(int playbackState MEMBER playbackState)
    Q_PROPERTY(int position MEMBER position)

public:
    QUrl mediaSource;
    int playbackState = 0;
    int position = 0;
    QVariantList seeks;

    Q_INVOKABLE void seek(const QVariant& offset) { seeks.append(offset); }
};

// Stands in for the QML media loader: its current player, and the two functions the core calls by
// name, recorded with their arguments as they arrive.
class FakeMediaLoader : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject* mediaPlayer MEMBER mediaPlayer)

public:
    QObject* mediaPlayer = nullptr;
    QList<QVariantList> opened;
    QVariantList states;
    // Runs inside processFileSource, as a loader switching players would.
    std::function<void()> whenOpening;

    Q_INVOKABLE void processFileSource(const QVariant& fileSource, const QVariant& checkFile,
                                       const QVariant& clearPlaylist, const QVariant& error)
    {
        opened.append({fileSource, checkFile, clearPlaylist, error});
        if (whenOpening) {
            whenOpening();
        }
    }
    Q_INVOKABLE void syncPlaybackState(const QVariant& masterState) { states.append(masterState); }
};
