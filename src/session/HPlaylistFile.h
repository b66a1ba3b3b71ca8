#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// Reads a playlist file: a JSON array of objects whose "media" and "logo" name files relative to
// the playlist's own folder, or URLs. A file that cannot be used leaves the entries empty and says
// why in error(), in the words the user is shown, with the particulars in detail().
class HPlaylistFile
{
public:
    struct Entry
    {
        QUrl media;
        QUrl logo;
    };

    // Whether the URL names a playlist file, by its extension (case-sensitive, as written).
    static bool isPlaylistFile(const QUrl& url);

    explicit HPlaylistFile(const QString& path);
    // The same for a file's contents already read, its entries relative to `folder`.
    HPlaylistFile(const QByteArray& contents, const QString& folder);

    QList<Entry> entries() const { return entryList; }
    QString error() const { return errorText; }
    QString detail() const { return detailText; }

private:
    void parse(const QByteArray& contents, const QString& path);
    QUrl resolve(const QString& path) const;

    QString directory;
    QList<Entry> entryList;
    QString errorText;
    QString detailText;
};
