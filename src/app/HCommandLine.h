#pragma once

#include <QStringList>
#include <QVariantMap>

// The program's command line: "udp" (text), "oculus" and "demo" (bool), "files" (text list).
class HCommandLine
{
public:
    // With only the program path the parser is skipped and the map stays empty, so every lookup
    // reads as an invalid QVariant. An unknown option ends the process with the parser's own
    // message and exit code, before anything else is created.
    static QVariantMap parse(const QStringList& arguments);
};
