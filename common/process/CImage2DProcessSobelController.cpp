#include "process/CImage2DProcessSobelController.h"

#include "process/CImage2DProcessSobelDlg.h"
#include "process/CImage2DProcessSobelModel.h"
#include "process/ParameterEditors.h"

#include "Utils/COvrelImage.h"
#include "Utils/EOvrelBorderMode.h"

#include <QMetaEnum>

using Ovrel::Geometry::COvrelGeometry;
using Ovrel::Utils::COvrelImage;
using Ovrel::Utils::EOvrelBorderMode_Replicate;

CImage2DProcessSobelController::CImage2DProcessSobelController(CImage2DProcessSobelModel* pModel,
                                                               CImage2DProcessSobelDlg* pView, QObject* parent)
    : CImageFilterController(pView, parent), m_pModel(pModel)
{
}

void CImage2DProcessSobelController::slot_ChangeData(int nCode, const QString& strValue)
{
    if (!m_pModel || nCode != 0)
        return;
    const int nType = ParameterEditors::ChoiceValue(QMetaEnum::fromType<EImage2DProcessSobel>(), strValue);
    m_pModel->SetType(static_cast<EImage2DProcessSobel>(nType));
}

void CImage2DProcessSobelController::slot_Run()
{
    if (!m_pModel)
        return;
    const EImage2DProcessSobel eType = m_pModel->GetType();
    RunFilter(
        [eType](COvrelImage& image, const COvrelGeometry* pRegion)
        {
            switch (eType)
            {
            case EImage2DProcessSobelX:
                return image.SobelX(pRegion, EOvrelBorderMode_Replicate, 0.0);
            case EImage2DProcessSobelY:
                return image.SobelY(pRegion, EOvrelBorderMode_Replicate, 0.0);
            case EImage2DProcessSobelXY:
                return image.SobelXY(pRegion, EOvrelBorderMode_Replicate, 0.0);
            }
            return Ovrel::Utils::EOvrelResult_InvalidArgument;
        });
}
