#include "process/CImage2DProcessSobelModel.h"

CImage2DProcessSobelModel::CImage2DProcessSobelModel(QObject* parent) : CModel(parent) {}

void CImage2DProcessSobelModel::SetType(EImage2DProcessSobel eType)
{
    if (eType != m_eType)
        m_eType = eType;
}
