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

int CImage2DProcessMedianModel::GetWindowSize() const
{
    const int nRadius = GetRadius();
    return nRadius < 0 ? m_nSize : 2 * nRadius + 1;
}

bool CImage2DProcessMedianModel::SetWindowSize(int nSize)
{
    if (!SetSize(nSize))
        return false;
    if (nSize == 3)
        m_eType = EImage2DProcessMedian3x3;
    else if (nSize == 5)
        m_eType = EImage2DProcessMedian5x5;
    else
        m_eType = EImage2DProcessMedianNxN;
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
