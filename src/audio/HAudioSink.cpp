#include "HAudioSink.h"

#include "HAudioSinkFile.h"
#include "HAudioSinkQt.h"

std::unique_ptr<HAudioSink> HAudioSink::create()
{
    const QString file = qEnvironmentVariable("GYRE_AUDIO_FILE");
    if (!file.isEmpty()) {
        const int channels = qEnvironmentVariableIsSet("GYRE_AUDIO_FILE_CHANNELS")
                                 ? qEnvironmentVariableIntValue("GYRE_AUDIO_FILE_CHANNELS")
                                 : 2;
        return std::make_unique<HAudioSinkFile>(file, channels);
    }
    return std::make_unique<HAudioSinkQt>();
}
