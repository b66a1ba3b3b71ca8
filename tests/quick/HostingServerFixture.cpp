#include "HostingServerFixture.h"

bool HostingServerFixture::start()
{
    if (!pki.create() || !server.listen(pki.serverCertificate(), pki.serverKey())) {
        return false;
    }
    pki.trust(true);
    qputenv("GYRE_HOSTING_API", server.baseUrl().resolved(QUrl(apiPath)).toEncoded());
    return true;
}

void HostingServerFixture::serve(const QString& path, int status, const QString& body)
{
    server.setResponse(apiPath + path, status, body.toUtf8());
}

void HostingServerFixture::hold(const QString& path)
{
    heldPaths.append(path);
    server.hold(apiPath + path);
}

void HostingServerFixture::release(const QString& path)
{
    heldPaths.removeAll(path);
    server.release(apiPath + path);
}

void HostingServerFixture::releaseAll()
{
    while (!heldPaths.isEmpty()) {
        release(heldPaths.first());
    }
}

int HostingServerFixture::requestCount(const QString& path) const
{
    return server.requestsTo(apiPath + path).size();
}

QVariantMap HostingServerFixture::lastRequest() const
{
    const QList<FakeHttpServer::Request> requests = server.fullRequests();
    if (requests.isEmpty()) {
        return {};
    }
    const FakeHttpServer::Request& last = requests.last();
    return {{"path", last.url.path().mid(apiPath.size())}, {"body", QString::fromUtf8(last.body)}};
}
