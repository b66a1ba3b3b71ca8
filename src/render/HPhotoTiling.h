#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QUrl>

class HSettingsManager;

// When a photo is shown from tiles rather than as one texture, and the limits of doing so: the
// texture memory a photo may take ("application/photo/textureBudget", megabytes), beyond which, or
// beyond the largest texture, a JPEG is tiled and its tile slots fit within it; and the disk the tile
// cache may take ("application/photo/tileCacheSize", megabytes) under the cache location.
class HPhotoTiling : public QObject
{
    Q_OBJECT

public:
    explicit HPhotoTiling(HSettingsManager* settings, QObject* parent = nullptr);

    // Whether the photo at that address is shown from tiles, the window's largest texture given.
    Q_INVOKABLE bool suits(const QUrl& photo, const QSize& maxTextureSize) const;

    qint64 textureBudget() const { return budgetBytes; }
    qint64 cacheLimit() const { return cacheBytes; }
    QString cacheDirectory() const { return cacheFolder; }

private:
    qint64 budgetBytes;
    qint64 cacheBytes;
    QString cacheFolder;
};
