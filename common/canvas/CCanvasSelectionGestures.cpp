#include "canvas/CCanvasSelectionGestures.h"

#include "canvas/CDeleteDrawableObjectCommand.h"
#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageBounds.h"
#include "canvas/CImageView2D.h"
#include "canvas/CMoveDrawableObjectCommand.h"
#include "canvas/CNudgeDrawableObjectsCommand.h"
#include "canvas/CRelabelDrawableObjectCommand.h"
#include "canvas/CResizeDrawableObjectCommand.h"
#include "frame/CUndoCommandGroup.h"
#include "frame/CUndoStack.h"

#include "Geometry/COvrelGeometry.h"
#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelRectangle.h"

#include <QGuiApplication>

#include <algorithm>

using Ovrel::Geometry::COvrelPoint;
using Ovrel::Geometry::COvrelRectangle;

void CCanvasSelectionGestures::CheckResize(const QPointF& point)
{
    if (!IsImageShown())
        return;
    const double dblTolerance = Tolerance();
    for (int nIndex = 0; nIndex < m_pObjectModel->GetObjectCount(); ++nIndex)
    {
        QPointF handle;
        if (m_pObjectModel->GetObject(nIndex)->FindResizePoint(dblTolerance, point, handle, 0.0))
        {
            m_bResizing = true;
            m_lastPoint = point;
            m_pCanvas->setCursor(Qt::CrossCursor);
            return;
        }
    }
    m_pCanvas->setCursor(Qt::ArrowCursor);
    m_bResizing = false;
}

void CCanvasSelectionGestures::Pick(const std::shared_ptr<CDrawableObject>& pObject, const QPointF& point)
{
    pObject->SetSelected(true);
    pObject->SetMouseOffset(point - pObject->GetBoundary().topLeft());
}

bool CCanvasSelectionGestures::AnySelected() const
{
    for (int nIndex = 0; nIndex < m_pObjectModel->GetObjectCount(); ++nIndex)
    {
        if (m_pObjectModel->GetObject(nIndex)->GetSelected())
            return true;
    }
    return false;
}

void CCanvasSelectionGestures::Start(const QPointF& point)
{
    if (!IsImageShown())
        return;
    const std::vector<std::shared_ptr<CDrawableObject>> vctUnder = m_pObjectModel->FindObjectsAt(point);
    if (QGuiApplication::keyboardModifiers() & Qt::ControlModifier)
    {
        for (const std::shared_ptr<CDrawableObject>& pObject : vctUnder)
            pObject->SetSelected(true);
        // The drag that may follow starts here, so every selected object is grabbed from this point; an offset kept
        // from an earlier click would make that object jump by the distance between the two clicks.
        for (int nIndex = 0; nIndex < m_pObjectModel->GetObjectCount(); ++nIndex)
        {
            const std::shared_ptr<CDrawableObject> pObject = m_pObjectModel->GetObject(nIndex);
            if (pObject->GetSelected())
                Pick(pObject, point);
        }
        if (AnySelected())
            m_bMoving = m_bGroup = true;
    }
    else
    {
        bool bOnGroup = false;
        if (m_bGroup)
        {
            for (const std::shared_ptr<CDrawableObject>& pObject : vctUnder)
                bOnGroup = bOnGroup || pObject->GetSelected();
        }
        if (bOnGroup)
        {
            // A press on the selection grabs all of it, together with whatever else lies under the point.
            for (int nIndex = 0; nIndex < m_pObjectModel->GetObjectCount(); ++nIndex)
            {
                const std::shared_ptr<CDrawableObject> pObject = m_pObjectModel->GetObject(nIndex);
                if (pObject->GetSelected() || std::find(vctUnder.begin(), vctUnder.end(), pObject) != vctUnder.end())
                    Pick(pObject, point);
            }
            m_bMoving = m_bGroup = true;
        }
        else
        {
            m_bMoving = m_bGroup = false;
            m_pObjectModel->DeselectAll();
            if (!vctUnder.empty())
            {
                Pick(vctUnder.front(), point);
                m_bMoving = true;
            }
        }
    }
    if (m_bResizing)
        m_lastPoint = point;
    m_pResized.reset();
    m_pShapeBefore.reset();
}

void CCanvasSelectionGestures::Doing(const QPointF& start, const QPointF& end)
{
    if (!IsImageShown())
        return;
    if (m_bResizing)
    {
        Resize(end);
    }
    else if (m_bMoving)
    {
        const QPointF endOnImage = MoveEndOnImage(start, end);
        for (int nIndex = 0; nIndex < m_pObjectModel->GetObjectCount(); ++nIndex)
        {
            const std::shared_ptr<CDrawableObject> pObject = m_pObjectModel->GetObject(nIndex);
            if (pObject->GetSelected())
                pObject->MoveTopLeftTo(endOnImage - pObject->GetMouseOffset());
        }
        m_pCanvas->update();
    }
    else
    {
        SelectInBand(start, end);
    }
}

QPointF CCanvasSelectionGestures::MoveEndOnImage(const QPointF& start, const QPointF& end) const
{
    // Each selected object was grabbed at start, so it began at start - offset; the boxes among them move as one
    // block that stops at the image's edges, keeping their sizes and their places to each other.
    QRectF block;
    for (int nIndex = 0; nIndex < m_pObjectModel->GetObjectCount(); ++nIndex)
    {
        const std::shared_ptr<CDrawableObject> pObject = m_pObjectModel->GetObject(nIndex);
        if (pObject->GetSelected() && CImageBounds::IsKeptOnImage(*pObject))
            block |= QRectF(start - pObject->GetMouseOffset(), pObject->GetBoundary().size());
    }
    if (block.isNull())
        return end;
    const QRectF image = CImageBounds::ImageRect(m_pCanvas->GetCurrentImage().get());
    return start + CImageBounds::ClampTopLeft(block.topLeft() + (end - start), block.size(), image) - block.topLeft();
}

QPointF CCanvasSelectionGestures::ResizeEndOnImage(const std::shared_ptr<CDrawableObject>& pObject,
                                                   const QPointF& end) const
{
    if (!CImageBounds::IsKeptOnImage(*pObject))
        return end;
    // The handle stops at the edge; the pointer it follows is where it would be had the mouse stopped there too.
    return CImageBounds::ClampPoint(end - m_handleDelta, CImageBounds::ImageRect(m_pCanvas->GetCurrentImage().get())) +
           m_handleDelta;
}

void CCanvasSelectionGestures::Resize(const QPointF& end)
{
    if (!m_pResized)
    {
        const double dblTolerance = Tolerance();
        for (int nIndex = 0; nIndex < m_pObjectModel->GetObjectCount(); ++nIndex)
        {
            const std::shared_ptr<CDrawableObject> pObject = m_pObjectModel->GetObject(nIndex);
            QPointF handle;
            if (pObject->FindResizePoint(dblTolerance, m_lastPoint, handle, 0.0))
            {
                // The handle keeps the distance from the mouse that it had when the drag began.
                m_pResized = pObject;
                m_resizedHandle = handle;
                m_handleDelta = m_lastPoint - handle;
                const auto pGeometry = std::dynamic_pointer_cast<CDrawableGeometry>(pObject);
                m_pShapeBefore = pGeometry && pGeometry->GetData() ? pGeometry->GetData()->Clone() : nullptr;
                break;
            }
        }
    }
    if (m_pResized)
    {
        // The grabbed handle is followed by its position for the whole drag: once a corner has crossed the opposite
        // one, or two corners meet, the handle nearest the mouse may be another one. It stops at the image's edges.
        m_pResized->SetSelected(true);
        const QPointF to = ResizeEndOnImage(m_pResized, end) - m_handleDelta;
        m_pResized->MoveResizePoint(m_resizedHandle, to);
        m_resizedHandle = to;
    }
    m_lastPoint = end;
}

void CCanvasSelectionGestures::SelectInBand(const QPointF& start, const QPointF& end)
{
    ClearDrawing(true);
    const QPointF size = end - start;
    auto pBand = std::make_shared<COvrelRectangle>(start.x(), start.y(), size.x(), size.y());
    auto pBandObject = std::make_shared<CDrawableGeometry>(pBand);
    pBandObject->SetDisplayName(false);
    ShowDrawing(pBandObject);
    // Objects only join the selection during the drag; letting go of one would flicker as the band shrinks.
    for (int nIndex = 0; nIndex < m_pObjectModel->GetObjectCount(); ++nIndex)
    {
        const std::shared_ptr<CDrawableObject> pObject = m_pObjectModel->GetObject(nIndex);
        const QRectF boundary = pObject->GetBoundary();
        for (const QPointF& corner :
             {boundary.topLeft(), boundary.topRight(), boundary.bottomRight(), boundary.bottomLeft()})
        {
            if (pBand->Contained(COvrelPoint(corner.x(), corner.y())))
            {
                pObject->SetSelected(true);
                pObject->SetMouseOffset(QPointF(0.0, 0.0));
                break;
            }
        }
    }
}

void CCanvasSelectionGestures::End(const QPointF& start, const QPointF& end)
{
    if (!IsImageShown() || !m_pUndoStack)
        return;
    std::vector<std::shared_ptr<CDrawableObject>> vctSelected;
    for (int nIndex = 0; nIndex < m_pObjectModel->GetObjectCount(); ++nIndex)
    {
        if (m_pObjectModel->GetObject(nIndex)->GetSelected())
            vctSelected.push_back(m_pObjectModel->GetObject(nIndex));
    }
    // The commands take the end where the drag stopped at the image's edges, so that undo finds what they moved.
    if (m_bResizing)
    {
        const auto pGeometry = std::dynamic_pointer_cast<CDrawableGeometry>(m_pResized);
        // A corner dragged onto the opposite side would leave a box without area, which is never made: the resize
        // is taken back and no step is pushed.
        if (pGeometry && pGeometry->GetData() && m_pShapeBefore && CImageBounds::IsKeptOnImage(*pGeometry) &&
            !CImageBounds::HasArea(pGeometry->GetBoundary()))
            pGeometry->RestoreShape(*m_pShapeBefore);
        else if (pGeometry && pGeometry->GetData() && m_pShapeBefore)
            PushAndExecute(new CResizeDrawableObjectCommand(pGeometry, *m_pShapeBefore, *pGeometry->GetData()));
        else if (m_pResized)
            PushAndExecute(
                new CResizeDrawableObjectCommand(m_pResized, start, ResizeEndOnImage(m_pResized, end), m_handleDelta));
        m_pResized.reset();
        m_pShapeBefore.reset();
    }
    else if (m_bMoving && m_bGroup)
    {
        const QPointF endOnImage = MoveEndOnImage(start, end);
        auto* pGroup = new CUndoCommandGroup();
        for (const std::shared_ptr<CDrawableObject>& pObject : vctSelected)
            pGroup->AddCommand(new CMoveDrawableObjectCommand(pObject, start, endOnImage, pObject->GetMouseOffset()));
        PushAndExecute(pGroup);
    }
    else if (m_bMoving)
    {
        const QPointF endOnImage = MoveEndOnImage(start, end);
        for (const std::shared_ptr<CDrawableObject>& pObject : vctSelected)
            PushAndExecute(new CMoveDrawableObjectCommand(pObject, start, endOnImage, pObject->GetMouseOffset()));
    }
    else
    {
        ClearDrawing(true);
        if (!vctSelected.empty())
            m_bGroup = true;
    }
    m_bMoving = false;
    m_pObjectModel->ClearDrawingObjects();
}

void CCanvasSelectionGestures::DeleteSelection()
{
    if (!m_pCanvas || !m_pObjectModel || !m_pUndoStack)
        return;
    auto* pGroup = new CUndoCommandGroup();
    for (int nIndex = 0; nIndex < m_pObjectModel->GetObjectCount(); ++nIndex)
    {
        const std::shared_ptr<CDrawableObject> pObject = m_pObjectModel->GetObject(nIndex);
        if (pObject->GetSelected())
            pGroup->AddCommand(new CDeleteDrawableObjectCommand(m_pObjectModel, pObject));
    }
    PushAndExecute(pGroup);
}

void CCanvasSelectionGestures::ShowContextMenu(const QPointF& point)
{
    if (!m_pCanvas || !m_pObjectModel)
        return;
    // Without an image only the image menu makes sense: it is where an image gets loaded.
    const std::shared_ptr<CDrawableObject> pObject = IsImageShown() ? m_pObjectModel->FindObjectAt(point) : nullptr;
    if (pObject)
    {
        pObject->SetSelected(true);
        m_pCanvas->ShowObjectMenu(point, pObject->GetUID());
    }
    else
    {
        m_pCanvas->ShowImageMenu(point);
    }
}

void CCanvasSelectionGestures::PressKey(int nKey)
{
    if (!m_pCanvas || !m_pObjectModel)
        return;
    if (nKey == Qt::Key_Escape)
    {
        if (m_pCanvas->isVisible())
            SetMode(CImageViewModeModel::EImageView2DMode_Selecting);
    }
    else if (nKey == Qt::Key_Backspace || nKey == Qt::Key_Delete)
    {
        DeleteSelection();
    }
}

void CCanvasSelectionGestures::MoveSelectionBy(const QPointF& offset)
{
    if (!IsImageShown() || !m_pUndoStack)
        return;
    std::vector<std::shared_ptr<CDrawableObject>> vctSelected = Selected();
    QRectF block;
    for (const std::shared_ptr<CDrawableObject>& pObject : vctSelected)
    {
        if (CImageBounds::IsKeptOnImage(*pObject))
            block |= pObject->GetBoundary();
    }
    QPointF shift = offset;
    if (!block.isNull())
    {
        const QRectF image = CImageBounds::ImageRect(m_pCanvas->GetCurrentImage().get());
        shift = CImageBounds::ClampTopLeft(block.topLeft() + offset, block.size(), image) - block.topLeft();
    }
    if (vctSelected.empty() || shift.isNull())
        return;
    auto pCommand = std::make_unique<CNudgeDrawableObjectsCommand>(std::move(vctSelected), shift);
    pCommand->Execute();
    // A run of presses on the same selection is one step: the newest nudge takes this one in.
    if (!m_pUndoStack->MergeWithNewest(*pCommand))
        m_pUndoStack->PushUndo(pCommand.release());
    m_pCanvas->update();
}

bool CCanvasSelectionGestures::Relabel(const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects,
                                       const QString& strName)
{
    std::vector<std::shared_ptr<CDrawableObject>> vctRenamed;
    for (const std::shared_ptr<CDrawableObject>& pObject : vctObjects)
    {
        if (pObject && pObject->GetName() != strName)
            vctRenamed.push_back(pObject);
    }
    if (vctRenamed.empty() || !m_pUndoStack)
        return false;
    PushAndExecute(new CRelabelDrawableObjectCommand(vctRenamed, strName));
    return true;
}

std::vector<std::shared_ptr<CDrawableObject>> CCanvasSelectionGestures::Selected() const
{
    std::vector<std::shared_ptr<CDrawableObject>> vctSelected;
    for (int nIndex = 0; m_pObjectModel && nIndex < m_pObjectModel->GetObjectCount(); ++nIndex)
    {
        std::shared_ptr<CDrawableObject> pObject = m_pObjectModel->GetObject(nIndex);
        if (pObject->GetSelected())
            vctSelected.push_back(std::move(pObject));
    }
    return vctSelected;
}
