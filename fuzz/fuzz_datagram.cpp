// A synchronisation datagram as a slave receives it from anyone on the network.
#include "FuzzSupport.h"
#include "net/HSyncDatagram.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<HSyncDatagram> datagram = HSyncDatagram::fromBinary(FuzzSupport::bytes(data, size));
    if (datagram) {
        // What the slave does next with it must hold too: the members it reads, written again.
        (void)HSyncDatagram::fromBinary(datagram->toBinary());
    }
    return 0;
}
