#include "HStreamProbe.h"

#include "SessionLogging.h"
#include "media/HMp4Index.h"

#include <QBuffer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>

namespace {

// Enough of a file's start to find its index when it comes first.
constexpr qint64 probeBytes = 64 * 1024;

} // namespace

HStreamProbe::HStreamProbe(QObject* parent) : QObject(parent), network(new QNetworkAccessManager())
{
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, this, [this] {
        qCInfo(lcSession).noquote() << "probe of" << url.toString(QUrl::RemoveUserInfo | QUrl::RemoveQuery)
                                    << "timed out";
        conclude(tr("The server does not answer."), false);
    });
}

HStreamProbe::~HStreamProbe()
{
    abort();
    delete network;
}

void HStreamProbe::start(const QUrl& target, int timeoutMs)
{
    abort();
    url = target;
    head.clear();
    tlsError.clear();
    enough = false;
    QNetworkRequest request(url);
    request.setRawHeader("Range", "bytes=0-" + QByteArray::number(probeBytes - 1));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    reply = network->get(request);
    connect(reply, &QNetworkReply::readyRead, this, &HStreamProbe::onReadyRead);
    connect(reply, &QNetworkReply::finished, this, &HStreamProbe::onFinished);
    connect(reply, &QNetworkReply::sslErrors, this, [this](const QList<QSslError>& errors) {
        if (!errors.isEmpty()) {
            tlsError = errors.first().errorString();
        }
    });
    timeout.start(timeoutMs);
}

void HStreamProbe::abort()
{
    timeout.stop();
    if (reply) {
        QNetworkReply* const old = reply;
        reply = nullptr;
        old->disconnect(this);
        old->abort();
        old->deleteLater();
    }
}

void HStreamProbe::onReadyRead()
{
    head += reply->read(probeBytes - head.size());
    if (head.size() >= probeBytes) {
        // A server that ignores the range sends the whole file: the start is all we need.
        enough = true;
        reply->abort();
    }
}

void HStreamProbe::onFinished()
{
    if (!reply) {
        return;
    }
    const QNetworkReply::NetworkError error = reply->error();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (!enough) {
        head += reply->read(probeBytes - head.size());
    }
    QString reason;
    bool decodingProblem = false;
    if (status >= 400) {
        reason = describeAnswer(status);
    } else if (error == QNetworkReply::NoError || enough) {
        QBuffer buffer(&head);
        buffer.open(QIODevice::ReadOnly);
        const bool seekable = status == 206;
        if (!seekable && HMp4Index::inspect(buffer, false) == HMp4Index::Layout::IndexLast) {
            reason = tr("The server does not allow seeking and the file keeps its index at the end: "
                        "re-save it with the index first.");
        } else if (head.isEmpty()) {
            reason = tr("The server sent nothing.");
        } else {
            reason = tr("The server sent the media, but it could not be decoded.");
            decodingProblem = true;
        }
    } else {
        switch (error) {
        case QNetworkReply::HostNotFoundError:
            reason = tr("The server's name “%1” cannot be found.").arg(url.host());
            break;
        case QNetworkReply::ConnectionRefusedError:
            reason = tr("The server refused the connection: nothing is listening at %1.")
                         .arg(url.host() + QLatin1Char(':') +
                              QString::number(url.port(url.scheme() == QLatin1String("https") ? 443 : 80)));
            break;
        case QNetworkReply::RemoteHostClosedError:
            reason = tr("The server closed the connection before it sent the media.");
            break;
        case QNetworkReply::SslHandshakeFailedError:
            reason = tlsError.isEmpty() ? tr("The secure connection failed.")
                                        : tr("The secure connection failed: %1").arg(tlsError);
            break;
        case QNetworkReply::TimeoutError:
            reason = tr("The server does not answer.");
            break;
        default:
            reason = tr("The connection failed: %1").arg(reply->errorString());
            break;
        }
    }
    qCInfo(lcSession).noquote() << "probe of" << url.toString(QUrl::RemoveUserInfo | QUrl::RemoveQuery)
                                << "status" << status << "error" << error << "->" << reason;
    conclude(reason, decodingProblem);
}

QString HStreamProbe::describeAnswer(int status) const
{
    switch (status) {
    case 401:
    case 403:
        return tr("The server refused access (HTTP %1).").arg(status);
    case 404:
    case 410:
        return tr("The server has no such file (HTTP %1).").arg(status);
    default:
        return status >= 500 ? tr("The server failed with an error of its own (HTTP %1).").arg(status)
                             : tr("The server refused the request (HTTP %1).").arg(status);
    }
}

void HStreamProbe::conclude(const QString& reason, bool decodingProblem)
{
    const QUrl probed = url;
    abort();
    emit finished(probed, reason, decodingProblem);
}
