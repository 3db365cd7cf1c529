#include "process/CImage2DProcessMedianController.h"

#include "process/CImage2DProcessMedianDlg.h"
#include "process/CImage2DProcessMedianModel.h"
#include "process/ParameterEditors.h"

#include "Utils/COvrelImage.h"
#include "Utils/EOvrelBorderMode.h"

#include <QMetaEnum>

using Ovrel::Geometry::COvrelGeometry;
using Ovrel::Utils::COvrelImage;
using Ovrel::Utils::EOvrelBorderMode_Replicate;

CImage2DProcessMedianController::CImage2DProcessMedianController(CImage2DProcessMedianModel* pModel,
                                                                 CImage2DProcessMedianDlg* pView, QObject* parent)
    : CImageFilterController(pView, parent), m_pModel(pModel), m_pMedianView(pView)
{
}

void CImage2DProcessMedianController::slot_ChangeData(int nCode, const QString& strValue)
{
    if (!m_pModel)
        return;
    if (nCode == 0)
    {
        const int nType = ParameterEditors::ChoiceValue(QMetaEnum::fromType<EImage2DProcessMedian>(), strValue);
        m_pModel->SetType(static_cast<EImage2DProcessMedian>(nType));
    }
    else if (nCode == 1)
    {
        bool bNumber = false;
        const int nSize = strValue.toInt(&bNumber);
        if (bNumber)
            m_pModel->SetWindowSize(nSize);
    }
    // A refused size goes back to the one the filter runs with.
    if (m_pMedianView)
        m_pMedianView->ShowModel();
}

void CImage2DProcessMedianController::slot_Run()
{
    if (!m_pModel)
        return;
    const int nRadius = m_pModel->GetRadius();
    // An unknown kernel type has radius -1, which the library refuses: the run then changes nothing.
    RunFilter([nRadius](COvrelImage& image, const COvrelGeometry* pRegion)
              { return image.Median(nRadius, nRadius, pRegion, EOvrelBorderMode_Replicate, 0.0); });
}
