#include "frame/CSettingStore.h"

CSettingStore& CSettingStore::GetInstance()
{
    static CSettingStore store;
    return store;
}

QVariant CSettingStore::Get(const QString& strKey) const
{
    return m_mapValues.value(strKey);
}

void CSettingStore::Set(const QString& strKey, const QVariant& value)
{
    auto it = m_mapValues.find(strKey);
    if (it == m_mapValues.end())
        it = m_mapValues.insert(strKey, QVariant());
    if (it.value() == value)
        return;
    it.value() = value;
    emit signal_UpdateSettingParameter(strKey, value);
}
