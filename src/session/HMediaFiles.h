#pragma once

#include <QString>
#include <QUrl>

// What a path or URL names, as the media loader asks it: photos are what the installed image
// plug-ins read, videos are known by their suffix, and the rest is found out by playing.
namespace HMediaFiles {

// A path or URL as the user wrote it: http, https and file URLs are taken as they are, anything
// else is a local path (possibly relative).
QUrl urlFromText(const QString& text);
// Media inside the resources are opened from the file system instead.
QUrl checkFilePath(const QUrl& filePath);
bool isImageFile(const QUrl& filePath);
bool isVideoFile(const QUrl& filePath);
// What the user calls a media: a file's name; a stream's name with its host, or the host alone.
// Never the query or user info, which can hold keys and passwords.
QString displayName(const QUrl& url);

} // namespace HMediaFiles
