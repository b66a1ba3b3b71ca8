#pragma once

#include "session/HGlobalObject.h"

#include <QObject>
#include <QUrl>
#include <QVariant>

// Stands in for the QML media loader: records every call the global object makes, with its four
// arguments as they arrive.
class RecordingMediaLoader : public QObject
{
    Q_OBJECT

public:
    QList<QVariantList> calls;

    // Registers with the global object and listens to its requests, as the QML loader does.
    void attach(HGlobalObject& global)
    {
        global.setMediaLoader(this);
        connect(&global, &HGlobalObject::mediaRequested, this, &RecordingMediaLoader::processFileSource);
    }

    Q_INVOKABLE void processFileSource(const QVariant& fileSource, const QVariant& checkFile,
                                       const QVariant& clearPlaylist, const QVariant& error)
    {
        calls.append({fileSource, checkFile, clearPlaylist, error});
    }

    // The call a media opens with: its URL, the check flag, never a cleared playlist, no error.
    static QVariantList opening(const QUrl& url, bool checkFile)
    {
        return {url, checkFile, false, QString()};
    }
    static QVariantList failing(bool checkFile, const QString& error)
    {
        return {QString(), checkFile, false, error};
    }
};
