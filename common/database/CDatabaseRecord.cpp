#include "database/CDatabaseRecord.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

const QString CDatabaseRecord::COLUMN_ID = QStringLiteral("ID");

CDatabaseRecord::~CDatabaseRecord() = default;

QString CDatabaseRecord::EscapeApostrophes(const QString& strText)
{
    if (!strText.contains(QLatin1Char('\'')))
        return strText;
    QString strEscaped = strText;
    strEscaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return strEscaped;
}

QByteArray CDatabaseRecord::ToLiteralUtf8(const QString& strText)
{
    return EscapeApostrophes(strText).toUtf8();
}

void CDatabaseRecord::LoadIDFromQuery(QSqlQuery* pQuery, const QSqlRecord& record)
{
    if (!pQuery)
        return;
    const int nIndex = record.indexOf(COLUMN_ID);
    if (nIndex >= 0)
        m_nID = pQuery->value(nIndex).toInt();
}
