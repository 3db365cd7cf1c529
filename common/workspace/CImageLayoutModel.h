#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"

// The grid of the image workspace: how many viewers stand side by side (columns) and above each other (rows).
// Starts as one viewer (1 x 1).
class OVRELCOMMON_EXPORT CImageLayoutModel : public CModel
{
    Q_OBJECT
public:
    explicit CImageLayoutModel(QObject* parent = nullptr);

    // Stores the size, logs "ChangeSize(columns, rows)" and announces it; the same size again does nothing at all.
    void ChangeSize(int nColumns, int nRows);
    int GetColumn() const { return m_nColumns; }
    int GetRow() const { return m_nRows; }

signals:
    void signal_ChangedSize();

private:
    int m_nColumns = 1;
    int m_nRows = 1;
};
