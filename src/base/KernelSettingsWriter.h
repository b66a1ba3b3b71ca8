#pragma once

#include <QString>
#include <QVariant>

// The one operation that components which only write preferences are given, so they cannot read or
// register defaults behind the store's back.
class KernelSettingsWriter
{
public:
    virtual ~KernelSettingsWriter() = default;
    virtual void setValue(const QString& key, const QVariant& value) = 0;
};
