#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"

#include <QMap>
#include <QString>
#include <QVariant>

// The process-wide in-memory settings. Announces every real change; persistence belongs to the settings controller.
// GUI thread only: the map is not locked and receivers run directly inside Set.
class OVRELCOMMON_EXPORT CSettingStore : public CModel
{
    Q_OBJECT
public:
    static CSettingStore& GetInstance();

    // A copy of the stored value, invalid when the key is absent.
    QVariant Get(const QString& strKey) const;
    // Stores and announces the value only when it differs from the stored one (QVariant equality, so the text "200"
    // equals the integer 200). An absent key is entered first with an invalid value.
    void Set(const QString& strKey, const QVariant& value);

signals:
    void signal_UpdateSettingParameter(const QString& strKey, const QVariant& value);

private:
    CSettingStore() = default;
    QMap<QString, QVariant> m_mapValues;
};
