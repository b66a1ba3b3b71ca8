#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class HStreamProbe;

// The one state every failure to open or play a media ends in ("hFailure" in QML): which media,
// a headline, and beneath it a plain sentence of what went wrong and what to do. Whoever meets a
// failure reports it here; the reason is then found out from the file system, the file's own
// bytes, or one probe of a network address, and the scene shows what is found.
class HMediaFailure : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool active READ isActive NOTIFY changed)
    Q_PROPERTY(QString mediaName READ mediaName NOTIFY changed)
    Q_PROPERTY(QString headline READ headline NOTIFY changed)
    Q_PROPERTY(QString reason READ reason NOTIFY changed)
    // Only where the file was read but not decoded can another video back end help.
    Q_PROPERTY(bool otherBackendMayHelp READ otherBackendMayHelp NOTIFY changed)

public:
    // How a video player failed, as it reports it.
    enum PlayerFailure
    {
        DecodeError = 0,
        EndedWithoutPicture,
        Stalled,
        NoVideoTrack
    };
    Q_ENUM(PlayerFailure)

    explicit HMediaFailure(QObject* parent = nullptr);

    bool isActive() const { return !headlineText.isEmpty(); }
    QString mediaName() const { return name; }
    QString headline() const { return headlineText; }
    QString reason() const { return reasonText; }
    bool otherBackendMayHelp() const { return backendMayHelp; }

    // A local file that cannot be a media at all (missing, unreadable, a folder, empty) is reported
    // at once, and false returned; anything else, network addresses too, passes.
    Q_INVOKABLE bool checkBeforeOpening(const QUrl& url);
    Q_INVOKABLE void reportUnsupported(const QUrl& url);
    Q_INVOKABLE void reportImage(const QUrl& url);
    // playerText: what the player said, shown when nothing better is found. stallSeconds: how long
    // a stalled media had sent nothing.
    Q_INVOKABLE void reportPlayer(const QUrl& url, int failure, const QString& playerText,
                                  int stallSeconds = 0);
    // A playlist file that cannot be read: its headline is the playlist's own message.
    void reportPlaylist(const QUrl& playlist, const QString& headline, const QString& detail);
    // A message of its own, for a media that has not been named.
    Q_INVOKABLE void reportMessage(const QString& headline);
    Q_INVOKABLE void clear();

signals:
    void changed();
    // Once for each failure, when it is first reported (the playlist moves on), before changed().
    void failed();

private:
    // Why a local file cannot be opened as a media, or an empty text when nothing stands in the way.
    static QString fileProblem(const QString& path);
    void show(const QUrl& url, const QString& headline, const QString& reason, bool mayHelp);
    void probed(const QUrl& url, const QString& reason, bool decodingProblem);
    void logFailure() const;
    static QString localVideoProblem(const QString& path, int failure);
    static QString imageProblem(const QString& path);

    QUrl media;
    QString name;
    QString headlineText;
    QString reasonText;
    bool backendMayHelp = false;
    HStreamProbe* const probe;
};
