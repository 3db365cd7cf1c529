#include "frame/CSetting.h"

#include "frame/CSettingStore.h"

int CSetting::GetInt(const QString& strKey, int nDefault)
{
    const QVariant value = CSettingStore::GetInstance().Get(strKey);
    if (!value.isValid() || value.isNull())
        return nDefault;
    bool bOk = false;
    const int nValue = value.toInt(&bOk);
    return bOk ? nValue : nDefault;
}

double CSetting::GetDouble(const QString& strKey, double dblDefault)
{
    const QVariant value = CSettingStore::GetInstance().Get(strKey);
    if (!value.isValid() || value.isNull())
        return dblDefault;
    bool bOk = false;
    const double dblValue = value.toDouble(&bOk);
    return bOk ? dblValue : dblDefault;
}

QString CSetting::GetString(const QString& strKey, const QString& strDefault)
{
    const QVariant value = CSettingStore::GetInstance().Get(strKey);
    if (!value.isValid() || value.isNull())
        return strDefault;
    return value.toString();
}

bool CSetting::Set(const QString& strKey, const QVariant& value)
{
    CSettingStore::GetInstance().Set(strKey, value);
    return true;
}
