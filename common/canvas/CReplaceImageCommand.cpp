#include "canvas/CReplaceImageCommand.h"

#include "canvas/CDrawableObjectModel.h"
#include "canvas/ICanvasController.h"

#include "Utils/COvrelImage.h"

using Ovrel::Utils::COvrelImage;

CReplaceImageCommand::CReplaceImageCommand(ICanvasController* pController, std::shared_ptr<COvrelImage> pNewImage)
    : m_pController(pController), m_pNewImage(std::move(pNewImage)), m_pOldImage(std::make_shared<COvrelImage>())
{
    // A copy, not the pointer: whoever holds the current image may still change its pixels.
    if (m_pController)
    {
        if (const std::shared_ptr<COvrelImage> pCurrent = m_pController->GetCurrentImage())
            m_pOldImage->CopyFrom(*pCurrent);
    }
}

CReplaceImageCommand::~CReplaceImageCommand() = default;

void CReplaceImageCommand::Execute()
{
    MakeCurrent(m_pNewImage);
}

void CReplaceImageCommand::Undo()
{
    MakeCurrent(m_pOldImage);
}

bool CReplaceImageCommand::SameGeometry(const COvrelImage* pA, const COvrelImage* pB)
{
    return pA && pB && pA->GetWidth() == pB->GetWidth() && pA->GetHeight() == pB->GetHeight();
}

void CReplaceImageCommand::MakeCurrent(const std::shared_ptr<COvrelImage>& pImage)
{
    if (!m_pController)
        return;
    // Boxes stored with the image still fit pixels of the same size; clearing them would hide what the store holds.
    const bool bKeepObjects = m_pController->AreObjectsBoundToCurrentImage() &&
                              SameGeometry(m_pController->GetCurrentImage().get(), pImage.get());
    m_pController->ReplaceCurrentImage(pImage);
    if (bKeepObjects)
    {
        m_pController->RepaintCanvas();
        return;
    }
    if (CDrawableObjectModel* pModel = m_pController->GetDrawableObjectModel())
        pModel->ClearAll();
}
