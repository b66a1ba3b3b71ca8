#include "FakeHttpServer.h"

#include <QSslSocket>

FakeHttpServer::FakeHttpServer(QObject* parent) : QTcpServer(parent)
{
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool FakeHttpServer::listen(const QSslCertificate& certificate, const QSslKey& key)
{
    tlsCertificate = certificate;
    tlsKey = key;
    return QTcpServer::listen(QHostAddress::LocalHost, 0);
}

void FakeHttpServer::incomingConnection(qintptr descriptor)
{
    if (tlsCertificate.isNull()) {
        QTcpServer::incomingConnection(descriptor);
        return;
    }
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    socket->setLocalCertificate(tlsCertificate);
    socket->setPrivateKey(tlsKey);
    // A client that rejects our certificate just goes away.
    connect(socket, QOverload<const QList<QSslError>&>::of(&QSslSocket::sslErrors), socket,
            [socket] { socket->abort(); });
    socket->startServerEncryption();
    addPendingConnection(socket);
}

QUrl FakeHttpServer::baseUrl() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/")
                    .arg(tlsCertificate.isNull() ? QStringLiteral("http") : QStringLiteral("https"))
                    .arg(serverPort()));
}

void FakeHttpServer::setResponse(const QString& path, int status, const QByteArray& body)
{
    responses.insert(path, Response{status, body});
}

void FakeHttpServer::queueResponse(const QString& path, int status, const QByteArray& body)
{
    queued[path].enqueue(Response{status, body});
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

QList<QUrl> FakeHttpServer::requests() const
{
    QList<QUrl> urls;
    for (const Request& request : received) {
        urls.append(request.url);
    }
    return urls;
}

QList<QUrl> FakeHttpServer::requestsTo(const QString& path) const
{
    QList<QUrl> matching;
    for (const Request& request : received) {
        if (request.url.path(QUrl::FullyEncoded) == path) {
            matching.append(request.url);
        }
    }
    return matching;
}

void FakeHttpServer::onReadyRead(QTcpSocket* socket)
{
    const QByteArray pending = socket->peek(socket->bytesAvailable());
    const int headerEnd = pending.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        return;
    }
    Request request;
    const QList<QByteArray> lines = pending.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() < 2) {
        socket->abort();
        return;
    }
    for (int i = 1; i < lines.size(); ++i) {
        const int colon = lines.at(i).indexOf(':');
        if (colon > 0) {
            // Keep trailing blanks of the value: "Bearer " with an empty token must stay visible.
            QByteArray value = lines.at(i).mid(colon + 1);
            if (value.endsWith('\r')) {
                value.chop(1);
            }
            while (value.startsWith(' ')) {
                value.remove(0, 1);
            }
            request.headers.insert(lines.at(i).left(colon).trimmed().toLower(), value);
        }
    }
    const int bodyLength = request.headers.value("content-length", "0").toInt();
    if (pending.size() < headerEnd + 4 + bodyLength) {
        return; // the rest of the body is still on its way
    }
    socket->read(headerEnd + 4);
    request.body = socket->read(bodyLength);
    request.method = requestLine.at(0);
    request.url = QUrl::fromEncoded(requestLine.at(1));
    received.append(request);
    emit requestReceived(request.url);

    if (resets.contains(request.url.path(QUrl::FullyEncoded))) {
        socket->abort();
        return;
    }
    if (held.contains(request.url.path(QUrl::FullyEncoded))) {
        held[request.url.path(QUrl::FullyEncoded)].append(socket);
        return;
    }
    answer(socket, request.url.path(QUrl::FullyEncoded));
}

void FakeHttpServer::answer(QTcpSocket* socket, const QString& path)
{
    QQueue<Response>& waiting = queued[path];
    const Response response = waiting.isEmpty() ? responses.value(path) : waiting.dequeue();
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.status) +
                       (response.status < 400 ? " OK" : " Error") + "\r\n";
    reply += "Content-Type: application/json; charset=utf-8\r\n";
    reply += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    reply += "Connection: close\r\n\r\n";
    reply += response.body;
    socket->write(reply);
    socket->disconnectFromHost();
}
