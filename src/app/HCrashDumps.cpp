#include "HCrashDumps.h"

#include "AppLogging.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {
QFileInfoList dumpsNewestFirst(const QString& folder)
{
    return QDir(folder).entryInfoList({QStringLiteral("*.dmp")}, QDir::Files, QDir::Time);
}
} // namespace

QString HCrashDumps::directory()
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/crashes");
    if (!QDir().mkpath(folder)) {
        qCWarning(lcApp).noquote() << "Cannot make the crash dump folder" << folder << "- dumps go to"
                                   << QDir::tempPath();
        return QDir::tempPath();
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

void HCrashDumps::prune(const QString& folder, int keep)
{
    const QFileInfoList dumps = dumpsNewestFirst(folder);
    for (int index = keep; index < dumps.size(); ++index) {
        QFile::remove(dumps.at(index).filePath());
    }
}

QFileInfo HCrashDumps::newestSince(const QString& folder, const QDateTime& since)
{
    const QFileInfoList dumps = dumpsNewestFirst(folder);
    if (dumps.isEmpty() || (since.isValid() && dumps.first().lastModified() <= since)) {
        return QFileInfo();
    }
    return dumps.first();
}
