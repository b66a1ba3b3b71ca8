#pragma once

#include "FakeHttpServer.h"
#include "TestCertificateAuthority.h"

#include <QObject>
#include <QVariantMap>

// The hosting service as QML tests reach it ("hostingServer"): a loopback HTTPS server whose
// certificate authority is made when the runner starts and trusted through the process's default TLS
// configuration. start() also points GYRE_HOSTING_API at it, so it must run before the hosting client
// is made. Paths are relative to the API base.
class HostingServerFixture : public QObject
{
    Q_OBJECT

public:
    bool start();
    QString error() const { return pki.error().isEmpty() ? server.errorString() : pki.error(); }

    Q_INVOKABLE void serve(const QString& path, int status, const QString& body);
    Q_INVOKABLE void hold(const QString& path);
    Q_INVOKABLE void release(const QString& path);
    // Lets everything still held go, so that a failed test does not hang the ones after it.
    Q_INVOKABLE void releaseAll();
    Q_INVOKABLE int requestCount(const QString& path) const;
    // {path, body} of the last request, or empty before any.
    Q_INVOKABLE QVariantMap lastRequest() const;

private:
    const QString apiPath = QStringLiteral("/app_dev.php/api/");
    TestCertificateAuthority pki;
    FakeHttpServer server;
    QStringList heldPaths;
};
