#pragma once

#include "base/ProductVersion.h"

#include <QDate>
#include <QString>

#include <optional>

// An update channel's answer to "version": a version of four numbers and its release date,
// "2.1.0.400_2014-05-12", anywhere in the text the server sent.
struct HUpdateAnswer
{
    ProductVersion version;
    QDate date; // invalid when the date part is not a date

    static std::optional<HUpdateAnswer> parse(const QString& body);
};
