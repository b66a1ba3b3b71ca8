#include "HTrustedAuthorities.h"

#include "NetLogging.h"

#include <QSslCertificate>
#include <QSslConfiguration>

int HTrustedAuthorities::addFromFile(const QString& path)
{
    if (path.isEmpty()) {
        return 0;
    }
    const QList<QSslCertificate> added = QSslCertificate::fromPath(path, QSsl::Pem);
    if (added.isEmpty()) {
        qCWarning(lcNet).noquote() << "No certificate authority read from" << path;
        return 0;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    QList<QSslCertificate> authorities = configuration.caCertificates();
    authorities += added;
    configuration.setCaCertificates(authorities);
    QSslConfiguration::setDefaultConfiguration(configuration);
    qCInfo(lcNet).noquote() << "Trusting" << added.size() << "more certificate authorities from" << path;
    return added.size();
}
