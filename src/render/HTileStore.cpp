#include "HTileStore.h"

#include "RenderLogging.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

namespace {

const char manifestName[] = "tiles.json";
constexpr int manifestVersion = 1;

QJsonObject describe(const QString& photo, const QSize& picture)
{
    const QFileInfo info(photo);
    return QJsonObject{
        {"version", manifestVersion},   {"source", info.absoluteFilePath()},
        {"bytes", double(info.size())}, {"modified", double(info.lastModified().toMSecsSinceEpoch())},
        {"width", picture.width()},     {"height", picture.height()}};
}

qint64 folderBytes(const QString& path)
{
    qint64 bytes = 0;
    QDirIterator files(path, QDir::Files);
    while (files.hasNext()) {
        files.next();
        bytes += files.fileInfo().size();
    }
    return bytes;
}

} // namespace

HTileStore::HTileStore(const QString& root, const QString& photo, const HTileLayout& tileLayout)
    : source(photo), layout(tileLayout)
{
    const QByteArray key = QJsonDocument(describe(photo, layout.picture())).toJson(QJsonDocument::Compact);
    folder = QDir(root).filePath(
        QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex()));
    int total = 0;
    for (int level = 0; level < layout.levels(); ++level) {
        levelOffsets.push_back(total);
        const QSize count = layout.tiles(level);
        total += count.width() * count.height();
    }
    present.reset(new std::atomic<bool>[size_t(total)]);
    for (int i = 0; i < total; ++i) {
        present[size_t(i)] = false;
    }
}

bool HTileStore::open(QString* error)
{
    QDir dir(folder);
    const QString manifest = dir.filePath(manifestName);
    QFile stored(manifest);
    if (stored.open(QIODevice::ReadOnly)) {
        complete = QJsonDocument::fromJson(stored.readAll()).object() == describe(source, layout.picture());
        stored.close();
    }
    if (!complete && dir.exists()) {
        // Left half-written by a run that ended early, or by another version: made again.
        dir.removeRecursively();
    }
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    if (complete) {
        // Its time says when it was last shown, for trim().
        stored.open(QIODevice::ReadWrite);
        stored.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    }
    for (int level = 0; level < layout.levels(); ++level) {
        files.push_back(std::make_unique<LevelFile>());
        QFile& file = files.back()->file;
        file.setFileName(dir.filePath(QStringLiteral("level-%1.tiles").arg(level)));
        if (!file.open(complete ? QIODevice::ReadOnly : QIODevice::ReadWrite)) {
            *error = QStringLiteral("cannot open %1: %2").arg(file.fileName(), file.errorString());
            return false;
        }
        if (complete &&
            file.size() < slotBytes * layout.tiles(level).width() * layout.tiles(level).height()) {
            *error = QStringLiteral("%1 is cut short").arg(file.fileName());
            complete = false;
            return false;
        }
    }
    const int total = levelOffsets.empty() ? 0 : flatIndex(layout.levels() - 1, 0, 0) + 1;
    for (int i = 0; i < total; ++i) {
        present[size_t(i)] = complete.load();
    }
    return true;
}

int HTileStore::flatIndex(int level, int column, int row) const
{
    return levelOffsets[size_t(level)] + layout.indexInLevel(level, column, row);
}

bool HTileStore::has(int level, int column, int row) const
{
    return layout.contains(level, column, row) && present[size_t(flatIndex(level, column, row))];
}

bool HTileStore::write(int level, int column, int row, const unsigned char* slotPixels)
{
    if (!layout.contains(level, column, row) || size_t(level) >= files.size()) {
        return false;
    }
    LevelFile& entry = *files[size_t(level)];
    {
        QMutexLocker locker(&entry.mutex);
        if (!entry.file.seek(slotBytes * layout.indexInLevel(level, column, row)) ||
            entry.file.write(reinterpret_cast<const char*>(slotPixels), slotBytes) != slotBytes) {
            qCWarning(lcRender).noquote()
                << "Cannot write a tile to" << entry.file.fileName() << "-" << entry.file.errorString();
            return false;
        }
        // Readers read through the same handle, so what is buffered is what they see.
        entry.file.flush();
    }
    present[size_t(flatIndex(level, column, row))] = true;
    if (written) {
        written();
    }
    return true;
}

QByteArray HTileStore::read(int level, int column, int row) const
{
    if (!has(level, column, row)) {
        return QByteArray();
    }
    LevelFile& entry = *files[size_t(level)];
    QMutexLocker locker(&entry.mutex);
    if (!entry.file.seek(slotBytes * layout.indexInLevel(level, column, row))) {
        return QByteArray();
    }
    QByteArray pixels = entry.file.read(slotBytes);
    return pixels.size() == slotBytes ? pixels : QByteArray();
}

void HTileStore::markComplete()
{
    QSaveFile manifest(QDir(folder).filePath(manifestName));
    if (manifest.open(QIODevice::WriteOnly)) {
        manifest.write(QJsonDocument(describe(source, layout.picture())).toJson());
        complete = manifest.commit();
    }
}

void HTileStore::trim(const QString& root, qint64 limit, const QString& kept)
{
    struct Folder
    {
        QString path;
        QDateTime used;
        qint64 bytes;
    };
    std::vector<Folder> folders;
    qint64 total = 0;
    const QFileInfoList entries = QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const QFileInfo manifest(QDir(entry.filePath()).filePath(manifestName));
        Folder folder{entry.filePath(), manifest.exists() ? manifest.lastModified() : entry.lastModified(),
                      folderBytes(entry.filePath())};
        total += folder.bytes;
        folders.push_back(folder);
    }
    std::sort(folders.begin(), folders.end(),
              [](const Folder& a, const Folder& b) { return a.used < b.used; });
    for (const Folder& folder : folders) {
        if (total <= limit) {
            break;
        }
        if (QFileInfo(folder.path) == QFileInfo(kept)) {
            continue;
        }
        qCInfo(lcRender).noquote() << "Tile cache: removing" << folder.path << "to stay within"
                                   << limit / (1 << 20) << "MB";
        QDir(folder.path).removeRecursively();
        total -= folder.bytes;
    }
}
