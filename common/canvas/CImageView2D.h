#pragma once

#include "canvas/CDrawableLayer.h"

#include <QImage>
#include <QMutex>
#include <QPointF>
#include <QRect>
#include <QSizeF>

#include <functional>
#include <map>
#include <memory>

class CDrawableObjectModel;
class CDrawingObjectLayer;
class CImageView2DMenus;
class CProposalLayer;
class CImageListModel;
class QAction;
class QIcon;
class QMenu;

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// The widget side of a 2D canvas: shows the current image of a viewer's image list, zooms, pans and shows pixel
// values, paints the drawable objects over the image, and turns mouse, wheel, key and drop events into intent signals
// in image coordinates. It decides nothing: the canvas controller does.
//
// Points in signals are image coordinates. Every Start signal carries the press point; every Doing and End signal
// carries the press point and the current (End: release) point. A release at the press point emits an End signal in
// polygon mode only: a click there adds a vertex, in the other modes it has nothing to finish. Escape ends the
// gesture of a held button: its release emits nothing.
//
// Proposals (CProposalLayer) are shown above the objects and are no objects: in selecting mode a press on one where
// no object lies selects it, a double-click on one or Enter on the selected one asks for its acceptance, Ctrl+Enter
// for the acceptance of all, Delete or Backspace on the selected one for its rejection (the selected boxes then stay),
// and Escape, when no drawing is in progress, for clearing them all; what happens to them is the controller's.
class OVRELCOMMON_EXPORT CImageView2D : public CDrawableLayer
{
    Q_OBJECT
public:
    // Models are not owned; any may be null. The view ID names the viewer that owns the canvas.
    CImageView2D(CImageListModel* pImageListModel, CDrawableObjectModel* pObjectModel, CImageViewModeModel* pModeModel,
                 int nViewID, QWidget* parent = nullptr);
    ~CImageView2D() override;

    int GetViewID() const { return m_nViewID; }
    std::shared_ptr<Ovrel::Utils::COvrelImage> GetCurrentImage() const;
    // The image as shown: converted once per image change, never per paint. It shares the library image's pixel
    // buffer and keeps it alive while shown, even when the library image is destroyed or moves to a new buffer.
    QImage GetDisplayImage() const;

    // Screen (widget) point to image point and back, through the current viewport and window. Without an image the
    // window is empty and there is no scale: every point then maps to the origin of the other side, so gestures
    // made meanwhile carry finite points without extent.
    QPointF MapToImage(const QPointF& screenPoint) const;
    QPointF MapToScreen(const QPointF& imagePoint) const;
    // Screen pixels per image pixel (viewport width / window width); 0 while the window is empty.
    double GetDisplayScale() const;
    // The zoom factor over the fitted size (1.0 at fit).
    double GetScale() const { return m_dblScale; }

    CDrawingObjectLayer* GetDrawingObjectLayer() const { return m_pDrawingObjectLayer; }
    CProposalLayer* GetProposalLayer() const { return m_pProposalLayer; }
    QMenu* GetImageMenu() const;
    QMenu* GetObjectMenu() const;

    // Run the image menu, or the object menu for the object with that UID, at an image point.
    void ShowImageMenu(const QPointF& point);
    void ShowObjectMenu(const QPointF& point, unsigned int nUID);
    // Adds an entry to the object menu; when chosen, the callback gets (view ID, UID of the object whose menu is open).
    QAction* AddObjectAction(const QString& strText, const QIcon& icon,
                             const std::function<void(int, unsigned int)>& callback);

    void DrawBackground(QPainter* pPainter) override;

signals:
    void signal_Active();
    void signal_LoadImage();
    void signal_LoadPdf();
    void signal_SaveImage();
    void signal_CloseImage();
    void signal_Copy();
    void signal_Paste();
    void signal_ChangeMousePosition(const QPointF& mousePos);
    void signal_PressKey(int nKey);
    // An arrow key: the selection is to move by the offset in image pixels (one, ten with Shift).
    void signal_MoveSelectionBy(const QPointF& offset);
    void signal_Undo();
    void signal_Redo();
    void signal_SelectMovingStart(const QPointF& pointStart);
    void signal_SelectMovingDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_SelectMovingEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_DrawRectangleStart(const QPointF& pointStart);
    void signal_DrawRectangleDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_DrawRectangleEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_DrawEllipseStart(const QPointF& pointStart);
    void signal_DrawEllipseDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_DrawEllipseEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_DrawPolygonStart(const QPointF& pointStart);
    void signal_DrawPolygonDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_DrawPolygonEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_DrawPolygonWaiting(const QPointF& pointEnd);
    void signal_DrawCircleStart(const QPointF& pointStart);
    void signal_DrawCircleDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_DrawCircleEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_DrawLineStart(const QPointF& pointStart);
    void signal_DrawLineDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_DrawLineEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_CheckResizeRotate(const QPointF& point);
    // Declared for resize gestures of their own; never emitted (resizing runs through the select signals).
    void signal_SelectResizeStart(const QPointF& pointStart);
    void signal_SelectResizeDoing(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_SelectResizeEnd(const QPointF& pointStart, const QPointF& pointEnd);
    void signal_ShowContextMenu(QPointF point);
    void signal_DeleteDrawableObject();
    // Declared; never emitted.
    void signal_CopyDrawableObject();
    void signal_PasteDrawableObject();
    // Once per local file dropped on the canvas.
    void signal_AddImage(QString strFile);
    void signal_Switch2DTo3D();
    // Intents on the shown proposals, by the IDs the proposals were shown with.
    void signal_AcceptProposal(int nID);
    void signal_AcceptAllProposals();
    void signal_RejectProposal(int nID);
    void signal_ClearProposals();

public slots:
    void slot_ShowContextMenu(QPoint pos);
    void slot_ChangeCurrentImage();
    void slot_ChangeDrawableObjectProperty(uint nUID);
    void slot_DeleteDrawableObject(uint nUID, QString strName);
    void slot_ClearObject();
    void slot_AddDrawableObject(uint nUID, QString strName);
    void slot_ZoomFit();
    void slot_Goto();

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;

private:
    // Places the image in the widget from the view state: fit, zoom about the anchors, pan offset.
    void UpdateViewport();
    // The image's size scaled into the widget, keeping its aspect ratio; (0, 0) without an image.
    QSizeF FittedSize() const;
    // The image pixels that reach into the widget, and a margin around them, clamped to the image.
    QRect VisibleSource(const QRect& viewport, double sx, double sy) const;
    // Clear, then every object of the model in model order.
    void RebuildObjects();
    // The point of the screen where an image point lies.
    QPoint GlobalPoint(const QPointF& point) const;
    // The proposal under the image point in selecting mode where no object lies, -1 otherwise: boxes come first.
    int ProposalUnder(const QPointF& point) const;
    // The proposal keys (Enter, Ctrl+Enter, Delete on a selected proposal); true when the key was one of them.
    bool PressProposalKey(QKeyEvent* pEvent);
    // The gesture signals of a mode: all null for panning.
    struct SModeSignals
    {
        void (CImageView2D::*start)(const QPointF&);
        void (CImageView2D::*doing)(const QPointF&, const QPointF&);
        void (CImageView2D::*end)(const QPointF&, const QPointF&);
    };
    static const SModeSignals* ModeSignals(int nMode);

    QImage m_image;
    QPointF m_anchorFitted;
    QPointF m_anchorScreen;
    QPointF m_crossPoint;
    double m_dblScale = 1.0;
    QSizeF m_offset;
    CImageView2DMenus* m_pMenus = nullptr;
    CImageListModel* m_pImageListModel = nullptr;
    CDrawableObjectModel* m_pObjectModel = nullptr;
    CDrawingObjectLayer* m_pDrawingObjectLayer = nullptr;
    CProposalLayer* m_pProposalLayer = nullptr;
    bool m_bLeftPressed = false;
    bool m_bRightPressed = false;
    QPoint m_lastMousePosition;
    std::shared_ptr<Ovrel::Utils::COvrelImage> m_pCurrentImage;
    int m_nViewID = 0;
    bool m_bMoving = false;
    mutable QMutex m_imageLock;
};
