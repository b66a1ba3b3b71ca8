#include "HPlaylistFile.h"

#include "SessionLogging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace {

// The user sees these texts as the global object's own messages.
QString message(const char* text)
{
    return QCoreApplication::translate("HGlobalObject", text);
}

} // namespace

bool HPlaylistFile::isPlaylistFile(const QUrl& url)
{
    return QFileInfo(url.toLocalFile()).suffix() == QLatin1String("vxpl");
}

HPlaylistFile::HPlaylistFile(const QString& path) : directory(QFileInfo(path).absolutePath())
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCWarning(lcSession) << "Cannot open playlist" << path << file.errorString();
        errorText = message(QT_TRANSLATE_NOOP("HGlobalObject", "Error : cannot open file .vxpl"));
        detailText = file.errorString();
        return;
    }
    parse(file.readAll(), path);
}

HPlaylistFile::HPlaylistFile(const QByteArray& contents, const QString& folder) : directory(folder)
{
    parse(contents, folder);
}

void HPlaylistFile::parse(const QByteArray& contents, const QString& path)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(contents, &parseError);
    if (document.isNull()) {
        qCWarning(lcSession) << "Cannot parse playlist" << path << parseError.errorString() << "at"
                             << parseError.offset;
        errorText = message(QT_TRANSLATE_NOOP("HGlobalObject", "Error : cannot parse json"));
        detailText =
            QCoreApplication::translate("HPlaylistFile", "The playlist is not valid JSON: %1 at byte %2.")
                .arg(parseError.errorString())
                .arg(parseError.offset);
        return;
    }
    if (!document.isArray()) {
        errorText = message(QT_TRANSLATE_NOOP("HGlobalObject", "Error : json is not an array"));
        detailText = QCoreApplication::translate("HPlaylistFile",
                                                 "A playlist is a list of entries in square brackets.");
        return;
    }
    const QJsonArray array = document.array();
    if (array.isEmpty()) {
        errorText = message(QT_TRANSLATE_NOOP("HGlobalObject", "Error : json is empty"));
        detailText = QCoreApplication::translate("HPlaylistFile", "The playlist names no media.");
        return;
    }

    for (const QJsonValue& element : array) {
        // A media that is missing or not text reads as empty and so names the playlist's folder;
        // the media loader then refuses that entry like any other it cannot show. A missing logo
        // is no logo.
        const QJsonObject object = element.toObject();
        const QString logo = object.value(QLatin1String("logo")).toString();
        entryList.append({resolve(object.value(QLatin1String("media")).toString()),
                          logo.isEmpty() ? QUrl() : resolve(logo)});
    }
}

QUrl HPlaylistFile::resolve(const QString& path) const
{
    // Addresses stay addresses; only paths are taken relative to the playlist.
    const QUrl url(path, QUrl::TolerantMode);
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("file")) {
        return url;
    }
    const QString absolute = QDir::cleanPath(QDir(directory).absoluteFilePath(path));
    return QUrl::fromLocalFile(QDir::toNativeSeparators(absolute));
}
