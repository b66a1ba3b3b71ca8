// A synchronisation datagram as a slave receives it from anyone on the network. Beyond not
// crashing: our check stays within its limits and reads no string byte twice, whatever it accepts
// Qt's reader accepts too (it would otherwise let through what it does not understand as Qt
// does), and a datagram comes out exactly when the check passed and the object has members.
#include "FuzzSupport.h"
#include "net/HBinaryJsonValidator.h"
#include "net/HSyncDatagram.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = FuzzSupport::bytes(data, size);
    const HBinaryJsonValidator::Result result = HBinaryJsonValidator::check(bytes.constData(), size);
    if (result.values > HBinaryJsonValidator::Limits().maxValues || result.stringBytes > size) {
        std::abort();
    }
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    const bool qtReadsIt = result.accepted && !QJsonDocument::fromBinaryData(bytes).isNull();
    const bool hasMembers = qtReadsIt && !QJsonDocument::fromBinaryData(bytes).object().isEmpty();
    QT_WARNING_POP
    if (result.accepted && !qtReadsIt) {
        std::abort();
    }
    const std::optional<HSyncDatagram> datagram = HSyncDatagram::fromBinary(bytes);
    if (bool(datagram) != hasMembers) {
        std::abort();
    }
    if (datagram) {
        // What the slave does next with it must hold too: the members it reads, written again.
        (void)HSyncDatagram::fromBinary(datagram->toBinary());
    }
    return 0;
}
