#include "HMediaFiles.h"

#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

namespace {

// Suffixes the media loader plays as video, lower case.
const QStringList videoExtensions{
    QStringLiteral("3gp"),  QStringLiteral("asf"),  QStringLiteral("avi"),  QStringLiteral("divx"),
    QStringLiteral("dvx"),  QStringLiteral("flv"),  QStringLiteral("h264"), QStringLiteral("m3u8"),
    QStringLiteral("m4v"),  QStringLiteral("mkv"),  QStringLiteral("mov"),  QStringLiteral("movie"),
    QStringLiteral("mp4"),  QStringLiteral("mp4v"), QStringLiteral("mpe"),  QStringLiteral("mpeg"),
    QStringLiteral("mpg"),  QStringLiteral("ogg"),  QStringLiteral("swf"),  QStringLiteral("ts"),
    QStringLiteral("vivo"), QStringLiteral("wmv")};

// From the path alone: signed links of hosting services carry a query ("reef.mp4?token=…").
QString lowerSuffix(const QUrl& url)
{
    return QFileInfo(url.path()).suffix().toLower();
}

} // namespace

QUrl HMediaFiles::urlFromText(const QString& text)
{
    const QUrl url(text, QUrl::TolerantMode);
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("file")) {
        return url;
    }
    // Everything else is a path, a Windows drive path included ("C:" is no scheme), and so are
    // names holding "#" or "?", which a URL would cut off.
    return QUrl::fromLocalFile(text);
}

QUrl HMediaFiles::checkFilePath(const QUrl& filePath)
{
    if (filePath.scheme() != QLatin1String("qrc")) {
        return filePath;
    }
    QUrl url = filePath;
    url.setScheme(QStringLiteral("file"));
    return url;
}

bool HMediaFiles::isImageFile(const QUrl& filePath)
{
    return QImageReader::supportedImageFormats().contains(lowerSuffix(filePath).toUtf8());
}

bool HMediaFiles::isVideoFile(const QUrl& filePath)
{
    return videoExtensions.contains(lowerSuffix(filePath));
}

QString HMediaFiles::displayName(const QUrl& url)
{
    const QString fileName = url.fileName(QUrl::FullyDecoded);
    if (url.isLocalFile() || url.host().isEmpty()) {
        return fileName.isEmpty() ? url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery) : fileName;
    }
    const QString host = url.host(QUrl::FullyDecoded);
    return fileName.isEmpty() ? host : QStringLiteral("%1 (%2)").arg(fileName, host);
}
