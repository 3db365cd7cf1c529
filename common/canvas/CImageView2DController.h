#pragma once

#include "OvrelCommonGlobal.h"
#include "canvas/ICanvasController.h"
#include "frame/CController.h"

#include <QPointF>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class CCanvasDrawingGestures;
class CCanvasHistories;
class CCanvasPanels;
class CCanvasImageCommands;
class CCanvasSelectionGestures;
class CDrawableObject;
class CDrawableObjectModel;
class CDrawableObjectPanel;
class CImageListModel;
class CImageView2D;
class CImageView2DSidePanel;
class CImageView2DToolPanel;
class CImageViewModeModel;
class CScreenCaptureDlg;
class CScreenCaptureTool;
class CUndoStack;
class QScrollArea;

// The controller of one 2D canvas: turns the canvas's intent signals into changes of its drawable objects (each
// committed change an undo step on its own stack) and into image commands on its viewer's image list. It owns the
// canvas's tool panel, object panel and side widget, and shows them in the workspace's three shared side areas when
// its canvas becomes active.
//
// The slots delegate to the selection gestures, the drawing gestures and the image commands; the controller itself
// only wires, guards and switches modes.
class OVRELCOMMON_EXPORT CImageView2DController : public CController, public ICanvasController
{
    Q_OBJECT
public:
    // Nothing given is owned; any pointer may be null, and what needs it then does nothing. The three areas are the
    // workspace's tool, property and bottom areas.
    CImageView2DController(CImageListModel* pImageListModel, CDrawableObjectModel* pObjectModel,
                           CImageViewModeModel* pModeModel, CImageView2D* pCanvas, QScrollArea* pToolArea,
                           QScrollArea* pPropertyArea, QScrollArea* pBottomArea, QObject* parent = nullptr);
    ~CImageView2DController() override;

    // Deselects every object, then adds the object (which selects it); no undo step.
    void AddObject(std::shared_ptr<CDrawableObject> pObject);
    void RemoveObject(std::shared_ptr<CDrawableObject> pObject);
    // The object model's delete by UID.
    bool DeleteObject(unsigned int nUID);

    // Gives the objects the name as one undo step (a relabel of one box or of the whole selection); objects named so
    // already are left out. False, pushing nothing, when no object changes.
    bool RelabelObjects(const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects, const QString& strName);
    // The selected objects in list order.
    std::vector<std::shared_ptr<CDrawableObject>> SelectedObjects() const;

    // Opens a file (images or PDF pages) in place of all images and clears the objects; see CCanvasImageCommands.
    void OpenFile(const QString& strPath);
    void SaveImageAs(const QString& strPath);
    // Replaces the current image as one undo step.
    void ApplyImage(std::shared_ptr<Ovrel::Utils::COvrelImage> pImage);
    // Appends the image and makes it current.
    void PushImage(std::shared_ptr<Ovrel::Utils::COvrelImage> pImage);
    // Maximises (true) or minimises (false) the first registered main window; nothing without a canvas.
    void ShowMainWindow(bool bMaximise);

    // Undo and redo run only while the canvas has the keyboard focus, so that another view's edit is not taken back.
    bool Undo() override;
    bool Redo() override;

    CDrawableObjectModel* GetDrawableObjectModel() const override { return m_pObjectModel; }
    void RepaintCanvas() override;
    std::shared_ptr<Ovrel::Utils::COvrelImage> GetCurrentImage() const override;
    void ReplaceCurrentImage(std::shared_ptr<Ovrel::Utils::COvrelImage> pImage) override;
    bool AreObjectsBoundToCurrentImage() const override;

    CUndoStack* GetUndoStack() const { return m_pUndoStack.get(); }
    // The histories of the images this canvas has shown. Whenever the viewer's current image changes other than
    // through an undo step of its own (a filter, a rotation), the live history leaves with the image it was made on.
    CCanvasHistories* GetHistories() const { return m_pHistories.get(); }
    CImageView2DToolPanel* GetToolPanel() const;
    CDrawableObjectPanel* GetObjectPanel() const;
    CImageView2DSidePanel* GetSidePanel() const;
    CCanvasSelectionGestures* GetSelectionGestures() const { return m_pSelection.get(); }
    CCanvasDrawingGestures* GetDrawingGestures() const { return m_pDrawing.get(); }
    CCanvasImageCommands* GetImageCommands() const { return m_pImageCommands.get(); }
    CScreenCaptureDlg* GetCaptureDialog() const;

public slots:
    void slot_Active();
    void slot_ChangeMousePosition(const QPointF& point);
    void slot_LoadImage();
    void slot_LoadPdf();
    void slot_LoadFile();
    void slot_AddImage();
    void slot_AddImageDragDrop(QString strFile);
    void slot_SaveImage();
    void slot_CloseImage();
    void slot_Copy();
    void slot_Paste();
    void slot_Previous();
    void slot_Next();
    void slot_SelectImage(int nIndex);
    void slot_ClearImage();
    void slot_RotateLeft();
    void slot_RotateRight();
    // Opens the screen-capture tool: the main window is minimised and the capture dialog covers the primary screen
    // until a dragged rectangle becomes the viewer's new current image (and the clipboard's), or Escape ends it.
    void slot_OpenSnipTool();
    void slot_DrawRuler();
    void slot_SelectROIRectangle();
    void slot_SelectROICircle();
    void slot_SelectROIEllipse();
    void slot_SelectROIPolygon();
    void slot_PressKey(int nKey);
    void slot_Undo();
    void slot_Redo();
    void slot_ChangeSelectMode();
    void slot_ChangePanningMode();
    void slot_SelectMovingStart(const QPointF& point);
    void slot_SelectMovingDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void slot_SelectMovingEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void slot_DrawRectangleStart(const QPointF& pointStart);
    void slot_DrawRectangleDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void slot_DrawRectangleEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void slot_DrawEllipseStart(const QPointF& pointStart);
    void slot_DrawEllipseDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void slot_DrawEllipseEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void slot_DrawCircleStart(const QPointF& pointStart);
    void slot_DrawCircleDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void slot_DrawCircleEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void slot_DrawPolygonStart(const QPointF& pointStart);
    void slot_DrawPolygonDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void slot_DrawPolygonEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void slot_DrawPolygonWaiting(const QPointF& pointEnd);
    void slot_DrawLineStart(const QPointF& pointStart);
    void slot_DrawLineDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void slot_DrawLineEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void slot_CheckResizeRotate(const QPointF& point);
    // Resizing runs through the select slots; these receive the canvas's unused resize signals and do nothing.
    void slot_SelectResizeStart(const QPointF& /*pointStart*/) {}
    void slot_SelectResizeDoing(const QPointF& /*pointStart*/, const QPointF& /*pointEnd*/) {}
    void slot_SelectResizeEnd(const QPointF& /*pointStart*/, const QPointF& /*pointEnd*/) {}
    void slot_ShowContextMenu(QPointF pos);
    void slot_DeleteDrawableObject();

private slots:
    void slot_ChangeCurrentImage();

private:
    void ConnectCanvas();
    void ConnectToolPanel();
    // Drawing modes are chosen only on a canvas the user can see.
    void SetDrawingMode(int nMode);
    void SetMode(int nMode);

    CImageListModel* m_pImageListModel;
    CDrawableObjectModel* m_pObjectModel;
    CImageViewModeModel* m_pModeModel;
    QPointer<CImageView2D> m_pCanvas;
    // The tool, object and side panels and the areas that show them.
    std::unique_ptr<CCanvasPanels> m_pPanels;
    std::unique_ptr<CUndoStack> m_pUndoStack;
    std::unique_ptr<CCanvasHistories> m_pHistories;
    // Set while an undo command of this canvas replaces the current image: the history stays with it.
    bool m_bReplacingImage = false;
    std::unique_ptr<CCanvasSelectionGestures> m_pSelection;
    std::unique_ptr<CCanvasDrawingGestures> m_pDrawing;
    std::unique_ptr<CCanvasImageCommands> m_pImageCommands;
    // The snip tool's model, dialog and controller.
    std::unique_ptr<CScreenCaptureTool> m_pCaptureTool;
};
