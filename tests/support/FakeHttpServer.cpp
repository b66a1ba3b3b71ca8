#include "FakeHttpServer.h"

#include <QTcpSocket>

FakeHttpServer::FakeHttpServer(QObject* parent) : QObject(parent)
{
    connect(&server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool FakeHttpServer::listen()
{
    return server.listen(QHostAddress::LocalHost, 0);
}

QUrl FakeHttpServer::baseUrl() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort()));
}

void FakeHttpServer::setResponse(const QString& path, int status, const QByteArray& body)
{
    responses.insert(path, Response{status, body});
}

void FakeHttpServer::hold(const QString& path)
{
    held.insert(path, {});
}

void FakeHttpServer::release(const QString& path)
{
    const QList<QPointer<QTcpSocket>> waiting = held.take(path);
    for (const QPointer<QTcpSocket>& socket : waiting) {
        if (socket) {
            answer(socket, path);
        }
    }
}

QList<QUrl> FakeHttpServer::requestsTo(const QString& path) const
{
    QList<QUrl> matching;
    for (const QUrl& url : received) {
        if (url.path() == path) {
            matching.append(url);
        }
    }
    return matching;
}

void FakeHttpServer::onReadyRead(QTcpSocket* socket)
{
    // Requests here are small GETs without a body: wait for the end of the header block.
    if (!socket->peek(64 * 1024).contains("\r\n\r\n")) {
        return;
    }
    const QByteArray header = socket->readAll();
    const QList<QByteArray> requestLine = header.left(header.indexOf("\r\n")).split(' ');
    if (requestLine.size() < 2) {
        socket->disconnectFromHost();
        return;
    }
    const QUrl url = QUrl::fromEncoded(requestLine.at(1));
    received.append(url);
    emit requestReceived(url);

    if (held.contains(url.path())) {
        held[url.path()].append(socket);
        return;
    }
    answer(socket, url.path());
}

void FakeHttpServer::answer(QTcpSocket* socket, const QString& path)
{
    const Response response = responses.value(path);
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.status) +
                       (response.status < 400 ? " OK" : " Error") + "\r\n";
    reply += "Content-Type: text/plain; charset=utf-8\r\n";
    reply += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    reply += "Connection: close\r\n\r\n";
    reply += response.body;
    socket->write(reply);
    socket->disconnectFromHost();
}
