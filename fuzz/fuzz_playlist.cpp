// A playlist file (.vxpl) someone sent.
#include "FuzzSupport.h"
#include "session/HPlaylistFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const HPlaylistFile playlist(FuzzSupport::bytes(data, size), QStringLiteral("/media/show"));
    for (const HPlaylistFile::Entry& entry : playlist.entries()) {
        (void)entry.media.toLocalFile();
    }
    return 0;
}
