#include "project/classes/CProjectCategories.h"

#include "database/CDatabase.h"
#include "database/CDatabaseRecord.h"
#include "project/store/CCategoryRecord.h"

#include <QVariant>

CProjectCategories::CProjectCategories(CDatabase* pDatabase)
{
    // Two columns into plain arrays rather than a record per row.
    std::vector<std::vector<QVariant>> vctColumns;
    if (!pDatabase ||
        !pDatabase->SelectColumns(CCategoryRecord::TABLE_NAME,
                                  {CDatabaseRecord::COLUMN_ID, CCategoryRecord::COLUMN_NAME}, {}, vctColumns))
        return;
    m_bRead = true;
    const size_t nRows = vctColumns[0].size();
    m_vctIDs.reserve(nRows);
    m_lstNames.reserve(static_cast<int>(nRows));
    for (size_t nRow = 0; nRow < nRows; ++nRow)
    {
        const int nIndex = static_cast<int>(nRow);
        m_vctIDs.push_back(vctColumns[0][nRow].toInt());
        m_lstNames.append(vctColumns[1][nRow].toString());
        // The first row wins, as a select by ID or by name would have found it.
        if (!m_mapIndexByID.contains(m_vctIDs.back()))
            m_mapIndexByID.insert(m_vctIDs.back(), nIndex);
        if (!m_mapIndexByName.contains(m_lstNames.last()))
            m_mapIndexByName.insert(m_lstNames.last(), nIndex);
    }
}

QString CProjectCategories::Table()
{
    return CCategoryRecord::TABLE_NAME;
}

int CProjectCategories::IDOf(const QString& strName) const
{
    const int nIndex = m_mapIndexByName.value(strName, -1);
    return nIndex < 0 ? -1 : m_vctIDs[static_cast<size_t>(nIndex)];
}

QString CProjectCategories::NameOf(int nID) const
{
    const int nIndex = IndexOf(nID);
    return nIndex < 0 ? QString() : m_lstNames[nIndex];
}
