#include "HCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

QVariantMap HCommandLine::parse(const QStringList& arguments)
{
    QVariantMap map;
    if (arguments.size() <= 1) {
        return map;
    }

    QCommandLineParser parser;
    const QCommandLineOption udpOption(
        {QStringLiteral("u"), QStringLiteral("udp")},
        QCoreApplication::translate("main", "Udp mode, can be master or slave."),
        QCoreApplication::translate("main", "udp"), QString());
    const QCommandLineOption oculusOption({QStringLiteral("o"), QStringLiteral("oculus")},
                                          QStringLiteral("Activate Oculus by default."));
    const QCommandLineOption demoOption({QStringLiteral("d"), QStringLiteral("demo")},
                                        QStringLiteral("Start in demo mode."));
    parser.addOption(udpOption);
    parser.addOption(oculusOption);
    parser.addOption(demoOption);
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QCoreApplication::translate("main", "Path of the file(s) to read."),
                                 QString());
    parser.process(arguments);

    map.insert(QStringLiteral("udp"), parser.value(udpOption));
    map.insert(QStringLiteral("oculus"), parser.isSet(oculusOption));
    map.insert(QStringLiteral("demo"), parser.isSet(demoOption));
    map.insert(QStringLiteral("files"), parser.positionalArguments());
    return map;
}
