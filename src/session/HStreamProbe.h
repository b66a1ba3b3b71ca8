#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// One look at a network media that would not play: a single ranged request for its first bytes,
// whose answer (or the way it fails) says why, in the words the user is shown. It never asks
// twice and gives up after a timeout.
class HStreamProbe : public QObject
{
    Q_OBJECT

public:
    explicit HStreamProbe(QObject* parent = nullptr);
    ~HStreamProbe() override;

    // Drops a probe still under way.
    void start(const QUrl& url, int timeoutMs);
    void abort();

signals:
    // decodingProblem: the server delivered the media, so the fault lies in decoding it.
    void finished(const QUrl& url, const QString& reason, bool decodingProblem);

private:
    void onReadyRead();
    void onFinished();
    void conclude(const QString& reason, bool decodingProblem);
    QString describeAnswer(int status) const;

    QNetworkAccessManager* const network;
    QNetworkReply* reply = nullptr;
    QTimer timeout;
    QUrl url;
    QByteArray head;
    QString tlsError;
    bool enough = false;
};
