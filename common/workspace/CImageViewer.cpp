#include "workspace/CImageViewer.h"

#include "canvas/CImageView2D.h"
#include "canvas/CImageViewModeModel.h"
#include "frame/CLogger.h"
#include "images/CImageListModel.h"
#include "workspace/CThumbnailCache.h"

#include "Utils/COvrelImage.h"

#include <QApplication>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <utility>

CImageViewer::CImageViewer(CImageViewerModel* pModel, int nViewID, QWidget* parent)
    : QFrame(parent), m_pModel(pModel), m_nViewID(nViewID)
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setSpacing(0);
    pLayout->setContentsMargins(0, 0, 0, 0);
    m_pSplitter = new QSplitter(Qt::Horizontal, this);
    // Named after the viewer, so the window can keep each one's sizes.
    m_pSplitter->setObjectName(QString("CImageViewer_%1 Splitter").arg(m_nViewID));
    pLayout->addWidget(m_pSplitter);

    m_pSplitter->addWidget(BuildThumbnailSide());

    auto* pRight = new QWidget(m_pSplitter);
    auto* pRightLayout = new QVBoxLayout(pRight);
    pRightLayout->setContentsMargins(0, 0, 0, 0);
    pRightLayout->setSpacing(0);
    pRightLayout->addWidget(BuildToolBar());
    m_pContentLayout = new QHBoxLayout;
    m_pContentLayout->setContentsMargins(0, 0, 0, 0);
    m_pContentLayout->setSpacing(0);
    // The content takes all the height the tool bar and the status line leave.
    pRightLayout->addLayout(m_pContentLayout, 1);
    m_pStatusLayout = new QHBoxLayout;
    m_pStatusLayout->setContentsMargins(0, 0, 0, 0);
    m_pStatusLayout->setAlignment(Qt::AlignLeft);
    m_pViewLabel = new QLabel(QString("[View-%1]").arg(m_nViewID), pRight);
    m_pViewLabel->setStyleSheet("QLabel{color: green;}");
    m_pInfoLabel = new QLabel(pRight);
    m_pStatusLayout->addWidget(m_pViewLabel);
    m_pStatusLayout->addWidget(m_pInfoLabel);
    pRightLayout->addLayout(m_pStatusLayout);
    m_pSplitter->addWidget(pRight);
    m_pSplitter->setStretchFactor(0, 1);
    m_pSplitter->setStretchFactor(1, 4);
    connect(m_pSplitter, &QSplitter::splitterMoved, this, &CImageViewer::slot_SplitterMoved);

    setFrameShape(QFrame::Box);
    setObjectName(QString("CImageViewer_%1").arg(m_nViewID));
    setFocusPolicy(Qt::WheelFocus);
    // Focus inside the viewer (on its canvas, mostly) counts as the viewer's focus.
    connect(qApp, &QApplication::focusChanged, this, &CImageViewer::slot_FocusChanged);
}

CImageViewer::~CImageViewer()
{
    // The children go after this body, and a focused canvas that goes hands the focus on: the application would
    // then call the focus slot of a viewer that is only a QWidget any more.
    disconnect(qApp, &QApplication::focusChanged, this, &CImageViewer::slot_FocusChanged);
}

QWidget* CImageViewer::BuildThumbnailSide()
{
    auto* pLeft = new QWidget(m_pSplitter);
    auto* pLayout = new QVBoxLayout(pLeft);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    auto* pHeader = new QWidget(pLeft);
    auto* pHeaderLayout = new QHBoxLayout(pHeader);
    pHeaderLayout->setContentsMargins(0, 0, 0, 0);
    AddButton(pHeader, EButton_AddImage, ":/Image/add.png");
    AddButton(pHeader, EButton_ClearImage, ":/Image/clear.png");
    pLayout->addWidget(pHeader);

    m_pThumbnailModel = new QStandardItemModel(this);
    m_pThumbnails = std::make_unique<CThumbnailCache>(m_pThumbnailModel);
    m_pThumbnailView = new QListView(pLeft);
    m_pThumbnailView->setViewMode(QListView::IconMode);
    m_pThumbnailView->setWrapping(true);
    // Icon mode lets the user drag icons about and rename items; neither means anything here.
    m_pThumbnailView->setMovement(QListView::Static);
    m_pThumbnailView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pThumbnailView->setResizeMode(QListView::Adjust);
    m_pThumbnailView->setItemAlignment(Qt::AlignLeft);
    m_pThumbnailView->setTextElideMode(Qt::ElideRight);
    m_pThumbnailView->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_pThumbnailView->setModel(m_pThumbnailModel);
    m_pSelectionModel = m_pThumbnailView->selectionModel();
    connect(m_pSelectionModel, &QItemSelectionModel::currentChanged, this, &CImageViewer::slot_CurrentChanged);
    pLayout->addWidget(m_pThumbnailView);
    return pLeft;
}

QWidget* CImageViewer::BuildToolBar()
{
    auto* pBar = new QWidget;
    auto* pLayout = new QHBoxLayout(pBar);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setAlignment(Qt::AlignRight);
    const std::pair<EButton, const char*> buttons[] = {{EButton_OpenFile, ":/Image/open-folder.png"},
                                                       {EButton_SaveFile, ":/Image/save_file.png"},
                                                       {EButton_Selection, ":/Image/selection.png"},
                                                       {EButton_Move, ":/Image/move.png"},
                                                       {EButton_Ruler, ":/Image/ruler.png"},
                                                       {EButton_Capture, ":/Image/capture.png"},
                                                       {EButton_Previous, ":/Image/previous.png"},
                                                       {EButton_Next, ":/Image/next.png"},
                                                       {EButton_ZoomFit, ":/Image/zoomfit.png"},
                                                       {EButton_RotateLeft, ":/Image/rotate-left.png"},
                                                       {EButton_RotateRight, ":/Image/rotate-right.png"},
                                                       {EButton_2D, ":/Image/2D.png"},
                                                       {EButton_3D, ":/Image/3D.png"}};
    for (const auto& button : buttons)
        AddButton(pBar, button.first, button.second);

    // Two choices, each shown by one checked button: the interaction mode, and 2D or 3D.
    m_pModeButtons = new QButtonGroup(this);
    for (EButton eButton : {EButton_Selection, EButton_Move, EButton_Ruler})
        m_pModeButtons->addButton(m_apButtons[eButton]);
    m_pViewTypeButtons = new QButtonGroup(this);
    for (EButton eButton : {EButton_2D, EButton_3D})
        m_pViewTypeButtons->addButton(m_apButtons[eButton]);
    for (EButton eButton : {EButton_Selection, EButton_Move, EButton_Ruler, EButton_2D, EButton_3D})
        m_apButtons[eButton]->setCheckable(true);
    m_apButtons[EButton_2D]->setChecked(true);
    // The 3D button waits for SetContent to bring a 3D view.
    m_apButtons[EButton_3D]->setEnabled(false);

    const std::pair<EButton, void (CImageViewer::*)()> presses[] = {
        {EButton_AddImage, &CImageViewer::signal_AddImage},
        {EButton_ClearImage, &CImageViewer::signal_ClearImage},
        {EButton_OpenFile, &CImageViewer::signal_OpenFile},
        {EButton_SaveFile, &CImageViewer::signal_SaveFile},
        {EButton_Selection, &CImageViewer::signal_SelectMode},
        {EButton_Move, &CImageViewer::signal_PanningMode},
        {EButton_Ruler, &CImageViewer::signal_Ruler},
        {EButton_Capture, &CImageViewer::signal_OpenSnipTool},
        {EButton_Previous, &CImageViewer::signal_Previous},
        {EButton_Next, &CImageViewer::signal_Next},
        {EButton_ZoomFit, &CImageViewer::signal_ZoomFit},
        {EButton_RotateLeft, &CImageViewer::signal_RotateLeft},
        {EButton_RotateRight, &CImageViewer::signal_RotateRight},
        {EButton_2D, &CImageViewer::slot_Press2D},
        {EButton_3D, &CImageViewer::slot_Press3D}};
    for (const auto& entry : presses)
        connect(m_apButtons[entry.first], &QAbstractButton::pressed, this, entry.second);
    return pBar;
}

QAbstractButton* CImageViewer::AddButton(QWidget* pParent, EButton eButton, const QString& strIcon)
{
    static const char* const kTips[EButton_Count] = {
        "Add Images", "Clear Images", "Open Files",  "Save Image",  "Select",       "Pan",     "Ruler",  "Capture",
        "Previous",   "Next",         "Zoom To Fit", "Rotate Left", "Rotate Right", "2D View", "3D View"};
    auto* pButton = new QToolButton(pParent);
    pButton->setIcon(QIcon(strIcon));
    pButton->setToolTip(kTips[eButton]);
    pButton->setAutoRaise(true);
    pParent->layout()->addWidget(pButton);
    m_apButtons[eButton] = pButton;
    return pButton;
}

CImageView2D* CImageViewer::GetCanvas() const
{
    return m_pCanvas.data();
}

QWidget* CImageViewer::Get3DView() const
{
    return m_p3DView.data();
}

QWidget* CImageViewer::GetProgressWidget() const
{
    return m_pProgress.data();
}

QAbstractButton* CImageViewer::GetButton(EButton eButton) const
{
    return eButton >= 0 && eButton < EButton_Count ? m_apButtons[eButton] : nullptr;
}

std::vector<std::shared_ptr<CDrawableObject>> CImageViewer::GetDrawableObjects() const
{
    return m_pCanvas ? m_pCanvas->GetDrawableObjects() : std::vector<std::shared_ptr<CDrawableObject>>();
}

void CImageViewer::SetContent(CImageView2D* pCanvas, QWidget* p3DView, QWidget* pProgress,
                              CImageListModel* pImageListModel, CImageViewModeModel* pModeModel)
{
    m_pCanvas = pCanvas;
    m_p3DView = p3DView;
    m_pProgress = pProgress;
    m_pImageListModel = pImageListModel;
    m_pModeModel = pModeModel;
    if (pCanvas)
    {
        m_pContentLayout->addWidget(pCanvas);
        pCanvas->show();
        connect(pCanvas, &CImageView2D::signal_Switch2DTo3D, this, &CImageViewer::slot_Press3D);
    }
    if (p3DView)
    {
        m_pContentLayout->addWidget(p3DView);
        p3DView->hide();
        if (p3DView->metaObject()->indexOfSignal("signal_Switch3DTo2D()") >= 0)
            connect(p3DView, SIGNAL(signal_Switch3DTo2D()), this, SLOT(slot_Press2D()));
    }
    m_apButtons[EButton_3D]->setEnabled(p3DView != nullptr);
    if (pProgress)
    {
        pProgress->hide();
        pProgress->setSizePolicy(QSizePolicy::Expanding, pProgress->sizePolicy().verticalPolicy());
        m_pStatusLayout->addWidget(pProgress, 0, Qt::AlignBottom);
    }
    if (pModeModel)
    {
        connect(pModeModel, &CImageViewModeModel::signal_ChangeViewMode, this, &CImageViewer::slot_ChangeViewMode);
        connect(pModeModel, &CImageViewModeModel::signal_ChangeViewType, this, &CImageViewer::slot_ChangeViewType);
    }
    slot_ChangeViewMode();
}

void CImageViewer::slot_Press2D()
{
    if (m_pCanvas)
        m_pCanvas->show();
    if (m_p3DView)
        m_p3DView->hide();
    m_apButtons[EButton_2D]->setChecked(true);
}

void CImageViewer::slot_Press3D()
{
    if (!m_p3DView)
    {
        m_apButtons[EButton_2D]->setChecked(true);
        return;
    }
    if (m_pCanvas)
        m_pCanvas->hide();
    m_p3DView->show();
    m_apButtons[EButton_3D]->setChecked(true);
}

void CImageViewer::slot_ChangeCurrentImage()
{
    const auto pImage = m_pImageListModel ? m_pImageListModel->GetCurrentImage() : nullptr;
    if (!pImage)
    {
        // No image, no size and no pixel: a closed image's figures would describe nothing shown.
        m_pViewLabel->setText(QString("[View-%1]").arg(m_nViewID));
        m_pInfoLabel->clear();
        return;
    }
    m_pViewLabel->setText(QString::asprintf("[View-%d][%dx%dx%dx%d]", m_nViewID, pImage->GetWidth(),
                                            pImage->GetHeight(), pImage->GetChannels(), pImage->GetBitDepth()));
    // A current image replaced in place (rotated, filtered) is a new image for its thumbnail.
    const int nMade = m_pThumbnails->GetMadeCount();
    m_pThumbnails->Refresh(m_pImageListModel->GetCurrentIndex(), pImage, ThumbnailWidth());
    if (m_pThumbnails->GetMadeCount() != nMade)
    {
        emit m_pThumbnailModel->layoutAboutToBeChanged();
        emit m_pThumbnailModel->layoutChanged();
    }
}

void CImageViewer::slot_ChangeMousePosition()
{
    const auto pImage = m_pImageListModel ? m_pImageListModel->GetCurrentImage() : nullptr;
    if (!pImage)
    {
        m_pInfoLabel->clear();
        return;
    }
    // Whole pixels by flooring: the strip just left of or above the image is not pixel 0.
    const QPointF position = m_pImageListModel->GetMousePosition();
    const int x = static_cast<int>(std::floor(position.x()));
    const int y = static_cast<int>(std::floor(position.y()));
    const unsigned char* pPixel = std::as_const(*pImage).GetPixel(x, y);
    QString strText;
    if (pPixel)
    {
        const QString strPlace = QString("[X=%1; Y=%2] ").arg(x).arg(y);
        switch (pImage->GetChannels())
        {
        case 1:
            strText = strPlace + QString("[V=%1]").arg(pPixel[0]);
            break;
        case 3:
            strText = strPlace + QString("[V=%1;%2;%3]").arg(pPixel[0]).arg(pPixel[1]).arg(pPixel[2]);
            break;
        case 4:
            strText = strPlace + QString("[V=%1;%2;%3;%4]").arg(pPixel[0]).arg(pPixel[1]).arg(pPixel[2]).arg(pPixel[3]);
            break;
        default:
            break;
        }
    }
    m_pInfoLabel->setText(strText);
}

void CImageViewer::slot_ChangeImageList()
{
    CThumbnailCache::ImageList vctImages;
    if (m_pImageListModel)
        for (int i = 0; i < m_pImageListModel->GetImageCount(); ++i)
            vctImages.push_back(m_pImageListModel->GetImage(i));
    m_bSyncingThumbnails = true;
    m_pThumbnails->Sync(vctImages, ThumbnailWidth());
    m_bSyncingThumbnails = false;
    // Removing items moves the list's current item by itself; it must keep marking the current image.
    slot_ChangeCurrentIndex();
}

void CImageViewer::slot_ChangeCurrentIndex()
{
    if (!m_pImageListModel)
        return;
    const QModelIndex index = m_pThumbnailModel->index(m_pImageListModel->GetCurrentIndex(), 0);
    m_bSyncingThumbnails = true;
    if (index.isValid())
        m_pSelectionModel->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    else
        m_pSelectionModel->clear();
    m_bSyncingThumbnails = false;
}

void CImageViewer::slot_CurrentChanged(QModelIndex current, QModelIndex)
{
    if (!m_bSyncingThumbnails && current.isValid())
        emit signal_SelectImage(current.row());
}

void CImageViewer::slot_ChangeViewMode()
{
    QAbstractButton* pChecked = nullptr;
    switch (m_pModeModel ? m_pModeModel->GetMode() : CImageViewModeModel::EImageView2DMode_Selecting)
    {
    case CImageViewModeModel::EImageView2DMode_Selecting:
        pChecked = m_apButtons[EButton_Selection];
        break;
    case CImageViewModeModel::EImageView2DMode_Panning:
        pChecked = m_apButtons[EButton_Move];
        break;
    case CImageViewModeModel::EImageView2DMode_Drawing_Line:
        pChecked = m_apButtons[EButton_Ruler];
        break;
    default:
        break;
    }
    if (pChecked)
    {
        pChecked->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; drawing modes have none here.
    m_pModeButtons->setExclusive(false);
    for (QAbstractButton* pButton : m_pModeButtons->buttons())
        pButton->setChecked(false);
    m_pModeButtons->setExclusive(true);
}

void CImageViewer::slot_ChangeViewType()
{
    const bool b3D = m_p3DView && !m_p3DView->isHidden();
    m_apButtons[b3D ? EButton_3D : EButton_2D]->setChecked(true);
}

unsigned int CImageViewer::CurrentImageUID() const
{
    const auto pImage = m_pCanvas ? m_pCanvas->GetCurrentImage() : nullptr;
    return pImage ? pImage->GetUID() : ~0u;
}

void CImageViewer::slot_AddDrawableObject(uint nUID, QString strName)
{
    emit signal_AddDrawableObjectWithViewID(m_nViewID, CurrentImageUID(), nUID, strName);
}

void CImageViewer::slot_DeleteDrawableObject(uint nUID, QString strName)
{
    emit signal_DeleteDrawableObjectWithViewID(m_nViewID, CurrentImageUID(), nUID, strName);
}

void CImageViewer::slot_BeforeDeleteDrawableObject(uint nUID, QString strName)
{
    emit signal_BeforeDeleteDrawableObjectWithViewID(m_nViewID, CurrentImageUID(), nUID, strName);
}

void CImageViewer::slot_ChangeDrawableObjectProperty(uint nUID)
{
    emit signal_ChangeDrawableObjectPropertyWithViewID(m_nViewID, CurrentImageUID(), nUID);
}

void CImageViewer::slot_SplitterMoved(int, int)
{
    RescaleThumbnails();
}

void CImageViewer::resizeEvent(QResizeEvent* pEvent)
{
    QFrame::resizeEvent(pEvent);
    RescaleThumbnails();
}

int CImageViewer::ThumbnailWidth() const
{
    // The room beside a vertical scroll bar, whether it shows or not, so that one appearing does not change the width.
    const int nScrollBar = m_pThumbnailView->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                                  m_pThumbnailView->verticalScrollBar());
    return std::max(16, m_pThumbnailView->contentsRect().width() - nScrollBar);
}

void CImageViewer::RescaleThumbnails()
{
    const int nWidth = ThumbnailWidth();
    m_pThumbnails->Rescale(nWidth);
    m_pThumbnailView->setIconSize(QSize(nWidth, 4 * nWidth));
}

void CImageViewer::mousePressEvent(QMouseEvent* pEvent)
{
    CLogger::Write(ELogLevel_Debug, "mousePressEvent %d", m_nViewID);
    ShowFocus(true);
    QFrame::mousePressEvent(pEvent);
}

bool CImageViewer::Contains(const QWidget* pWidget) const
{
    return pWidget && (pWidget == this || isAncestorOf(pWidget));
}

void CImageViewer::slot_FocusChanged(QWidget* pOld, QWidget* pNow)
{
    const bool bWasIn = Contains(pOld);
    const bool bNowIn = Contains(pNow);
    if (bNowIn && !bWasIn)
    {
        CLogger::Write(ELogLevel_Debug, "Focus In  %d", m_nViewID);
        ShowFocus(true);
    }
    else if (bWasIn && !bNowIn)
    {
        CLogger::Write(ELogLevel_Debug, "Focus Out  %d", m_nViewID);
        ShowFocus(false);
    }
}

void CImageViewer::ShowFocus(bool bFocused)
{
    const QString strName = objectName();
    const QString strStyle = bFocused ? QString("#%1 { border: 0.5px solid rgb(0, 100, 200); }").arg(strName)
                                      : QString("#%1 { border: 0.5px solid none; }").arg(strName);
    // A new style sheet polishes every child again; the same one again changes nothing.
    if (styleSheet() != strStyle)
        setStyleSheet(strStyle);
}
