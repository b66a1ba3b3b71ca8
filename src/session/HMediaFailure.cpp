#include "HMediaFailure.h"

#include "HMediaFiles.h"
#include "HStreamProbe.h"
#include "SessionLogging.h"
#include "media/HMp4Index.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

// Long enough for a slow server, short enough that the user is not left guessing.
constexpr int probeTimeoutMs = 8000;
// QImage holds at most 2 GiB; a picture that the reader cannot shrink while decoding must fit.
constexpr qint64 largestImageBytes = qint64(1) << 31;

bool isNetwork(const QUrl& url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

} // namespace

HMediaFailure::HMediaFailure(QObject* parent) : QObject(parent), probe(new HStreamProbe(this))
{
    connect(probe, &HStreamProbe::finished, this, &HMediaFailure::probed);
}

QString HMediaFailure::fileProblem(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return tr("The file does not exist: it may have been moved, renamed or deleted.");
    }
    if (info.isDir()) {
        return tr("This is a folder, not a file: open the media inside it.");
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return file.error() == QFileDevice::PermissionsError
                   ? tr("You are not allowed to read this file.")
                   : tr("The file cannot be read: %1").arg(file.errorString());
    }
    if (file.size() == 0) {
        return tr("The file is empty (0 bytes): it was not written or copied completely.");
    }
    return QString();
}

bool HMediaFailure::checkBeforeOpening(const QUrl& url)
{
    if (!url.isLocalFile()) {
        return true;
    }
    const QString problem = fileProblem(url.toLocalFile());
    if (problem.isEmpty()) {
        return true;
    }
    show(url, tr("Cannot open the file"), problem, false);
    return false;
}

void HMediaFailure::reportUnsupported(const QUrl& url)
{
    const QString suffix = QFileInfo(url.path()).suffix();
    show(url, tr("The file format is not supported."),
         suffix.isEmpty() ? tr("Its name has no extension that tells a photo or a video.")
                          : tr("Files ending in “.%1” are neither photos nor videos that this "
                               "program knows.")
                                .arg(suffix),
         false);
}

void HMediaFailure::reportImage(const QUrl& url)
{
    const QString headline = tr("An error occurred while loading the image");
    if (!url.isLocalFile()) {
        show(url, headline, tr("The picture could not be downloaded or read."), false);
        return;
    }
    const QString path = url.toLocalFile();
    QString problem = fileProblem(path);
    if (problem.isEmpty()) {
        problem = imageProblem(path);
    }
    show(url, headline, problem, false);
}

QString HMediaFailure::imageProblem(const QString& path)
{
    QImageReader reader(path);
    if (!reader.canRead()) {
        return tr("The file is not a picture in a format this program reads.");
    }
    const QSize size = reader.size();
    const bool shrinksWhileDecoding = reader.format() == "jpeg" || reader.format() == "jpg";
    if (size.isValid() && !shrinksWhileDecoding &&
        qint64(size.width()) * size.height() * 4 >= largestImageBytes) {
        return tr("The picture is too large to load: %1 × %2 pixels.").arg(size.width()).arg(size.height());
    }
    // A small decode is enough to meet damaged data.
    if (size.isValid()) {
        reader.setScaledSize(size.scaled(256, 256, Qt::KeepAspectRatio));
    }
    if (reader.read().isNull()) {
        qCInfo(lcSession).noquote() << "image" << path << "does not decode:" << reader.errorString();
        return tr("The picture's data is damaged: the file is cut short or corrupt.");
    }
    return tr("The picture could not be shown.");
}

void HMediaFailure::reportPlayer(const QUrl& url, int failure, const QString& playerText, int stallSeconds)
{
    const QString headline = tr("This media cannot be played.");
    if (failure == Stalled) {
        show(url, headline, tr("Nothing arrived for %1 s: the stream has stalled.").arg(stallSeconds), false);
        return;
    }
    if (failure == NoVideoTrack) {
        show(url, headline, tr("The file holds no video track that can be shown."), true);
        return;
    }
    if (isNetwork(url)) {
        show(url, headline, tr("Finding out why…"), false);
        probe->start(url, probeTimeoutMs);
        return;
    }
    if (!url.isLocalFile()) {
        show(url, headline, playerText, true);
        return;
    }
    const QString path = url.toLocalFile();
    QString problem = fileProblem(path);
    if (problem.isEmpty()) {
        problem = localVideoProblem(path, failure);
    }
    show(url, headline,
         problem.isEmpty() ? tr("The file was read, but its video could not be decoded.") : problem,
         problem.isEmpty());
}

QString HMediaFailure::localVideoProblem(const QString& path, int failure)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return tr("The file cannot be read: %1").arg(file.errorString());
    }
    switch (HMp4Index::inspect(file, true)) {
    case HMp4Index::Layout::CutShort:
        return tr("The file is cut short: it ends before its contents do. Copy or download it again.");
    case HMp4Index::Layout::NoIndex:
        return tr("The file has no index (it was not written to its end). Copy or download it again.");
    default:
        break;
    }
    return failure == EndedWithoutPicture ? tr("The file ended before any picture could be shown.")
                                          : QString();
}

void HMediaFailure::reportPlaylist(const QUrl& playlist, const QString& headline, const QString& detail)
{
    show(playlist, headline, detail, false);
}

void HMediaFailure::reportMessage(const QString& headline)
{
    show(QUrl(), headline, QString(), false);
}

void HMediaFailure::probed(const QUrl& url, const QString& reason, bool decodingProblem)
{
    // A newer media or a newer failure has taken the place of the one probed.
    if (url != media || !isActive()) {
        return;
    }
    reasonText = reason;
    backendMayHelp = decodingProblem;
    logFailure();
    emit changed();
}

void HMediaFailure::show(const QUrl& url, const QString& headline, const QString& reason, bool mayHelp)
{
    probe->abort();
    media = url;
    name = url.isEmpty() ? QString() : HMediaFiles::displayName(url);
    headlineText = headline;
    reasonText = reason;
    backendMayHelp = mayHelp;
    logFailure();
    // The playlist marks its entry first, so that what is shown can say whether the list goes on.
    emit failed();
    emit changed();
}

void HMediaFailure::logFailure() const
{
    qCWarning(lcSession).noquote() << "failure:" << name << "-" << headlineText << "-" << reasonText;
}

void HMediaFailure::clear()
{
    probe->abort();
    if (!isActive()) {
        return;
    }
    media.clear();
    name.clear();
    headlineText.clear();
    reasonText.clear();
    backendMayHelp = false;
    emit changed();
}
