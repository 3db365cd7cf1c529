#include "project/settings/CProjectProperties.h"

#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/store/CProjectPropertyRecord.h"

namespace
{
QByteArray Utf8(const QString& strText)
{
    return strText.toUtf8();
}
} // namespace

const QString CProjectProperties::ALLOW_NO_BOXES = "PROJECT_ALLOW_NO_BOXES";
const QString CProjectProperties::DETECTION_THRESHOLD = "PROJECT_DETECTION_THRESHOLD";

CProjectProperties::CProjectProperties(CDatabase* pDatabase, int nProjectID)
    : m_pDatabase(pDatabase), m_nProjectID(nProjectID)
{
}

QString CProjectProperties::Get(const QString& strName) const
{
    if (!m_pDatabase)
        return QString();
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    m_pDatabase->SelectFromTable(
        CProjectPropertyRecord::TABLE_NAME, vctRecords,
        {{CProjectPropertyRecord::COLUMN_NAME, strName}, {CProjectPropertyRecord::COLUMN_PROJECT_ID, m_nProjectID}});
    if (vctRecords.empty())
        return QString();
    const auto pProperty = std::dynamic_pointer_cast<CProjectPropertyRecord>(vctRecords.front());
    return pProperty ? pProperty->GetValue() : QString();
}

bool CProjectProperties::IsOn(const QString& strName) const
{
    const QString strValue = Get(strName);
    return strValue == "true" || strValue == "1";
}

void CProjectProperties::Set(const QString& strName, const QVariant& value)
{
    if (!m_pDatabase || m_nProjectID < 0 || value.isNull())
        return;

    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    m_pDatabase->SelectFromTable(CProjectPropertyRecord::TABLE_NAME, vctRecords,
                                 {{CProjectPropertyRecord::COLUMN_NAME, strName}});

    QString strType;
    switch (value.type())
    {
    case QVariant::Int:
        strType = "int";
        break;
    case QVariant::Bool:
        strType = "bool";
        break;
    case QVariant::String:
        strType = "string";
        break;
    case QVariant::Double:
        strType = "double";
        break;
    default:
        break;
    }

    const QByteArray baTable = Utf8(CProjectPropertyRecord::TABLE_NAME);
    if (!vctRecords.empty())
    {
        const bool bUpdated = m_pDatabase->UpdateTable(CProjectPropertyRecord::TABLE_NAME,
                                                       {{CProjectPropertyRecord::COLUMN_VALUE, value.toString()}},
                                                       {{CProjectPropertyRecord::COLUMN_NAME, strName}}, false);
        if (bUpdated)
            CLogger::Write(ELogLevel_Normal, "Update Table %s OK", baTable.constData());
        else
            CLogger::Write(ELogLevel_Error, "Update Table %s Failed", baTable.constData());
        return;
    }

    auto pProperty = std::make_shared<CProjectPropertyRecord>();
    pProperty->SetName(strName);
    pProperty->SetValue(value.toString());
    pProperty->SetType(strType);
    pProperty->SetProjectID(m_nProjectID);
    if (m_pDatabase->InsertToTable(std::vector<std::shared_ptr<CDatabaseRecord>>{pProperty}, false))
        CLogger::Write(ELogLevel_Normal, "Insert Table %s OK", baTable.constData());
    else
        CLogger::Write(ELogLevel_Error, "Insert Table %s Failed", baTable.constData());
}
