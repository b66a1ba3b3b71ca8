#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>

// What every target shares: the input as Qt bytes (not copied), and a log kept quiet, since the
// parsers say what they refuse and a run refuses millions of inputs.
namespace FuzzSupport {

inline QByteArray bytes(const std::uint8_t* data, std::size_t size)
{
    static const bool quiet = [] {
        QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
        return true;
    }();
    Q_UNUSED(quiet)
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
}

// What a reader of picture metadata gives is never an inverted range.
template <typename Geometry>
void checkGeometry(const Geometry& g)
{
    if (g.hasBounds && !(g.yawMin <= g.yawMax && g.pitchMin <= g.pitchMax)) {
        __builtin_trap();
    }
}

} // namespace FuzzSupport
