#include "HPhotoTiling.h"

#include "HTileLayout.h"
#include "base/HSettingsManager.h"
#include "media/HJpegReader.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

HPhotoTiling::HPhotoTiling(HSettingsManager* settings, QObject* parent) : QObject(parent)
{
    constexpr qint64 megabyte = 1 << 20;
    budgetBytes =
        qBound(32, settings->ensureValue(QStringLiteral("application/photo/textureBudget"), 128).toInt(),
               4096) *
        megabyte;
    cacheBytes =
        qBound(256, settings->ensureValue(QStringLiteral("application/photo/tileCacheSize"), 4096).toInt(),
               1 << 20) *
        megabyte;
    cacheFolder = QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
                      .filePath(QStringLiteral("tiles"));
}

bool HPhotoTiling::suits(const QUrl& photo, const QSize& maxTextureSize) const
{
    if (!photo.isLocalFile()) {
        return false;
    }
    const QString path = photo.toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("jpg") && suffix != QLatin1String("jpeg")) {
        return false;
    }
    const QSize size = HJpegReader::pictureSize(path);
    if (size.isEmpty() || !HTileLayout(size).isValid()) {
        return false;
    }
    // Before the window knows its largest texture, only the budget decides.
    const bool tooWide = !maxTextureSize.isEmpty() &&
                         (size.width() > maxTextureSize.width() || size.height() > maxTextureSize.height());
    return tooWide || qint64(size.width()) * size.height() * 4 > budgetBytes;
}
