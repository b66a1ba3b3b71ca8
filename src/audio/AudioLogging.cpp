#include "AudioLogging.h"

Q_LOGGING_CATEGORY(lcAudio, "gyre.audio")
