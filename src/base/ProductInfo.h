#pragma once

#include <QString>
#include <QStringList>

// The fixed identity of the program: who makes it, what it is called, which version it is.
namespace ProductInfo {

inline QString organizationName()
{
    return QStringLiteral("Zelmo");
}

// The organisation's own web domain; a reserved name, so no real site is ever addressed.
inline QString organizationDomain()
{
    return QStringLiteral("zelmo.example");
}

inline QString displayName()
{
    return QStringLiteral("Gyre Player");
}

inline QString versionText()
{
    return QStringLiteral("1.0.0.400");
}

// "Gyre Player 1.0": the name the settings are stored under and the Qt application name. A new
// major or minor version starts with fresh preferences; builds of one release share them.
inline QString settingsApplicationName()
{
    const QStringList parts = versionText().split(QLatin1Char('.'));
    return displayName() + QLatin1Char(' ') + parts.mid(0, 2).join(QLatin1Char('.'));
}

} // namespace ProductInfo
