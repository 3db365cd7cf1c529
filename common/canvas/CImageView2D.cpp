#include "canvas/CImageView2D.h"

#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CDrawingObjectLayer.h"
#include "canvas/CImageView2DGotoDialog.h"
#include "canvas/CImageView2DMenus.h"
#include "canvas/CImageViewModeModel.h"
#include "canvas/CPixelGridPainter.h"
#include "canvas/CProposalLayer.h"
#include "frame/CPrompt.h"
#include "images/CImageListModel.h"
#include "imaging/ImageConversion.h"

#include "Utils/COvrelImage.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QMutexLocker>
#include <QPainter>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using Ovrel::Utils::COvrelImage;
using Mode = CImageViewModeModel::EImageView2DMode;

namespace
{
// Far beyond any screen, yet safe to add to and to convert to int: zooming stops before the image gets this large.
constexpr double kMaxViewportExtent = 1 << 28;
// Image pixels drawn beyond the visible part on each side, so that a pixel cut by the widget edge is still drawn.
constexpr int kSourceMargin = 4;
// Screen pixels per image pixel from which the pixel grid and values are shown.
constexpr double kGridScale = 50.0;

int Whole(double dblValue)
{
    return static_cast<int>(std::max(-kMaxViewportExtent, std::min(kMaxViewportExtent, dblValue)));
}
} // namespace

CImageView2D::CImageView2D(CImageListModel* pImageListModel, CDrawableObjectModel* pObjectModel,
                           CImageViewModeModel* pModeModel, int nViewID, QWidget* parent)
    : CDrawableLayer(pModeModel, parent), m_pImageListModel(pImageListModel), m_pObjectModel(pObjectModel),
      m_nViewID(nViewID)
{
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &CImageView2D::slot_ShowContextMenu);
    m_pMenus = new CImageView2DMenus(this);

    // Thousands of objects must not be painted again for every crosshair step or rubber-band change above them.
    SetCachesObjects(true);
    // Below the drawing layer, so that a gesture in progress shows above the proposals.
    m_pProposalLayer = new CProposalLayer(this);
    m_pProposalLayer->setGeometry(rect());
    m_pDrawingObjectLayer = new CDrawingObjectLayer(m_pObjectModel, pModeModel, this);
    m_pDrawingObjectLayer->setGeometry(rect());

    if (m_pObjectModel)
    {
        connect(m_pObjectModel, &CDrawableObjectModel::signal_AddDrawableObject, this,
                &CImageView2D::slot_AddDrawableObject);
        connect(m_pObjectModel, &CDrawableObjectModel::signal_DeleteDrawableObject, this,
                &CImageView2D::slot_DeleteDrawableObject);
        connect(m_pObjectModel, &CDrawableObjectModel::signal_ChangeDrawableObjectProperty, this,
                &CImageView2D::slot_ChangeDrawableObjectProperty);
        connect(m_pObjectModel, &CDrawableObjectModel::signal_ClearObject, this, &CImageView2D::slot_ClearObject);
    }
    if (m_pImageListModel)
    {
        connect(m_pImageListModel, &CImageListModel::signal_ChangeCurrentImage, this,
                &CImageView2D::slot_ChangeCurrentImage);
        connect(m_pImageListModel, &CImageListModel::signal_ChangeCurrentIndex, this,
                &CImageView2D::slot_ChangeCurrentImage);
    }
    setFocusPolicy(Qt::WheelFocus);
    setAcceptDrops(true);
}

CImageView2D::~CImageView2D() = default;

std::shared_ptr<COvrelImage> CImageView2D::GetCurrentImage() const
{
    QMutexLocker locker(&m_imageLock);
    return m_pCurrentImage;
}

QImage CImageView2D::GetDisplayImage() const
{
    QMutexLocker locker(&m_imageLock);
    return m_image;
}

QPointF CImageView2D::MapToImage(const QPointF& screenPoint) const
{
    const QRect viewport = GetViewport();
    const QRect window = GetWindow();
    // Without a scale every screen point stands for the window's corner: finite, and the same for every point.
    if (viewport.isEmpty() || window.isEmpty())
        return QPointF(window.topLeft());
    return QPointF(window.left() + (screenPoint.x() - viewport.left()) * window.width() / viewport.width(),
                   window.top() + (screenPoint.y() - viewport.top()) * window.height() / viewport.height());
}

QPointF CImageView2D::MapToScreen(const QPointF& imagePoint) const
{
    const QRect viewport = GetViewport();
    const QRect window = GetWindow();
    if (viewport.isEmpty() || window.isEmpty())
        return QPointF(viewport.topLeft());
    return QPointF(viewport.left() + (imagePoint.x() - window.left()) * viewport.width() / window.width(),
                   viewport.top() + (imagePoint.y() - window.top()) * viewport.height() / window.height());
}

double CImageView2D::GetDisplayScale() const
{
    const QRect window = GetWindow();
    return window.width() > 0 ? static_cast<double>(GetViewport().width()) / window.width() : 0.0;
}

QSizeF CImageView2D::FittedSize() const
{
    const QSize imageSize = GetDisplayImage().size();
    if (imageSize.isEmpty() || width() <= 0 || height() <= 0)
        return QSizeF(0, 0);
    return QSizeF(imageSize).scaled(QSizeF(size()), Qt::KeepAspectRatio);
}

void CImageView2D::UpdateViewport()
{
    const QSizeF fitted = FittedSize();
    QRect viewport(Whole(m_offset.width() + width() / 2.0 - fitted.width() / 2.0),
                   Whole(m_offset.height() + height() / 2.0 - fitted.height() / 2.0),
                   Whole(fitted.width() * m_dblScale + 0.5), Whole(fitted.height() * m_dblScale + 0.5));
    // Keeps the fitted point m_anchorFitted under the screen point m_anchorScreen.
    const QPoint topLeft = viewport.topLeft();
    viewport.translate(Whole(m_anchorScreen.x() - (m_anchorFitted.x() - topLeft.x()) * m_dblScale - topLeft.x()),
                       Whole(m_anchorScreen.y() - (m_anchorFitted.y() - topLeft.y()) * m_dblScale - topLeft.y()));
    const QSize imageSize = GetDisplayImage().size();
    // Without an image there is no window: nothing is drawn and no point is mapped to a pixel.
    const QRect window = imageSize.isEmpty() ? QRect() : QRect(QPoint(0, 0), imageSize);
    SetViewport(viewport);
    SetWindow(window);
    m_pDrawingObjectLayer->SetViewport(viewport);
    m_pDrawingObjectLayer->SetWindow(window);
    m_pProposalLayer->SetMapping(viewport, window);
}

void CImageView2D::DrawBackground(QPainter* pPainter)
{
    if (!pPainter)
        return;
    QMutexLocker locker(&m_imageLock);
    pPainter->save();
    pPainter->resetTransform();
    pPainter->setViewTransformEnabled(false);
    pPainter->fillRect(rect(), QColor(120, 120, 120));
    const QRect viewport = GetViewport();
    const QRect window = GetWindow();
    if (!m_pCurrentImage || m_image.width() <= 0 || m_image.height() <= 0 || viewport.isEmpty() || window.isEmpty())
    {
        pPainter->restore();
        return;
    }

    const double sx = static_cast<double>(viewport.width()) / m_image.width();
    const double sy = static_cast<double>(viewport.height()) / m_image.height();
    const QRect source = VisibleSource(viewport, sx, sy);
    if (!source.isEmpty())
    {
        pPainter->setViewTransformEnabled(true);
        pPainter->setViewport(viewport);
        pPainter->setWindow(window);
        pPainter->drawImage(QRectF(source), m_image, QRectF(source));
        pPainter->setViewTransformEnabled(false);
    }

    if (m_bMoving)
    {
        pPainter->setPen(QPen(QColor(0, 100, 255), 1));
        const int nCrossX = static_cast<int>(m_crossPoint.x());
        const int nCrossY = static_cast<int>(m_crossPoint.y());
        pPainter->drawLine(0, nCrossY, width(), nCrossY);
        pPainter->drawLine(nCrossX, 0, nCrossX, height());
    }
    if (sx >= kGridScale && sy >= kGridScale && !source.isEmpty())
        CPixelGridPainter::Paint(*pPainter, m_image, source, QRectF(viewport), rect());
    pPainter->restore();
}

QRect CImageView2D::VisibleSource(const QRect& viewport, double sx, double sy) const
{
    const double dblLeft = (viewport.left() < 0 ? -viewport.left() : 0) / sx;
    const double dblTop = (viewport.top() < 0 ? -viewport.top() : 0) / sy;
    const int nLeft = std::max(0, static_cast<int>(std::floor(dblLeft)) - kSourceMargin);
    const int nTop = std::max(0, static_cast<int>(std::floor(dblTop)) - kSourceMargin);
    const int nRight = std::min(m_image.width(), static_cast<int>(std::ceil(dblLeft + width() / sx)) + kSourceMargin);
    const int nBottom = std::min(m_image.height(), static_cast<int>(std::ceil(dblTop + height() / sy)) + kSourceMargin);
    return QRect(QPoint(nLeft, nTop), QPoint(nRight - 1, nBottom - 1));
}

void CImageView2D::ShowImageMenu(const QPointF& point)
{
    m_pMenus->ExecImageMenu(GlobalPoint(point));
}

void CImageView2D::ShowObjectMenu(const QPointF& point, unsigned int nUID)
{
    m_pMenus->ExecObjectMenu(GlobalPoint(point), nUID);
}

QPoint CImageView2D::GlobalPoint(const QPointF& point) const
{
    const QPointF screen = MapToScreen(point);
    return mapToGlobal(QPoint(static_cast<int>(screen.x()), static_cast<int>(screen.y())));
}

QMenu* CImageView2D::GetImageMenu() const
{
    return m_pMenus->GetImageMenu();
}

QMenu* CImageView2D::GetObjectMenu() const
{
    return m_pMenus->GetObjectMenu();
}

QAction* CImageView2D::AddObjectAction(const QString& strText, const QIcon& icon,
                                       const std::function<void(int, unsigned int)>& callback)
{
    return m_pMenus->AddObjectAction(strText, icon, callback);
}

void CImageView2D::slot_ShowContextMenu(QPoint pos)
{
    emit signal_ShowContextMenu(MapToImage(QPointF(pos)));
}

void CImageView2D::slot_ChangeCurrentImage()
{
    {
        QMutexLocker locker(&m_imageLock);
        m_pCurrentImage = m_pImageListModel ? m_pImageListModel->GetCurrentImage() : nullptr;
        // The shared form keeps the pixels alive for as long as they are shown, whatever becomes of the image.
        QImage display;
        if (m_pCurrentImage)
            ImageToQImage(std::shared_ptr<const COvrelImage>(m_pCurrentImage), display);
        m_image = display;
    }
    slot_ZoomFit();
}

void CImageView2D::RebuildObjects()
{
    std::vector<std::shared_ptr<CDrawableObject>> vctObjects;
    if (m_pObjectModel)
    {
        vctObjects.reserve(static_cast<size_t>(m_pObjectModel->GetObjectCount()));
        for (int i = 0; i < m_pObjectModel->GetObjectCount(); ++i)
            vctObjects.push_back(m_pObjectModel->GetObject(i));
    }
    SetDrawableObjects(std::move(vctObjects));
}

void CImageView2D::slot_AddDrawableObject(uint nUID, QString)
{
    // The model puts a new object in front: when the painted list is the model's list without it, putting it in
    // front is the rebuild, without walking thousands of objects once per added one.
    const std::shared_ptr<CDrawableObject> pFront = m_pObjectModel ? m_pObjectModel->GetObject(0) : nullptr;
    if (pFront && pFront->GetUID() == nUID && m_pObjectModel->GetObjectCount() == GetDrawableObjectCount() + 1 &&
        (GetDrawableObjectCount() == 0 || GetDrawableObject(0) == m_pObjectModel->GetObject(1)))
        InsertDrawableObjectAtFront(pFront);
    else
        RebuildObjects();
}

void CImageView2D::slot_DeleteDrawableObject(uint, QString)
{
    RebuildObjects();
}

void CImageView2D::slot_ChangeDrawableObjectProperty(uint nUID)
{
    // A property change leaves the list as it is; only the picture of that one object changes.
    InvalidateDrawableObject(nUID);
}

void CImageView2D::slot_ClearObject()
{
    ClearDrawableObjects();
}

void CImageView2D::slot_ZoomFit()
{
    m_anchorFitted = QPointF(0, 0);
    m_anchorScreen = QPointF(0, 0);
    m_crossPoint = QPointF(0, 0);
    m_dblScale = 1.0;
    m_offset = QSizeF(0, 0);
    UpdateViewport();
    update();
}

void CImageView2D::slot_Goto()
{
    const QSize imageSize = GetDisplayImage().size();
    if (imageSize.isEmpty())
        return;
    CImageView2DGotoDialog dialog(this);
    dialog.SetRange(imageSize.width() - 1, imageSize.height() - 1);
    if (CPrompt::ExecDialog(&dialog) != QDialog::Accepted)
        return;
    m_offset = QSizeF(-dialog.GetX(), -dialog.GetY());
    UpdateViewport();
    update();
}

const CImageView2D::SModeSignals* CImageView2D::ModeSignals(int nMode)
{
    using Self = CImageView2D;
    // In the order of the modes; panning has no gesture signals.
    static const SModeSignals modes[] = {
        {&Self::signal_SelectMovingStart, &Self::signal_SelectMovingDoing, &Self::signal_SelectMovingEnd},
        {nullptr, nullptr, nullptr},
        {&Self::signal_DrawRectangleStart, &Self::signal_DrawRectangleDoing, &Self::signal_DrawRectangleEnd},
        {&Self::signal_DrawEllipseStart, &Self::signal_DrawEllipseDoing, &Self::signal_DrawEllipseEnd},
        {&Self::signal_DrawCircleStart, &Self::signal_DrawCircleDoing, &Self::signal_DrawCircleEnd},
        {&Self::signal_DrawPolygonStart, &Self::signal_DrawPolygonDoing, &Self::signal_DrawPolygonEnd},
        {&Self::signal_DrawLineStart, &Self::signal_DrawLineDoing, &Self::signal_DrawLineEnd},
    };
    return nMode >= 0 && nMode < static_cast<int>(sizeof(modes) / sizeof(modes[0])) ? &modes[nMode] : &modes[1];
}

void CImageView2D::mousePressEvent(QMouseEvent* pEvent)
{
    if (!m_pModeModel)
        return;
    emit signal_Active();
    if (pEvent->button() == Qt::LeftButton)
        m_bLeftPressed = true;
    else if (pEvent->button() == Qt::RightButton)
        m_bRightPressed = true;
    const Mode eMode = m_pModeModel->GetMode();
    if (m_bLeftPressed && eMode != CImageViewModeModel::EImageView2DMode_Panning)
    {
        m_bMoving = true;
        m_crossPoint = pEvent->pos();
        update();
    }
    m_lastMousePosition = pEvent->pos();
    if (pEvent->button() == Qt::LeftButton && eMode == CImageViewModeModel::EImageView2DMode_Selecting)
        m_pProposalLayer->SetSelectedID(ProposalUnder(MapToImage(pEvent->pos())));
    const SModeSignals* pSignals = ModeSignals(eMode);
    if (m_bLeftPressed && pSignals->start)
        emit(this->*pSignals->start)(MapToImage(pEvent->pos()));
}

void CImageView2D::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (!m_pModeModel || pEvent->pos() == m_lastMousePosition)
        return;
    const QPointF pressPoint = MapToImage(m_lastMousePosition);
    const QPointF currentPoint = MapToImage(pEvent->pos());
    const Mode eMode = m_pModeModel->GetMode();
    if (m_bLeftPressed && eMode != CImageViewModeModel::EImageView2DMode_Panning)
    {
        m_bMoving = true;
        m_crossPoint = pEvent->pos();
        update();
    }
    emit signal_ChangeMousePosition(currentPoint);

    const SModeSignals* pSignals = ModeSignals(eMode);
    if (eMode == CImageViewModeModel::EImageView2DMode_Panning)
    {
        if (!m_bLeftPressed)
            return;
        const QPoint delta = pEvent->pos() - m_lastMousePosition;
        m_offset += QSizeF(delta.x() / m_dblScale, delta.y() / m_dblScale);
        m_lastMousePosition = pEvent->pos();
        UpdateViewport();
        update();
    }
    else if (m_bLeftPressed)
        emit(this->*pSignals->doing)(pressPoint, currentPoint);
    else if (eMode == CImageViewModeModel::EImageView2DMode_Selecting)
        emit signal_CheckResizeRotate(currentPoint);
    else if (eMode == CImageViewModeModel::EImageView2DMode_Drawing_Polygon)
        emit signal_DrawPolygonWaiting(currentPoint);
}

void CImageView2D::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (!m_pModeModel)
        return;
    const QPointF pressPoint = MapToImage(m_lastMousePosition);
    const QPointF releasePoint = MapToImage(pEvent->pos());
    if (m_bMoving)
        update();
    m_bMoving = false;
    const Mode eMode = m_pModeModel->GetMode();
    const SModeSignals* pSignals = ModeSignals(eMode);
    // A press and release at one point finishes nothing: selecting picked on the press, and a rectangle, ellipse,
    // circle or ruler spanned by one point would have no size. Only a polygon gains its vertices from clicks.
    const bool bClick = pressPoint == releasePoint && eMode != CImageViewModeModel::EImageView2DMode_Drawing_Polygon;
    if (m_bLeftPressed && pSignals->end && !bClick)
        emit(this->*pSignals->end)(pressPoint, releasePoint);
    m_bLeftPressed = false;
    m_bRightPressed = false;
}

void CImageView2D::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    const int nID = pEvent->button() == Qt::LeftButton ? ProposalUnder(MapToImage(pEvent->pos())) : -1;
    if (nID < 0)
    {
        // As before: the second press of a double-click is a press.
        mousePressEvent(pEvent);
        return;
    }
    emit signal_AcceptProposal(nID);
}

int CImageView2D::ProposalUnder(const QPointF& point) const
{
    if (!m_pModeModel || m_pModeModel->GetMode() != CImageViewModeModel::EImageView2DMode_Selecting ||
        !m_pProposalLayer->HasProposals() || GetWindow().isEmpty())
        return -1;
    if (m_pObjectModel && m_pObjectModel->FindObjectAt(point))
        return -1;
    return m_pProposalLayer->ProposalAt(point);
}

bool CImageView2D::PressProposalKey(QKeyEvent* pEvent)
{
    const int nKey = pEvent->key();
    const int nSelected = m_pProposalLayer->GetSelectedID();
    if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter)
    {
        if (pEvent->modifiers().testFlag(Qt::ControlModifier) && m_pProposalLayer->HasProposals())
            emit signal_AcceptAllProposals();
        else if (nSelected >= 0)
            emit signal_AcceptProposal(nSelected);
        else
            return false;
        return true;
    }
    // The selected proposal is what Delete means then; the boxes, none of which the press selected, are left alone.
    if ((nKey == Qt::Key_Delete || nKey == Qt::Key_Backspace) && nSelected >= 0)
    {
        emit signal_RejectProposal(nSelected);
        return true;
    }
    return false;
}

void CImageView2D::wheelEvent(QWheelEvent* pEvent)
{
    const double dblScale = m_dblScale + pEvent->angleDelta().y() * 0.001 * m_dblScale;
    const QSizeF fitted = FittedSize();
    if (dblScale <= 0.1 || std::max(fitted.width(), fitted.height()) * dblScale >= kMaxViewportExtent)
    {
        pEvent->ignore();
        return;
    }
    const QPointF position = pEvent->position();
    m_anchorFitted += (position - m_anchorScreen) / m_dblScale;
    m_anchorScreen = position;
    m_dblScale = dblScale;
    UpdateViewport();
    update();
    pEvent->accept();
}

void CImageView2D::keyPressEvent(QKeyEvent* pEvent)
{
    if (PressProposalKey(pEvent))
        return;
    const int nKey = pEvent->key();
    // A drawing in progress is what Escape cancels first; only the next Escape clears the proposals.
    const Mode eMode = m_pModeModel ? m_pModeModel->GetMode() : CImageViewModeModel::EImageView2DMode_Selecting;
    const bool bDrawing = m_bLeftPressed || (eMode != CImageViewModeModel::EImageView2DMode_Selecting &&
                                             eMode != CImageViewModeModel::EImageView2DMode_Panning);
    emit signal_PressKey(nKey);
    const double dblStep = pEvent->modifiers().testFlag(Qt::ShiftModifier) ? 10.0 : 1.0;
    if (nKey == Qt::Key_Escape)
    {
        m_bLeftPressed = m_bRightPressed = m_bMoving = false;
        update();
        if (!bDrawing && m_pProposalLayer->HasProposals())
            emit signal_ClearProposals();
    }
    else if (nKey == Qt::Key_Left || nKey == Qt::Key_Right)
        emit signal_MoveSelectionBy(QPointF(nKey == Qt::Key_Left ? -dblStep : dblStep, 0.0));
    else if (nKey == Qt::Key_Up || nKey == Qt::Key_Down)
        emit signal_MoveSelectionBy(QPointF(0.0, nKey == Qt::Key_Up ? -dblStep : dblStep));
    else if (pEvent->matches(QKeySequence::Undo))
        emit signal_Undo();
    else if (pEvent->matches(QKeySequence::Redo))
        emit signal_Redo();
    else if (pEvent->matches(QKeySequence::Copy))
        emit signal_Copy();
    else if (pEvent->matches(QKeySequence::Paste))
        emit signal_Paste();
}

void CImageView2D::dragEnterEvent(QDragEnterEvent* pEvent)
{
    if (pEvent->mimeData() && pEvent->mimeData()->hasUrls())
        pEvent->acceptProposedAction();
}

void CImageView2D::dropEvent(QDropEvent* pEvent)
{
    if (!pEvent->mimeData())
        return;
    for (const QUrl& url : pEvent->mimeData()->urls())
        if (url.isLocalFile())
            emit signal_AddImage(url.toLocalFile());
    pEvent->acceptProposedAction();
}

void CImageView2D::resizeEvent(QResizeEvent* pEvent)
{
    CDrawableLayer::resizeEvent(pEvent);
    m_pDrawingObjectLayer->setGeometry(rect());
    m_pProposalLayer->setGeometry(rect());
    UpdateViewport();
    update();
}

void CImageView2D::showEvent(QShowEvent* pEvent)
{
    CDrawableLayer::showEvent(pEvent);
    emit signal_Active();
}
