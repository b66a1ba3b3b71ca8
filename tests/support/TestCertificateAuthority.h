#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

// A certificate authority and a certificate for 127.0.0.1 signed by it, made with openssl when a test
// starts, so that a loopback TLS server can be trusted by a client without disabling any check.
class TestCertificateAuthority
{
public:
    // Makes both; false, with the reason in error(), when openssl is missing or fails.
    bool create();
    QString error() const { return failure; }

    QSslCertificate authority() const { return authorityCertificate; }
    QSslCertificate serverCertificate() const { return certificate; }
    QSslKey serverKey() const { return key; }

    // The default TLS configuration of this process, which every client made afterwards starts from:
    // the system's authorities, plus this one when trusted.
    void trust(bool trusted) const;

private:
    bool openssl(const QStringList& arguments, const QString& directory);

    QSslCertificate authorityCertificate;
    QSslCertificate certificate;
    QSslKey key;
    QString failure;
};
