// Stands in for the crash reporter: appends one JSON line per start to the file named by
// GYRE_REPORTER_LOG, with its arguments, its working directory and the size of the dump it was given.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    QFile log(qEnvironmentVariable("GYRE_REPORTER_LOG"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return 1;
    }
    const QFileInfo dump(arguments.value(5));
    const QJsonObject record{{"arguments", QJsonArray::fromStringList(arguments)},
                             {"workingDirectory", QDir::currentPath()},
                             {"dumpSize", dump.isFile() ? dump.size() : -1}};
    log.write(QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n');
    return 0;
}
