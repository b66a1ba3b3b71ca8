#include "HHardwareDecoder.h"

#include <QDir>

// VA-API drivers are reached through a DRM render node.
bool HHardwareDecoder::available(QString* why)
{
    const QStringList nodes =
        QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System);
    if (nodes.isEmpty()) {
        *why = QStringLiteral("no DRM render node under /dev/dri for VA-API");
        return false;
    }
    return true;
}
