#include "canvas/CImageView2DController.h"

#include "canvas/CCanvasDrawingGestures.h"
#include "canvas/CCanvasHistories.h"
#include "canvas/CCanvasImageCommands.h"
#include "canvas/CCanvasPanels.h"
#include "canvas/CCanvasSelectionGestures.h"
#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DToolPanel.h"
#include "canvas/CImageViewModeModel.h"
#include "capture/CScreenCaptureController.h"
#include "capture/CScreenCaptureTool.h"
#include "frame/CUndoStack.h"
#include "images/CImageListModel.h"

using Shape = CCanvasDrawingGestures::EShape;

CImageView2DController::CImageView2DController(CImageListModel* pImageListModel, CDrawableObjectModel* pObjectModel,
                                               CImageViewModeModel* pModeModel, CImageView2D* pCanvas,
                                               QScrollArea* pToolArea, QScrollArea* pPropertyArea,
                                               QScrollArea* pBottomArea, QObject* parent)
    : CController(parent), m_pImageListModel(pImageListModel), m_pObjectModel(pObjectModel), m_pModeModel(pModeModel),
      m_pCanvas(pCanvas), m_pPanels(std::make_unique<CCanvasPanels>(pModeModel, pToolArea, pPropertyArea, pBottomArea)),
      m_pUndoStack(std::make_unique<CUndoStack>()),
      m_pHistories(std::make_unique<CCanvasHistories>(m_pUndoStack.get(), pObjectModel)),
      m_pSelection(std::make_unique<CCanvasSelectionGestures>(pCanvas, pObjectModel, pModeModel, m_pUndoStack.get())),
      m_pDrawing(std::make_unique<CCanvasDrawingGestures>(pCanvas, pObjectModel, pModeModel, m_pUndoStack.get())),
      m_pImageCommands(
          std::make_unique<CCanvasImageCommands>(pImageListModel, pObjectModel, pCanvas, m_pUndoStack.get(), this)),
      m_pCaptureTool(std::make_unique<CScreenCaptureTool>(this))
{
    ConnectCanvas();
    ConnectToolPanel();
    // A grabbed rectangle becomes the current image, and the clipboard's.
    CScreenCaptureController* pCapture = m_pCaptureTool->GetController();
    connect(pCapture, &CScreenCaptureController::signal_RestoreMainWindow, this, [this]() { ShowMainWindow(true); });
    connect(pCapture, &CScreenCaptureController::signal_Captured, this, &CImageView2DController::PushImage);
    connect(pCapture, &CScreenCaptureController::signal_Captured, this, &CImageView2DController::slot_Copy);
    if (pImageListModel)
        connect(pImageListModel, &CImageListModel::signal_ChangeCurrentImage, this,
                &CImageView2DController::slot_ChangeCurrentImage);
}

CImageView2DController::~CImageView2DController()
{
    m_pCaptureTool.reset();
    m_pPanels.reset();
    // The undo steps hold pointers to this controller and to the object model: they go before either.
    m_pHistories.reset();
    m_pUndoStack.reset();
}

void CImageView2DController::ConnectCanvas()
{
    CImageView2D* pCanvas = m_pCanvas.data();
    if (!pCanvas)
        return;
    using C = CImageView2DController;
    using V = CImageView2D;
    connect(pCanvas, &V::signal_Active, this, &C::slot_Active);
    connect(pCanvas, &V::signal_LoadImage, this, &C::slot_LoadImage);
    connect(pCanvas, &V::signal_LoadPdf, this, &C::slot_LoadPdf);
    connect(pCanvas, &V::signal_SaveImage, this, &C::slot_SaveImage);
    connect(pCanvas, &V::signal_CloseImage, this, &C::slot_CloseImage);
    connect(pCanvas, &V::signal_Copy, this, &C::slot_Copy);
    connect(pCanvas, &V::signal_Paste, this, &C::slot_Paste);
    // Queued: the image list announces the position after the canvas's mouse handler has finished.
    connect(pCanvas, &V::signal_ChangeMousePosition, this, &C::slot_ChangeMousePosition, Qt::QueuedConnection);
    connect(pCanvas, &V::signal_PressKey, this, &C::slot_PressKey);
    connect(pCanvas, &V::signal_MoveSelectionBy, this, [this](const QPointF& d) { m_pSelection->MoveSelectionBy(d); });
    connect(pCanvas, &V::signal_Undo, this, &C::slot_Undo);
    connect(pCanvas, &V::signal_Redo, this, &C::slot_Redo);
    connect(pCanvas, &V::signal_SelectMovingStart, this, &C::slot_SelectMovingStart);
    connect(pCanvas, &V::signal_SelectMovingDoing, this, &C::slot_SelectMovingDoing);
    connect(pCanvas, &V::signal_SelectMovingEnd, this, &C::slot_SelectMovingEnd);
    connect(pCanvas, &V::signal_DrawRectangleStart, this, &C::slot_DrawRectangleStart);
    connect(pCanvas, &V::signal_DrawRectangleDoing, this, &C::slot_DrawRectangleDoing);
    connect(pCanvas, &V::signal_DrawRectangleEnd, this, &C::slot_DrawRectangleEnd);
    connect(pCanvas, &V::signal_DrawEllipseStart, this, &C::slot_DrawEllipseStart);
    connect(pCanvas, &V::signal_DrawEllipseDoing, this, &C::slot_DrawEllipseDoing);
    connect(pCanvas, &V::signal_DrawEllipseEnd, this, &C::slot_DrawEllipseEnd);
    connect(pCanvas, &V::signal_DrawPolygonStart, this, &C::slot_DrawPolygonStart);
    connect(pCanvas, &V::signal_DrawPolygonDoing, this, &C::slot_DrawPolygonDoing);
    connect(pCanvas, &V::signal_DrawPolygonEnd, this, &C::slot_DrawPolygonEnd);
    connect(pCanvas, &V::signal_DrawPolygonWaiting, this, &C::slot_DrawPolygonWaiting);
    connect(pCanvas, &V::signal_DrawCircleStart, this, &C::slot_DrawCircleStart);
    connect(pCanvas, &V::signal_DrawCircleDoing, this, &C::slot_DrawCircleDoing);
    connect(pCanvas, &V::signal_DrawCircleEnd, this, &C::slot_DrawCircleEnd);
    connect(pCanvas, &V::signal_DrawLineStart, this, &C::slot_DrawLineStart);
    connect(pCanvas, &V::signal_DrawLineDoing, this, &C::slot_DrawLineDoing);
    connect(pCanvas, &V::signal_DrawLineEnd, this, &C::slot_DrawLineEnd);
    connect(pCanvas, &V::signal_CheckResizeRotate, this, &C::slot_CheckResizeRotate);
    connect(pCanvas, &V::signal_SelectResizeStart, this, &C::slot_SelectResizeStart);
    connect(pCanvas, &V::signal_SelectResizeDoing, this, &C::slot_SelectResizeDoing);
    connect(pCanvas, &V::signal_SelectResizeEnd, this, &C::slot_SelectResizeEnd);
    connect(pCanvas, &V::signal_ShowContextMenu, this, &C::slot_ShowContextMenu);
    connect(pCanvas, &V::signal_DeleteDrawableObject, this, &C::slot_DeleteDrawableObject);
    connect(pCanvas, &V::signal_AddImage, this, &C::slot_AddImageDragDrop);
}

void CImageView2DController::ConnectToolPanel()
{
    using C = CImageView2DController;
    using P = CImageView2DToolPanel;
    CImageView2DToolPanel* pToolPanel = m_pPanels->GetToolPanel();
    connect(pToolPanel, &P::signal_SelectMode, this, &C::slot_ChangeSelectMode);
    connect(pToolPanel, &P::signal_PanningMode, this, &C::slot_ChangePanningMode);
    connect(pToolPanel, &P::signal_ROIRectangleSelected, this, &C::slot_SelectROIRectangle);
    connect(pToolPanel, &P::signal_ROICircleSelected, this, &C::slot_SelectROICircle);
    connect(pToolPanel, &P::signal_ROIEllipseSelected, this, &C::slot_SelectROIEllipse);
    connect(pToolPanel, &P::signal_ROIPolygonSelected, this, &C::slot_SelectROIPolygon);
}

CImageView2DToolPanel* CImageView2DController::GetToolPanel() const
{
    return m_pPanels->GetToolPanel();
}

CDrawableObjectPanel* CImageView2DController::GetObjectPanel() const
{
    return m_pPanels->GetObjectPanel();
}

CImageView2DSidePanel* CImageView2DController::GetSidePanel() const
{
    return m_pPanels->GetSidePanel();
}

void CImageView2DController::AddObject(std::shared_ptr<CDrawableObject> pObject)
{
    if (!m_pObjectModel)
        return;
    m_pObjectModel->DeselectAll();
    m_pObjectModel->AddObject(std::move(pObject));
}

void CImageView2DController::RemoveObject(std::shared_ptr<CDrawableObject> pObject)
{
    if (m_pObjectModel)
        m_pObjectModel->DeleteObject(pObject);
}

bool CImageView2DController::DeleteObject(unsigned int nUID)
{
    return m_pObjectModel && m_pObjectModel->DeleteObject(nUID);
}

bool CImageView2DController::RelabelObjects(const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects,
                                            const QString& strName)
{
    return m_pSelection->Relabel(vctObjects, strName);
}

std::vector<std::shared_ptr<CDrawableObject>> CImageView2DController::SelectedObjects() const
{
    return m_pSelection->Selected();
}

void CImageView2DController::OpenFile(const QString& strPath)
{
    m_pImageCommands->OpenFile(strPath);
}

void CImageView2DController::SaveImageAs(const QString& strPath)
{
    m_pImageCommands->SaveImageAs(strPath);
}

void CImageView2DController::ApplyImage(std::shared_ptr<Ovrel::Utils::COvrelImage> pImage)
{
    m_pImageCommands->ApplyImage(pImage);
}

void CImageView2DController::PushImage(std::shared_ptr<Ovrel::Utils::COvrelImage> pImage)
{
    m_pImageCommands->PushImage(pImage);
}

void CImageView2DController::ShowMainWindow(bool bMaximise)
{
    if (m_pCanvas)
        CScreenCaptureTool::ShowMainWindow(bMaximise);
}

bool CImageView2DController::Undo()
{
    if (!m_pCanvas || !m_pCanvas->hasFocus())
        return false;
    m_pUndoStack->Undo();
    return true;
}

bool CImageView2DController::Redo()
{
    if (!m_pCanvas || !m_pCanvas->hasFocus())
        return false;
    m_pUndoStack->Redo();
    return true;
}

void CImageView2DController::RepaintCanvas()
{
    if (m_pCanvas)
        m_pCanvas->update();
}

CScreenCaptureDlg* CImageView2DController::GetCaptureDialog() const
{
    return m_pCaptureTool->GetDialog();
}

std::shared_ptr<Ovrel::Utils::COvrelImage> CImageView2DController::GetCurrentImage() const
{
    return m_pImageListModel ? m_pImageListModel->GetCurrentImage() : nullptr;
}

void CImageView2DController::ReplaceCurrentImage(std::shared_ptr<Ovrel::Utils::COvrelImage> pImage)
{
    m_bReplacingImage = true;
    m_pImageCommands->ReplaceCurrentImage(pImage);
    m_bReplacingImage = false;
}

void CImageView2DController::slot_ChangeCurrentImage()
{
    // Any other change shows another image (another file, page or paste): no command made so far may apply to it.
    if (!m_bReplacingImage)
        m_pHistories->Leave();
}

bool CImageView2DController::AreObjectsBoundToCurrentImage() const
{
    return m_pImageCommands->AreObjectsBoundToCurrentImage();
}

void CImageView2DController::slot_Active()
{
    m_pPanels->Show();
}

void CImageView2DController::slot_ChangeMousePosition(const QPointF& point)
{
    if (m_pImageListModel)
        m_pImageListModel->SetMousePosition(point);
}

void CImageView2DController::slot_LoadImage()
{
    m_pImageCommands->LoadImage();
}

void CImageView2DController::slot_LoadPdf()
{
    m_pImageCommands->LoadPdf();
}

void CImageView2DController::slot_LoadFile()
{
    m_pImageCommands->LoadFiles();
}

void CImageView2DController::slot_AddImage()
{
    m_pImageCommands->AddImages();
}

void CImageView2DController::slot_AddImageDragDrop(QString strFile)
{
    m_pImageCommands->AddImageFile(strFile);
}

void CImageView2DController::slot_SaveImage()
{
    m_pImageCommands->SaveImage();
}

void CImageView2DController::slot_CloseImage()
{
    m_pImageCommands->CloseImage();
}

void CImageView2DController::slot_Copy()
{
    m_pImageCommands->Copy();
}

void CImageView2DController::slot_Paste()
{
    m_pImageCommands->Paste();
}

void CImageView2DController::slot_Previous()
{
    m_pImageCommands->Previous();
}

void CImageView2DController::slot_Next()
{
    m_pImageCommands->Next();
}

void CImageView2DController::slot_SelectImage(int nIndex)
{
    m_pImageCommands->SelectImage(nIndex);
}

void CImageView2DController::slot_ClearImage()
{
    m_pImageCommands->ClearImages();
}

void CImageView2DController::slot_RotateLeft()
{
    m_pImageCommands->RotateLeft();
}

void CImageView2DController::slot_RotateRight()
{
    m_pImageCommands->RotateRight();
}

void CImageView2DController::slot_OpenSnipTool()
{
    ShowMainWindow(false);
    m_pCaptureTool->Open();
}

void CImageView2DController::SetMode(int nMode)
{
    if (m_pModeModel && m_pCanvas)
        m_pModeModel->SetMode(static_cast<CImageViewModeModel::EImageView2DMode>(nMode));
}

void CImageView2DController::SetDrawingMode(int nMode)
{
    if (m_pCanvas && m_pCanvas->isVisible())
        SetMode(nMode);
}

void CImageView2DController::slot_DrawRuler()
{
    SetDrawingMode(CImageViewModeModel::EImageView2DMode_Drawing_Line);
}

void CImageView2DController::slot_SelectROIRectangle()
{
    SetDrawingMode(CImageViewModeModel::EImageView2DMode_Drawing_Rectanlge);
}

void CImageView2DController::slot_SelectROICircle()
{
    SetDrawingMode(CImageViewModeModel::EImageView2DMode_Drawing_Circle);
}

void CImageView2DController::slot_SelectROIEllipse()
{
    SetDrawingMode(CImageViewModeModel::EImageView2DMode_Drawing_Ellipse);
}

void CImageView2DController::slot_SelectROIPolygon()
{
    SetDrawingMode(CImageViewModeModel::EImageView2DMode_Drawing_Polygon);
}

void CImageView2DController::slot_PressKey(int nKey)
{
    if (nKey == Qt::Key_Escape)
        m_pDrawing->Cancel();
    m_pSelection->PressKey(nKey);
}

void CImageView2DController::slot_Undo()
{
    Undo();
}

void CImageView2DController::slot_Redo()
{
    Redo();
}

void CImageView2DController::slot_ChangeSelectMode()
{
    SetMode(CImageViewModeModel::EImageView2DMode_Selecting);
}

void CImageView2DController::slot_ChangePanningMode()
{
    SetMode(CImageViewModeModel::EImageView2DMode_Panning);
}

void CImageView2DController::slot_SelectMovingStart(const QPointF& point)
{
    m_pSelection->Start(point);
}

void CImageView2DController::slot_SelectMovingDoing(const QPointF& pointStart, const QPointF& pointEnd)
{
    m_pSelection->Doing(pointStart, pointEnd);
}

void CImageView2DController::slot_SelectMovingEnd(const QPointF& pointStart, const QPointF& pointEnd)
{
    m_pSelection->End(pointStart, pointEnd);
}

void CImageView2DController::slot_DrawRectangleStart(const QPointF& pointStart)
{
    m_pDrawing->ShapeStart(Shape::EShape_Rectangle, pointStart);
}

void CImageView2DController::slot_DrawRectangleDoing(const QPointF& pointStart, const QPointF& pointEnd)
{
    m_pDrawing->ShapeDoing(Shape::EShape_Rectangle, pointStart, pointEnd);
}

void CImageView2DController::slot_DrawRectangleEnd(const QPointF& pointStart, const QPointF& pointEnd)
{
    m_pDrawing->ShapeEnd(Shape::EShape_Rectangle, pointStart, pointEnd);
}

void CImageView2DController::slot_DrawEllipseStart(const QPointF& pointStart)
{
    m_pDrawing->ShapeStart(Shape::EShape_Ellipse, pointStart);
}

void CImageView2DController::slot_DrawEllipseDoing(const QPointF& pointStart, const QPointF& pointEnd)
{
    m_pDrawing->ShapeDoing(Shape::EShape_Ellipse, pointStart, pointEnd);
}

void CImageView2DController::slot_DrawEllipseEnd(const QPointF& pointStart, const QPointF& pointEnd)
{
    m_pDrawing->ShapeEnd(Shape::EShape_Ellipse, pointStart, pointEnd);
}

void CImageView2DController::slot_DrawCircleStart(const QPointF& pointStart)
{
    m_pDrawing->ShapeStart(Shape::EShape_Circle, pointStart);
}

void CImageView2DController::slot_DrawCircleDoing(const QPointF& pointStart, const QPointF& pointEnd)
{
    m_pDrawing->ShapeDoing(Shape::EShape_Circle, pointStart, pointEnd);
}

void CImageView2DController::slot_DrawCircleEnd(const QPointF& pointStart, const QPointF& pointEnd)
{
    m_pDrawing->ShapeEnd(Shape::EShape_Circle, pointStart, pointEnd);
}

void CImageView2DController::slot_DrawPolygonStart(const QPointF& pointStart)
{
    m_pDrawing->PolygonStart(pointStart);
}

void CImageView2DController::slot_DrawPolygonDoing(const QPointF& /*pointStart*/, const QPointF& pointEnd)
{
    m_pDrawing->PolygonDoing(pointEnd);
}

void CImageView2DController::slot_DrawPolygonEnd(const QPointF& /*pointStart*/, const QPointF& pointEnd)
{
    m_pDrawing->PolygonEnd(pointEnd);
}

void CImageView2DController::slot_DrawPolygonWaiting(const QPointF& pointEnd)
{
    m_pDrawing->PolygonWaiting(pointEnd);
}

void CImageView2DController::slot_DrawLineStart(const QPointF& pointStart)
{
    m_pDrawing->ShapeStart(Shape::EShape_Ruler, pointStart);
}

void CImageView2DController::slot_DrawLineDoing(const QPointF& pointStart, const QPointF& pointEnd)
{
    m_pDrawing->ShapeDoing(Shape::EShape_Ruler, pointStart, pointEnd);
}

void CImageView2DController::slot_DrawLineEnd(const QPointF& pointStart, const QPointF& pointEnd)
{
    m_pDrawing->ShapeEnd(Shape::EShape_Ruler, pointStart, pointEnd);
}

void CImageView2DController::slot_CheckResizeRotate(const QPointF& point)
{
    m_pSelection->CheckResize(point);
}

void CImageView2DController::slot_ShowContextMenu(QPointF pos)
{
    m_pSelection->ShowContextMenu(pos);
}

void CImageView2DController::slot_DeleteDrawableObject()
{
    m_pSelection->DeleteSelection();
}
