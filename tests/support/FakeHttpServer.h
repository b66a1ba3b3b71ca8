#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A loopback HTTP/1.1 server for tests: answers GET requests by path with the status and body it was
// given (404 for unknown paths), records every request, and can hold a path's answers until released.
class FakeHttpServer : public QObject
{
    Q_OBJECT

public:
    explicit FakeHttpServer(QObject* parent = nullptr);

    bool listen(); // 127.0.0.1, a free port
    QUrl baseUrl() const;

    void setResponse(const QString& path, int status, const QByteArray& body);
    void hold(const QString& path);
    void release(const QString& path);

    // Every request as received: path plus "?query" when there is one.
    QList<QUrl> requests() const { return received; }
    QList<QUrl> requestsTo(const QString& path) const;

signals:
    void requestReceived(const QUrl& url);

private:
    struct Response
    {
        int status = 404;
        QByteArray body;
    };
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QString& path);

    QTcpServer server;
    QHash<QString, Response> responses;
    QHash<QString, QList<QPointer<QTcpSocket>>> held;
    QList<QUrl> received;
};
