#include "HBinaryJsonValidator.h"

#include <algorithm>
#include <cstring>

namespace {
// The layout, all integers little-endian:
//   document:  "qbjs", version 1 (uint32), then the top-level container.
//   container: size (uint32, whole container), length << 1 | isObject (uint32), table offset
//              (uint32, from the container's start); the data, then the table of length uint32.
//   array table: one value word per element.
//   object table: the offset of each entry; an entry is a value word, then its key (latin-1: uint16
//              length and bytes; otherwise uint32 length and UTF-16 units).
//   value word: type (3 bits), latin-1 or inline integer (1), latin-1 key (1), value (27): a bool,
//              an inline integer, or the offset of the value's data from the container's start.
//   string data: latin-1 uint16 length and bytes, or uint32 length and UTF-16 units.
constexpr std::uint32_t formatTag = 0x736a6271; // "qbjs"
constexpr std::uint64_t headerSize = 8;
constexpr std::uint64_t containerHeaderSize = 12;

enum Type : std::uint32_t
{
    Null = 0,
    Bool = 1,
    Double = 2,
    String = 3,
    Array = 4,
    Object = 5
};

struct Key
{
    const unsigned char* data = nullptr;
    std::uint64_t length = 0;
    bool latin = false;

    std::uint32_t unit(std::uint64_t i) const
    {
        return latin ? data[i] : std::uint32_t(data[2 * i]) | std::uint32_t(data[2 * i + 1]) << 8;
    }
};

// The order of QString's comparison: UTF-16 code units, a prefix first.
bool keyLess(const Key& a, const Key& b)
{
    const std::uint64_t common = std::min(a.length, b.length);
    for (std::uint64_t i = 0; i < common; ++i) {
        const std::uint32_t x = a.unit(i);
        const std::uint32_t y = b.unit(i);
        if (x != y) {
            return x < y;
        }
    }
    return a.length < b.length;
}

class Walker
{
public:
    Walker(const unsigned char* bytes, std::uint64_t documentSize,
           const HBinaryJsonValidator::Limits& walkLimits)
        : data(bytes), stringBudget(documentSize), limits(walkLimits)
    {
    }

    // A container starting at `base` (from the document's start) that may use `maxSize` bytes.
    bool container(std::uint64_t base, std::uint64_t maxSize, bool expectObject, std::uint32_t depth)
    {
        if (depth > limits.maxDepth || maxSize < containerHeaderSize) {
            return false;
        }
        const std::uint64_t size = u32(base);
        const std::uint32_t word = u32(base + 4);
        const bool isObject = (word & 1U) != 0;
        const std::uint64_t length = word >> 1;
        const std::uint64_t tableOffset = u32(base + 8);
        if (isObject != expectObject || size < containerHeaderSize || size > maxSize ||
            tableOffset + 4 * length > size) {
            return false;
        }
        if (length == 0) {
            // Qt writes empty nested containers with a zero table offset; nothing is read from there.
            return true;
        }
        if (tableOffset < containerHeaderSize || tableOffset % 4 != 0 || length > limits.maxValues - values) {
            return false;
        }
        values += std::uint32_t(length);

        Key previous;
        for (std::uint64_t i = 0; i < length; ++i) {
            const std::uint32_t slot = u32(base + tableOffset + 4 * i);
            if (!isObject) {
                if (!value(slot, base, tableOffset, depth)) {
                    return false;
                }
                continue;
            }
            // The entry: its value word and key, before the table.
            const std::uint64_t entry = slot;
            if (entry < containerHeaderSize || entry % 4 != 0 || entry + 4 >= tableOffset) {
                return false;
            }
            const std::uint32_t valueWord = u32(base + entry);
            Key key;
            if (!string(base + entry + 4, tableOffset - entry - 4, (valueWord >> 4) & 1U, &key)) {
                return false;
            }
            if (i > 0 && keyLess(key, previous)) {
                return false;
            }
            previous = key;
            if (!value(valueWord, base, tableOffset, depth)) {
                return false;
            }
        }
        return true;
    }

    std::uint32_t values = 0;
    std::uint64_t stringBytes = 0;

private:
    std::uint32_t u32(std::uint64_t at) const
    {
        const unsigned char* p = data + at;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    }
    std::uint32_t u16(std::uint64_t at) const
    {
        const unsigned char* p = data + at;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
    }

    // A string at `at` that must end within `available` bytes.
    bool string(std::uint64_t at, std::uint64_t available, bool latin, Key* key)
    {
        std::uint64_t header = latin ? 2 : 4;
        if (available < header) {
            return false;
        }
        const std::uint64_t length = latin ? u16(at) : u32(at);
        const std::uint64_t bytes = latin ? length : 2 * length;
        if (bytes > available - header || bytes > stringBudget - stringBytes) {
            return false;
        }
        stringBytes += bytes;
        if (key) {
            key->data = data + at + header;
            key->length = length;
            key->latin = latin;
        }
        return true;
    }

    // The data a value word points at, inside the container at `base` whose table starts at
    // `tableOffset`.
    bool value(std::uint32_t word, std::uint64_t base, std::uint64_t tableOffset, std::uint32_t depth)
    {
        const std::uint32_t type = word & 7U;
        const bool latinOrInline = ((word >> 3) & 1U) != 0;
        const std::uint64_t offset = word >> 5;
        switch (type) {
        case Null:
        case Bool:
            return true;
        case Double:
            return latinOrInline || (dataOffsetIsSound(offset) && offset + 8 <= tableOffset);
        case String:
            return dataOffsetIsSound(offset) && offset + 4 <= tableOffset &&
                   string(base + offset, tableOffset - offset, latinOrInline, nullptr);
        case Array:
        case Object:
            return dataOffsetIsSound(offset) && offset < tableOffset &&
                   container(base + offset, tableOffset - offset, type == Object, depth + 1);
        default:
            // Qt's reader has no meaning for the other three codes.
            return false;
        }
    }

    static bool dataOffsetIsSound(std::uint64_t offset)
    {
        return offset >= containerHeaderSize && offset % 4 == 0;
    }

    const unsigned char* const data;
    // A document that is a tree holds no string byte twice; shared references may not read more.
    const std::uint64_t stringBudget;
    const HBinaryJsonValidator::Limits limits;
};
} // namespace

HBinaryJsonValidator::Result HBinaryJsonValidator::check(const char* data, std::size_t size,
                                                         const Limits& limits)
{
    Result result;
    if (!data || size < headerSize + containerHeaderSize || size > 0xffffffffU) {
        return result;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    const auto u32 = [bytes](std::size_t at) {
        return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 |
               std::uint32_t(bytes[at + 2]) << 16 | std::uint32_t(bytes[at + 3]) << 24;
    };
    if (u32(0) != formatTag || u32(4) != 1) {
        return result;
    }
    // Qt reads the document's own size from the top-level container and ignores bytes after it.
    const std::uint64_t documentSize = u32(headerSize);
    if (documentSize > size - headerSize) {
        return result;
    }
    const bool isObject = (u32(headerSize + 4) & 1U) != 0;
    Walker walker(bytes, documentSize, limits);
    result.accepted = walker.container(headerSize, documentSize, isObject, 1);
    result.values = walker.values;
    result.stringBytes = walker.stringBytes;
    return result;
}
