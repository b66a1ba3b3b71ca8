#include "TestCertificateAuthority.h"

#include <QFile>
#include <QProcess>
#include <QSslConfiguration>
#include <QTemporaryDir>

bool TestCertificateAuthority::openssl(const QStringList& arguments, const QString& directory)
{
    QProcess process;
    process.setWorkingDirectory(directory);
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        failure = QStringLiteral("openssl %1: %2%3")
                      .arg(arguments.value(0), process.errorString(),
                           QString::fromLocal8Bit(process.readAllStandardError()));
        return false;
    }
    return true;
}

bool TestCertificateAuthority::create()
{
    // The files are only needed until they are read back.
    QTemporaryDir pki;
    if (!pki.isValid()) {
        failure = pki.errorString();
        return false;
    }
    const QString dir = pki.path();
    const QStringList ecKey{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    if (!openssl(QStringList{"req", "-x509"} + ecKey +
                     QStringList{"-keyout", "ca.key", "-out", "ca.pem", "-days", "2", "-subj",
                                 "/CN=Gyre test authority"},
                 dir) ||
        !openssl(QStringList{"req"} + ecKey +
                     QStringList{"-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=127.0.0.1"},
                 dir)) {
        return false;
    }
    QFile extensions(dir + "/ext.cnf");
    if (!extensions.open(QIODevice::WriteOnly) || extensions.write("subjectAltName=IP:127.0.0.1\n") < 0) {
        failure = extensions.errorString();
        return false;
    }
    extensions.close();
    if (!openssl({"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
                  "-out", "server.pem", "-days", "2", "-extfile", "ext.cnf"},
                 dir)) {
        return false;
    }
    authorityCertificate = QSslCertificate::fromPath(dir + "/ca.pem").value(0);
    certificate = QSslCertificate::fromPath(dir + "/server.pem").value(0);
    QFile keyFile(dir + "/server.key");
    if (keyFile.open(QIODevice::ReadOnly)) {
        key = QSslKey(keyFile.readAll(), QSsl::Ec);
    }
    if (authorityCertificate.isNull() || certificate.isNull() || key.isNull()) {
        failure = QStringLiteral("openssl wrote files that do not read back");
        return false;
    }
    return true;
}

void TestCertificateAuthority::trust(bool trusted) const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    QList<QSslCertificate> authorities = QSslConfiguration::systemCaCertificates();
    if (trusted) {
        authorities.append(authorityCertificate);
    }
    configuration.setCaCertificates(authorities);
    QSslConfiguration::setDefaultConfiguration(configuration);
}
