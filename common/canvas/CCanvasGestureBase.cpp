#include "canvas/CCanvasGestureBase.h"

#include "canvas/CAddDrawableObjectCommand.h"
#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CDrawingObjectLayer.h"
#include "canvas/CImageView2D.h"
#include "frame/CUndoStack.h"

namespace
{
constexpr double kToleranceScreenPixels = 10.0;
} // namespace

CCanvasGestureBase::CCanvasGestureBase(CImageView2D* pCanvas, CDrawableObjectModel* pObjectModel,
                                       CImageViewModeModel* pModeModel, CUndoStack* pUndoStack)
    : m_pCanvas(pCanvas), m_pObjectModel(pObjectModel), m_pModeModel(pModeModel), m_pUndoStack(pUndoStack)
{
}

CCanvasGestureBase::~CCanvasGestureBase() = default;

double CCanvasGestureBase::Tolerance() const
{
    const double dblScale = m_pCanvas ? m_pCanvas->GetDisplayScale() : 0.0;
    return dblScale > 0.0 ? kToleranceScreenPixels / dblScale : 0.0;
}

bool CCanvasGestureBase::IsImageShown() const
{
    return m_pCanvas && m_pObjectModel && m_pCanvas->GetCurrentImage() && m_pCanvas->GetDisplayScale() > 0.0;
}

void CCanvasGestureBase::PushAndExecute(CUndoCommand* pCommand)
{
    if (!m_pUndoStack)
    {
        delete pCommand;
        return;
    }
    m_pUndoStack->PushUndo(pCommand);
    pCommand->Execute();
}

void CCanvasGestureBase::AddWithUndo(const std::shared_ptr<CDrawableObject>& pObject)
{
    PushAndExecute(new CAddDrawableObjectCommand(m_pObjectModel, pObject));
}

void CCanvasGestureBase::ClearDrawing(bool bLayer)
{
    if (bLayer && m_pCanvas && m_pCanvas->GetDrawingObjectLayer())
        m_pCanvas->GetDrawingObjectLayer()->ClearDrawableObjects();
    if (m_pObjectModel)
        m_pObjectModel->ClearDrawingObjects();
}

void CCanvasGestureBase::ShowDrawing(const std::shared_ptr<CDrawableObject>& pObject)
{
    if (m_pObjectModel)
        m_pObjectModel->AddDrawingObject(pObject);
}

void CCanvasGestureBase::SetMode(CImageViewModeModel::EImageView2DMode eMode)
{
    if (m_pModeModel)
        m_pModeModel->SetMode(eMode);
}
