#include "progress/CProgressModel.h"

CProgressModel::CProgressModel(QObject* parent) : CModel(parent) {}

void CProgressModel::SetMaxRange(int nMaxRange)
{
    if (nMaxRange == m_nMaxRange)
        return;
    m_nMaxRange = nMaxRange;
    emit signal_MaxRangeChanged();
}

void CProgressModel::SetValue(int nValue)
{
    if (nValue == m_nValue)
        return;
    m_nValue = nValue;
    emit signal_ValueChanged();
}

int CProgressModel::GetMaxRange() const
{
    return m_nMaxRange;
}

int CProgressModel::GetValue() const
{
    return m_nValue;
}
