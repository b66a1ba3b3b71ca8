#pragma once

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

#include <unistd.h>

// What /proc says of another process: its CPU time, its memory and its open descriptors.
namespace ProcessFigures {

// User and system CPU of a process, in milliseconds; -1 when it is gone.
inline double cpuMilliseconds(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    // The fields after the command name, which is in parentheses and may hold blanks.
    const QByteArray stat = file.readAll();
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) * 1000.0 / ticks;
}

// A line of /proc/<pid>/status such as "VmRSS:", in megabytes; -1 when it is gone.
inline double statusMegabytes(qint64 pid, const char* key)
{
    QFile file(QStringLiteral("/proc/%1/status").arg(pid));
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(key)) {
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return -1;
}

inline int openDescriptors(qint64 pid)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    return fds.exists() ? int(fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size())
                        : -1;
}

} // namespace ProcessFigures
