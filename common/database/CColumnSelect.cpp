#include "database/CColumnSelect.h"

#include "database/CDatabase.h"

#include <QStringList>

#include <cmath>
#include <cstring>
#include <sqlite3.h>

namespace
{
double RealOfText(const QString& strText)
{
    bool bOk = false;
    const double dblValue = strText.toDouble(&bOk);
    return bOk ? dblValue : std::nan("");
}

// Plain ASCII reads alike from any encoding SQLite may hold.
bool IsAscii(const unsigned char* pBytes, int nBytes)
{
    for (int i = 0; i < nBytes; ++i)
        if (pBytes[i] >= 0x80)
            return false;
    return true;
}

// The cells of one column while the rows are read; moved into the caller's array at the end.
struct SCells
{
    std::vector<int> vctIntegers;
    std::vector<qint64> vctIntegers64;
    std::vector<double> vctReals;
    std::vector<QString> vctTexts;
};
} // namespace

CColumnSelect::CColumnSelect(const QString& strTable, const std::map<QString, QVariant>& mapWhereValues)
    : m_strTable(strTable), m_mapWhereValues(mapWhereValues)
{
}

void CColumnSelect::AddWhereIn(const QString& strColumn, const std::vector<int>& vctValues)
{
    QString strValues;
    strValues.reserve(int(vctValues.size()) * 8);
    for (const int nValue : vctValues)
        strValues += (strValues.isEmpty() ? QString() : QStringLiteral(",")) + QString::number(nValue);
    m_strWhereIn += (m_strWhereIn.isEmpty() ? QString() : QStringLiteral(" AND ")) + strColumn +
                    QStringLiteral(" IN (") + strValues + QStringLiteral(")");
}

void CColumnSelect::AddInteger(const QString& strColumn, std::vector<int>* pValues)
{
    m_vctColumns.push_back({strColumn, EType_Integer, pValues});
}

void CColumnSelect::AddInteger64(const QString& strColumn, std::vector<qint64>* pValues)
{
    m_vctColumns.push_back({strColumn, EType_Integer64, pValues});
}

void CColumnSelect::AddReal(const QString& strColumn, std::vector<double>* pValues)
{
    m_vctColumns.push_back({strColumn, EType_Real, pValues});
}

void CColumnSelect::AddText(const QString& strColumn, std::vector<QString>* pValues)
{
    m_vctColumns.push_back({strColumn, EType_Text, pValues});
}

QString CColumnSelect::Statement() const
{
    QStringList lstColumns;
    for (const SColumn& sColumn : m_vctColumns)
        lstColumns.append(sColumn.strName);
    const QString strQuery = CDatabase::GetColumnSelectQuery(m_strTable, lstColumns, m_mapWhereValues);
    if (m_strWhereIn.isEmpty())
        return strQuery;
    return strQuery + (m_mapWhereValues.empty() ? QStringLiteral(" WHERE ") : QStringLiteral("AND ")) + m_strWhereIn;
}

bool CColumnSelect::Run(CDatabase* pDatabase)
{
    if (!pDatabase || m_vctColumns.empty())
        return false;
    const QVariant handle = pDatabase->DriverHandle();
    if (handle.isValid() && std::strcmp(handle.typeName(), "sqlite3*") == 0)
        return RunNative(*static_cast<sqlite3* const*>(handle.constData()));
    return RunGeneric(pDatabase);
}

bool CColumnSelect::RunNative(void* pConnection)
{
    auto* pSqlite = static_cast<sqlite3*>(pConnection);
    if (!pSqlite)
        return false;
    sqlite3_stmt* pStatement = nullptr;
    const QByteArray baStatement = Statement().toUtf8();
    if (sqlite3_prepare_v2(pSqlite, baStatement.constData(), baStatement.size(), &pStatement, nullptr) != SQLITE_OK)
    {
        sqlite3_finalize(pStatement);
        return false;
    }
    std::vector<SCells> vctCells(m_vctColumns.size());
    int nStep = SQLITE_ROW;
    while ((nStep = sqlite3_step(pStatement)) == SQLITE_ROW)
    {
        for (size_t i = 0; i < m_vctColumns.size(); ++i)
        {
            const int nColumn = static_cast<int>(i);
            SCells& cells = vctCells[i];
            switch (m_vctColumns[i].eType)
            {
            case EType_Integer:
                cells.vctIntegers.push_back(sqlite3_column_int(pStatement, nColumn));
                break;
            case EType_Integer64:
                cells.vctIntegers64.push_back(sqlite3_column_int64(pStatement, nColumn));
                break;
            case EType_Real:
            {
                const int nType = sqlite3_column_type(pStatement, nColumn);
                double dblValue = std::nan("");
                if (nType == SQLITE_INTEGER || nType == SQLITE_FLOAT)
                    dblValue = sqlite3_column_double(pStatement, nColumn);
                else if (nType == SQLITE_TEXT)
                    dblValue = RealOfText(
                        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(pStatement, nColumn)),
                                          sqlite3_column_bytes(pStatement, nColumn)));
                cells.vctReals.push_back(dblValue);
                break;
            }
            case EType_Text:
            {
                // Most text is ASCII (file names): it is taken as it is stored, without SQLite converting every cell to
                // UTF-16 in a buffer of its own first.
                const auto* pBytes = sqlite3_column_text(pStatement, nColumn);
                const int nBytes = sqlite3_column_bytes(pStatement, nColumn);
                if (pBytes && IsAscii(pBytes, nBytes))
                {
                    cells.vctTexts.push_back(QString::fromLatin1(reinterpret_cast<const char*>(pBytes), nBytes));
                    break;
                }
                // As the Qt driver reads text: in UTF-16, so that stored bytes that are no UTF-8 read alike.
                const void* pText = sqlite3_column_text16(pStatement, nColumn);
                cells.vctTexts.push_back(
                    pText ? QString(static_cast<const QChar*>(pText), sqlite3_column_bytes16(pStatement, nColumn) / 2)
                          : QString());
                break;
            }
            }
        }
    }
    sqlite3_finalize(pStatement);
    if (nStep != SQLITE_DONE)
        return false;
    for (size_t i = 0; i < m_vctColumns.size(); ++i)
    {
        const SColumn& sColumn = m_vctColumns[i];
        switch (sColumn.eType)
        {
        case EType_Integer:
            static_cast<std::vector<int>*>(sColumn.pValues)->swap(vctCells[i].vctIntegers);
            break;
        case EType_Integer64:
            static_cast<std::vector<qint64>*>(sColumn.pValues)->swap(vctCells[i].vctIntegers64);
            break;
        case EType_Real:
            static_cast<std::vector<double>*>(sColumn.pValues)->swap(vctCells[i].vctReals);
            break;
        case EType_Text:
            static_cast<std::vector<QString>*>(sColumn.pValues)->swap(vctCells[i].vctTexts);
            break;
        }
    }
    return true;
}

bool CColumnSelect::RunGeneric(CDatabase* pDatabase)
{
    std::vector<std::vector<QVariant>> vctCells;
    if (!pDatabase->SelectStatement(Statement(), int(m_vctColumns.size()), vctCells))
        return false;
    for (size_t i = 0; i < m_vctColumns.size(); ++i)
    {
        const SColumn& sColumn = m_vctColumns[i];
        const std::vector<QVariant>& vctColumn = vctCells[i];
        switch (sColumn.eType)
        {
        case EType_Integer:
        {
            auto* pValues = static_cast<std::vector<int>*>(sColumn.pValues);
            pValues->clear();
            for (const QVariant& value : vctColumn)
                pValues->push_back(value.toInt());
            break;
        }
        case EType_Integer64:
        {
            auto* pValues = static_cast<std::vector<qint64>*>(sColumn.pValues);
            pValues->clear();
            for (const QVariant& value : vctColumn)
                pValues->push_back(value.toLongLong());
            break;
        }
        case EType_Real:
        {
            auto* pValues = static_cast<std::vector<double>*>(sColumn.pValues);
            pValues->clear();
            for (const QVariant& value : vctColumn)
                pValues->push_back(value.isNull() ? std::nan("") : RealOfText(value.toString()));
            break;
        }
        case EType_Text:
        {
            auto* pValues = static_cast<std::vector<QString>*>(sColumn.pValues);
            pValues->clear();
            for (const QVariant& value : vctColumn)
                pValues->push_back(value.toString());
            break;
        }
        }
    }
    return true;
}
