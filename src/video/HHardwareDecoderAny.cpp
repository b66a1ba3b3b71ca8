#include "HHardwareDecoder.h"

// Where nothing can be asked beforehand, libvlc finds out itself.
bool HHardwareDecoder::available(QString*)
{
    return true;
}
