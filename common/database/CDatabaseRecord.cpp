#include "database/CDatabaseRecord.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
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

QString CDatabaseRecord::InsertQuery(const QString& strTable,
                                     const std::vector<std::pair<QString, QVariant>>& vctColumns)
{
    QStringList lstColumns;
    QStringList lstValues;
    for (const auto& [strColumn, value] : vctColumns)
    {
        lstColumns << strColumn;
        if (value.type() == QVariant::Int)
            lstValues << QString::number(value.toInt());
        else if (value.type() == QVariant::Double)
            lstValues << QString::asprintf("%f", value.toDouble());
        else
        {
            const QString strText = value.toString();
            lstValues << QLatin1Char('\'') + EscapeApostrophes(strText.left(strText.indexOf(QChar(0)))) +
                             QLatin1Char('\'');
        }
    }
    return QStringLiteral("INSERT INTO ") + strTable + QStringLiteral(" (") + lstColumns.join(", ") +
           QStringLiteral(") VALUES(") + lstValues.join(", ") + QLatin1Char(')');
}

void CDatabaseRecord::LoadIDFromQuery(QSqlQuery* pQuery, const QSqlRecord& record)
{
    LoadColumn(pQuery, record, COLUMN_ID, m_nID);
}

namespace
{
template <class T, class Convert>
void LoadColumnAs(QSqlQuery* pQuery, const QSqlRecord& record, const QString& strColumn, T& field, Convert convert)
{
    if (!pQuery)
        return;
    const int nIndex = record.indexOf(strColumn);
    if (nIndex >= 0)
        field = convert(pQuery->value(nIndex));
}
} // namespace

void CDatabaseRecord::LoadColumn(QSqlQuery* pQuery, const QSqlRecord& record, const QString& strColumn,
                                 QString& strField)
{
    LoadColumnAs(pQuery, record, strColumn, strField, [](const QVariant& value) { return value.toString(); });
}

void CDatabaseRecord::LoadColumn(QSqlQuery* pQuery, const QSqlRecord& record, const QString& strColumn, int& nField)
{
    LoadColumnAs(pQuery, record, strColumn, nField, [](const QVariant& value) { return value.toInt(); });
}

void CDatabaseRecord::LoadColumn(QSqlQuery* pQuery, const QSqlRecord& record, const QString& strColumn,
                                 unsigned int& nField)
{
    LoadColumnAs(pQuery, record, strColumn, nField, [](const QVariant& value) { return value.toUInt(); });
}

void CDatabaseRecord::LoadColumn(QSqlQuery* pQuery, const QSqlRecord& record, const QString& strColumn,
                                 double& dblField)
{
    LoadColumnAs(pQuery, record, strColumn, dblField, [](const QVariant& value) { return value.toDouble(); });
}

void CDatabaseRecord::LoadColumn(QSqlQuery* pQuery, const QSqlRecord& record, const QString& strColumn,
                                 QDateTime& field)
{
    LoadColumnAs(pQuery, record, strColumn, field, [](const QVariant& value) { return value.toDateTime(); });
}
