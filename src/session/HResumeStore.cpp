#include "HResumeStore.h"

#include "HGlobalObject.h"
#include "HMediaFiles.h"
#include "HPictureLayout.h"
#include "SessionLogging.h"
#include "base/HSettingsManager.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QTime>

namespace {
const QString entriesKey = QStringLiteral("resume/media");
const QString listKey = QStringLiteral("resume/list");
const QString listIndexKey = QStringLiteral("resume/listIndex");
const QString projectionKey = QStringLiteral("view/projection");
// Often enough that a kill loses under a second; the store writes only what changed.
constexpr int tickMs = 400;
// Closer than this to either end, a video starts from its beginning.
constexpr int edgeMs = 3000;

QString formatTime(int ms)
{
    const QTime time = QTime(0, 0).addMSecs(ms);
    return ms >= 3600000 ? time.toString(QStringLiteral("H:mm:ss")) : time.toString(QStringLiteral("mm:ss"));
}
} // namespace

HResumeStore::HResumeStore(HSettingsManager* settingsStore, HGlobalObject* globalObject,
                           HPictureLayout* pictureLayout, QObject* parent)
    : QObject(parent), settings(settingsStore), global(globalObject), picture(pictureLayout)
{
    entries = QJsonDocument::fromJson(settings->getString(entriesKey, QString()).toUtf8()).array();
    ticker.setInterval(tickMs);
    connect(&ticker, &QTimer::timeout, this, &HResumeStore::watch);
    ticker.start();
}

QString HResumeStore::keyOf(const QUrl& url)
{
    if (url.isLocalFile()) {
        const QString canonical = QFileInfo(url.toLocalFile()).canonicalFilePath();
        if (!canonical.isEmpty()) {
            return canonical;
        }
    }
    return url.toString(QUrl::FullyEncoded);
}

QList<QUrl> HResumeStore::lastList() const
{
    QList<QUrl> list;
    const QJsonArray stored =
        QJsonDocument::fromJson(settings->getString(listKey, QString()).toUtf8()).array();
    for (const QJsonValue& value : stored) {
        const QUrl url(value.toString());
        if (url.isValid() && !url.isEmpty()) {
            list.append(url);
        }
    }
    return list;
}

int HResumeStore::lastListIndex() const
{
    return settings->getInt(listIndexKey, 0);
}

void HResumeStore::startOver()
{
    QObject* player = global->currentPlayer();
    if (!player || currentKey.isEmpty()) {
        return;
    }
    pending = false;
    global->requestSeek(player, 0);
    global->setYaw(0.0f, true);
    global->setPitch(0.0f, true);
}

void HResumeStore::watch()
{
    QObject* player = global->currentPlayer();
    const QUrl url = player ? player->property("mediaSource").toUrl() : QUrl();
    if (url.isEmpty()) {
        return;
    }
    if (url != currentUrl) {
        currentUrl = url;
        currentKey = keyOf(url);
        pending = true;
        // A stream that never tells its duration is not resumed.
        pendingUntil = QDeadlineTimer(15000);
        const QList<QUrl> playlist = global->playListEntries();
        settings->setValue(
            listKey, QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(QUrl::toStringList(
                                                         playlist.isEmpty() ? QList<QUrl>{url} : playlist)))
                                           .toJson(QJsonDocument::Compact)));
        settings->setValue(listIndexKey, qMax(0, global->playListIndex()));
        settings->sync();
    }
    if (pending) {
        pending = !restore(player) && !pendingUntil.hasExpired();
        return;
    }
    record(player);
}

bool HResumeStore::restore(QObject* player)
{
    const bool photo = HMediaFiles::isImageFile(currentUrl);
    const int duration = player->property("duration").toInt();
    if (!photo && duration <= 0) {
        return false;
    }
    for (const QJsonValue& value : qAsConst(entries)) {
        const QJsonObject entry = value.toObject();
        if (entry.value(QStringLiteral("key")).toString() != currentKey) {
            continue;
        }
        // Near either end of the media as it is now (it may have been replaced since), the start
        // is where it plays from, and nothing claims a resume.
        int position = photo ? 0 : entry.value(QStringLiteral("position")).toInt();
        if (position < edgeMs || position > duration - edgeMs) {
            position = 0;
        }
        if (position > 0) {
            global->requestSeek(player, position);
        }
        global->setFov(float(entry.value(QStringLiteral("fov")).toDouble(double(global->fov()))));
        global->setYaw(float(entry.value(QStringLiteral("yaw")).toDouble()), true);
        global->setPitch(float(entry.value(QStringLiteral("pitch")).toDouble()), true);
        picture->setPictureChoice(entry.value(QStringLiteral("picture")).toString(picture->pictureChoice()));
        const QString message =
            position > 0 ? tr("Resumed at %1 — Home to start over").arg(formatTime(position)) : QString();
        qCInfo(lcSession).noquote() << "resumed" << currentKey << "at" << position << "ms";
        emit resumed(position, entry.value(QStringLiteral("projection")).toInt(-1), message);
        return true;
    }
    return true;
}

QJsonObject HResumeStore::stateOf(QObject* player) const
{
    const int duration = player->property("duration").toInt();
    int position = player->property("position").toInt();
    if (HMediaFiles::isImageFile(currentUrl) || position < edgeMs ||
        (duration > 0 && position > duration - edgeMs)) {
        position = 0;
    }
    return QJsonObject{{QStringLiteral("key"), currentKey},
                       {QStringLiteral("position"), position},
                       {QStringLiteral("yaw"), double(global->yaw())},
                       {QStringLiteral("pitch"), double(global->pitch())},
                       {QStringLiteral("fov"), double(global->fov())},
                       {QStringLiteral("projection"), settings->getInt(projectionKey, -1)},
                       {QStringLiteral("picture"), picture->pictureChoice()}};
}

void HResumeStore::record(QObject* player)
{
    const QJsonObject state = stateOf(player);
    if (!entries.isEmpty() && entries.first().toObject() == state) {
        return;
    }
    for (int i = entries.size() - 1; i >= 0; --i) {
        if (entries.at(i).toObject().value(QStringLiteral("key")).toString() == currentKey) {
            entries.removeAt(i);
        }
    }
    entries.prepend(state);
    while (entries.size() > maxEntries) {
        entries.removeLast();
    }
    save();
}

void HResumeStore::save()
{
    qCDebug(lcSession).noquote() << "remembered" << currentKey << "at"
                                 << entries.first().toObject().value(QStringLiteral("position")).toInt()
                                 << "ms";
    settings->setValue(entriesKey, QString::fromUtf8(QJsonDocument(entries).toJson(QJsonDocument::Compact)));
    // Now rather than when the event loop next idles: a kill must not take more than a tick.
    settings->sync();
}
