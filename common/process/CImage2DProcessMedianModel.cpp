#include "process/CImage2DProcessMedianModel.h"

CImage2DProcessMedianModel::CImage2DProcessMedianModel(QObject* parent) : CModel(parent) {}

void CImage2DProcessMedianModel::SetType(EImage2DProcessMedian eType)
{
    if (eType != m_eType)
        m_eType = eType;
}

bool CImage2DProcessMedianModel::SetSize(int nSize)
{
    if (nSize < kMinSize || nSize > kMaxSize || nSize % 2 == 0)
        return false;
    m_nSize = nSize;
    return true;
}

int CImage2DProcessMedianModel::GetRadius() const
{
    switch (m_eType)
    {
    case EImage2DProcessMedian3x3:
        return 1;
    case EImage2DProcessMedian5x5:
        return 2;
    case EImage2DProcessMedianNxN:
        return (m_nSize - 1) / 2;
    }
    return -1;
}
