// An update server's answer to "version", as the checker reads and shows it.
#include "FuzzSupport.h"
#include "net/HUpdateAnswer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<HUpdateAnswer> answer =
        HUpdateAnswer::parse(QString::fromUtf8(FuzzSupport::bytes(data, size)));
    if (answer) {
        (void)answer->version.displayString();
        (void)answer->version.isNewerThan(ProductVersion(QStringLiteral("1.0.0.400")));
        (void)ProductVersion(QStringLiteral("1.0.0.400")).isNewerThan(answer->version);
    }
    return 0;
}
