#pragma once

#include "HTileLayout.h"

#include <QByteArray>
#include <QFile>
#include <QMutex>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// The tiles of one panorama photo on disk, under the cache location: one file per level with a
// fixed place for every tile slot (HTileLayout::slot pixels a side, packed RGB). The decoder writes
// them once; a manifest written last says that every tile is there, so that opening the same file
// again (same path, size and time) reads tiles at once instead of decoding the picture again.
// Reads and writes may come from any thread.
class HTileStore
{
public:
    static constexpr qint64 slotBytes = qint64(HTileLayout::slot) * HTileLayout::slot * 3;

    // The photo's folder under root, named after the file's path, size and time.
    HTileStore(const QString& root, const QString& photo, const HTileLayout& layout);

    // Makes or reopens the folder; false with a reason when the disk refuses.
    bool open(QString* error);
    // Every tile came from an earlier run.
    bool isComplete() const { return complete; }
    QString directory() const { return folder; }

    bool has(int level, int column, int row) const;
    bool write(int level, int column, int row, const unsigned char* slotPixels);
    // slotBytes of the tile's slot; empty when it is not there (yet) or cannot be read.
    QByteArray read(int level, int column, int row) const;
    // After the last tile: writes the manifest.
    void markComplete();
    // Called, on the writing thread, after each tile written.
    void setWritten(std::function<void()> callback) { written = std::move(callback); }

    // Deletes the folders of the photos opened longest ago until the tiles under root take at most
    // limit bytes; the folder kept is never deleted.
    static void trim(const QString& root, qint64 limit, const QString& kept);

private:
    int flatIndex(int level, int column, int row) const;

    QString folder;
    QString source;
    HTileLayout layout;
    struct LevelFile
    {
        QFile file;
        QMutex mutex;
    };
    std::vector<std::unique_ptr<LevelFile>> files;
    std::vector<int> levelOffsets;
    std::unique_ptr<std::atomic<bool>[]> present;
    std::atomic<bool> complete{false};
    std::function<void()> written;
};
