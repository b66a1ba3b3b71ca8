#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>

// One of a synchronisation slave's once-a-second lines (category gyre.net.udp.stats): where its
// master and it were, in milliseconds, and their playback states; the median and the largest of
// the slave's errors against the master over the datagrams of that second; its corrective seeks so
// far, and how long it has nudged its rate in all.
struct SyncReport
{
    int master = -1;
    int masterState = -1;
    int slave = -1;
    int slaveState = -1;
    int datagrams = 0;
    int medianError = 0;
    int largestError = 0;
    int seeks = -1;
    int nudged = 0;

    // Every such line in a slave's output, oldest first.
    static QList<SyncReport> all(const QString& output)
    {
        static const QRegularExpression line(
            "master at (\\d+) ms, state (\\d+); slave at (\\d+) ms, state (\\d+); error over (\\d+) "
            "datagrams: "
            "median (-?\\d+) ms, largest (\\d+) ms; (\\d+) corrective seeks(?:; nudged (\\d+) ms)?");
        QList<SyncReport> reports;
        QRegularExpressionMatchIterator matches = line.globalMatch(output);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            SyncReport report;
            int group = 0;
            for (int* field :
                 {&report.master, &report.masterState, &report.slave, &report.slaveState, &report.datagrams,
                  &report.medianError, &report.largestError, &report.seeks, &report.nudged}) {
                *field = match.captured(++group).toInt();
            }
            reports.append(report);
        }
        return reports;
    }

    static SyncReport last(const QString& output)
    {
        const QList<SyncReport> reports = all(output);
        return reports.isEmpty() ? SyncReport() : reports.last();
    }
};
