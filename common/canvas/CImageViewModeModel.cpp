#include "canvas/CImageViewModeModel.h"

CImageViewModeModel::CImageViewModeModel(QObject* parent) : CModel(parent) {}

CImageViewModeModel::~CImageViewModeModel() = default;

void CImageViewModeModel::SetMode(EImageView2DMode eMode)
{
    if (eMode == m_eMode)
        return;
    m_eMode = eMode;
    emit signal_ChangeViewMode();
}
