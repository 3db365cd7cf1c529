#pragma once

#include "OvrelCommonGlobal.h"

#include <QString>
#include <QVariant>

// Typed access to the settings store. Getters never fail: they fall back to the caller's default.
class OVRELCOMMON_EXPORT CSetting
{
public:
    static int GetInt(const QString& strKey, int nDefault);
    static double GetDouble(const QString& strKey, double dblDefault);
    static QString GetString(const QString& strKey, const QString& strDefault);
    static bool Set(const QString& strKey, const QVariant& value);
};
