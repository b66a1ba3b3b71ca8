#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QSet>
#include <QSslCertificate>
#include <QSslKey>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A loopback HTTP/1.1 server for tests, plain or over TLS: answers requests by path with the status
// and body it was given (queued answers first, then the standing one, else 404), records every
// request, and can hold a path's answers until released or close its connections unanswered. It
// knows no ranges: a body is always sent whole.
class FakeHttpServer : public QTcpServer
{
    Q_OBJECT

public:
    struct Request
    {
        QByteArray method;
        QUrl url;
        QHash<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };

    explicit FakeHttpServer(QObject* parent = nullptr);

    // 127.0.0.1 on a free port; with a certificate and key, every connection speaks TLS.
    bool listen(const QSslCertificate& certificate = QSslCertificate(), const QSslKey& key = QSslKey());
    QUrl baseUrl() const;

    void setResponse(const QString& path, int status, const QByteArray& body);
    void queueResponse(const QString& path, int status, const QByteArray& body);
    void hold(const QString& path);
    void release(const QString& path);
    // Requests for the path are met by closing the connection without an answer.
    void reset(const QString& path) { resets.insert(path); }

    QList<QUrl> requests() const;
    QList<QUrl> requestsTo(const QString& path) const;
    QList<Request> fullRequests() const { return received; }

signals:
    void requestReceived(const QUrl& url);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Response
    {
        int status = 404;
        QByteArray body;
    };
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QString& path);

    QSslCertificate tlsCertificate;
    QSslKey tlsKey;
    QHash<QString, Response> responses;
    QHash<QString, QQueue<Response>> queued;
    QHash<QString, QList<QPointer<QTcpSocket>>> held;
    QSet<QString> resets;
    QList<Request> received;
};
