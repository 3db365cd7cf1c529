#include "view3d/CInternalRunnable.h"

#include "view3d/CImageView3DModel.h"

#include "Utils/COvrelImage.h"

CInternalRunnable::CInternalRunnable(CImageView3DModel* pModel, std::shared_ptr<Ovrel::Utils::COvrelImage> pImage,
                                     unsigned int nTicket)
    : m_pModel(pModel), m_pImage(std::move(pImage)), m_nTicket(nTicket)
{
    setAutoDelete(true);
    if (m_pModel)
        m_pModel->BeginBuild();
}

void CInternalRunnable::run()
{
    if (!m_pModel)
        return;
    m_pModel->BuildMesh(m_pImage, m_nTicket);
    // The image goes before the model may: the model's destructor waits for this call.
    m_pImage.reset();
    m_pModel->EndBuild();
}
