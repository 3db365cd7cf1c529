#include "workspace/CImageLayoutModel.h"

#include "frame/CLogger.h"

CImageLayoutModel::CImageLayoutModel(QObject* parent) : CModel(parent) {}

void CImageLayoutModel::ChangeSize(int nColumns, int nRows)
{
    if (nColumns == m_nColumns && nRows == m_nRows)
        return;
    m_nColumns = nColumns;
    m_nRows = nRows;
    CLogger::Write(ELogLevel_Normal, "ChangeSize(%d, %d)", nColumns, nRows);
    emit signal_ChangedSize();
}
