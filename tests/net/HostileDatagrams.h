#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QtEndian>

#include <initializer_list>

// Crafted binary JSON documents that Qt 5.15's own reader must never see: each one sends it outside
// the buffer, into endless recursion or into a walk that does not end in any useful time.
namespace HostileDatagrams {

inline QByteArray words(std::initializer_list<quint32> values)
{
    QByteArray bytes(int(values.size() * 4), '\0');
    int at = 0;
    for (quint32 value : values) {
        qToLittleEndian(value, bytes.data() + at);
        at += 4;
    }
    return bytes;
}

// "qbjs", version 1, then the top-level container.
inline QByteArray document(const QByteArray& root)
{
    return words({0x736a6271, 1}) + root;
}

constexpr quint32 arrayWord(quint32 length)
{
    return length << 1;
}
constexpr quint32 objectWord(quint32 length)
{
    return length << 1 | 1;
}
// A value word: type (null 0, bool 1, double 2, string 3, array 4, object 5), latin-1 or inline
// flag, latin-1 key flag, then the value or the offset of its data.
constexpr quint32 value(quint32 type, quint32 offset, bool latin = false, bool latinKey = false)
{
    return type | quint32(latin) << 3 | quint32(latinKey) << 4 | offset << 5;
}

// K levels of arrays, each with N elements that all point at the same array one level down: a few
// hundred bytes whose walk visits N^K values.
inline QByteArray sharedLevels(int levels, quint32 fanOut)
{
    QByteArray inner = words({12, arrayWord(0), 12});
    for (int level = 1; level < levels; ++level) {
        const quint32 tableOffset = quint32(12 + inner.size());
        QByteArray container = words({tableOffset + 4 * fanOut, arrayWord(fanOut), tableOffset}) + inner;
        for (quint32 i = 0; i < fanOut; ++i) {
            container += words({value(4, 12)});
        }
        inner = container;
    }
    return document(inner);
}

inline QList<QPair<const char*, QByteArray>> crafted()
{
    QList<QPair<const char*, QByteArray>> list;
    // 8 + 0xfffffffc wraps to 4, which fits any datagram; the reader then believes the container may
    // be 4 GiB long and walks a table of 2^28 values from 20 bytes.
    list.append(
        {"root size wraps the document size", document(words({0xfffffffc, arrayWord(1U << 28), 12}))});
    // 12 + 4 * 2^30 wraps to 12 in 32 bits: the table looks like it fits and has a billion entries.
    list.append({"array length wraps the table size", document(words({16, arrayWord(1U << 30), 12, 0}))});
    // The entry offset plus the entry's size wraps past zero.
    list.append({"entry offset wraps", document(words({24, objectWord(1), 20, value(0, 0, false, true),
                                                       0x61 << 16 | 1, 0xfffffffc}))});
    list.append({"entry offset beyond the container",
                 document(words({24, objectWord(1), 20, value(0, 0, false, true), 0x61 << 16 | 1, 4000}))});
    list.append({"UTF-16 key longer than everything",
                 document(words({24, objectWord(1), 20, value(0, 0), 0x80000000, 12}))});
    list.append({"latin-1 string longer than its container",
                 document(words({20, arrayWord(1), 16, 0x0400, value(3, 12, true)}))});
    list.append({"UTF-16 string longer than its container",
                 document(words({20, arrayWord(1), 16, 0x7fffffff, value(3, 12)}))});
    list.append({"array that contains itself", document(words({16, arrayWord(1), 12, value(4, 0)}))});
    list.append(
        {"object that contains its own header", document(words({20, arrayWord(1), 16, 0, value(5, 4)}))});
    list.append({"double read across the table", document(words({20, arrayWord(1), 16, 0, value(2, 12)}))});
    list.append({"value type 7", document(words({16, arrayWord(1), 12, 7}))});
    list.append({"value type 6", document(words({16, arrayWord(1), 12, 6}))});
    list.append({"root larger than the datagram", document(words({4000, arrayWord(0), 12}))});
    list.append({"table offset past the container", document(words({16, arrayWord(1), 0x7ffffff0, 0}))});
    list.append({"misaligned string", document(words({24, arrayWord(1), 20, 0, 0, value(3, 13, true)}))});
    list.append({"object value holding an array",
                 document(words({32, arrayWord(1), 28, 12, arrayWord(0), 12, 0, value(5, 12)}))});
    list.append(
        {"keys out of order", document(words({36, objectWord(2), 28, value(0, 0, false, true), 0x62 << 16 | 1,
                                              value(0, 0, false, true), 0x61 << 16 | 1, 12, 20}))});
    list.append({"eight levels of eightfold sharing", sharedLevels(8, 8)});
    list.append({"twelve levels of eightfold sharing", sharedLevels(12, 8)});
    list.append({"forty levels deep", sharedLevels(40, 1)});
    list.append({"JSON text", QByteArray(R"({"id":"hvd","yaw":1.0,"pitch":0,"roll":0,"url":"","state":1,)"
                                         R"("position":0})")});
    list.append({"header only", words({0x736a6271, 1})});
    list.append({"wrong version", words({0x736a6271, 2, 12, objectWord(0), 12})});
    return list;
}

} // namespace HostileDatagrams
