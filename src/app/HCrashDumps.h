#pragma once

#include <QDateTime>
#include <QFileInfo>
#include <QString>

// The folder the crash dumps go to, in the user's own data (they hold the environment and the
// command line, so it is owner-only), kept to the newest few; and the dump of a crash since the
// last start, which the user is told about.
class HCrashDumps
{
public:
    static constexpr int kept = 10;

    // Made when missing; the crash handler writes there.
    static QString directory();
    // Removes all but the newest `keep` dumps.
    static void prune(const QString& folder, int keep = kept);
    // The newest dump written after `since` (a null time takes any), or none.
    static QFileInfo newestSince(const QString& folder, const QDateTime& since);
};
