#pragma once

#include <QString>
#include <QStringList>

struct libvlc_instance_t;

// The one libvlc instance of the process, made on first need and never released, and the
// hardware-decoding flag it is made with. The flag counts only when the instance is made: a later
// change waits for the next start of the program.
class HVlcInstance
{
public:
    HVlcInstance() = delete;

    // Null when libvlc cannot be initialised at all.
    static libvlc_instance_t* shared();

    static void setHardwareDecoding(bool enabled);
    static bool hardwareDecoding();

    // The argument list the instance is made with, for either value of the flag.
    static QStringList arguments(bool hardwareDecoding);
    // What the instance was actually made with; empty until it exists.
    static QStringList sharedArguments();

    // libvlc keeps its last error per thread, so this is only meaningful on the thread that saw it.
    static QString lastError();
};
