#include "canvas/CImageView2DToolPanel.h"

#include "canvas/CImageViewModeModel.h"
#include "frame/CLogger.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QMetaEnum>
#include <QPushButton>
#include <QVBoxLayout>

CImageView2DToolPanel::CImageView2DToolPanel(CImageViewModeModel* pModeModel, QWidget* parent)
    : QWidget(parent), m_pModeModel(pModeModel)
{
    auto* pLayout = new QVBoxLayout(this);
    auto* pGroup = new QGroupBox("ROI", this);
    m_pGrid = new QGridLayout(pGroup);
    pLayout->addWidget(pGroup);
    pLayout->addStretch();

    m_pSelect = AddButton("Select", 0, 0);
    m_pPanning = AddButton("Panning", 0, 1);
    m_pRectangle = AddButton("Rect", 1, 0);
    m_pCircle = AddButton("Circle", 1, 1);
    m_pEllipse = AddButton("Ellipse", 2, 0);
    m_pPolygon = AddButton("Polygon", 2, 1);

    connect(m_pSelect, &QPushButton::pressed, this, &CImageView2DToolPanel::signal_SelectMode);
    connect(m_pPanning, &QPushButton::pressed, this, &CImageView2DToolPanel::signal_PanningMode);
    connect(m_pRectangle, &QPushButton::pressed, this, &CImageView2DToolPanel::signal_ROIRectangleSelected);
    connect(m_pCircle, &QPushButton::pressed, this, &CImageView2DToolPanel::signal_ROICircleSelected);
    connect(m_pEllipse, &QPushButton::pressed, this, &CImageView2DToolPanel::signal_ROIEllipseSelected);
    connect(m_pPolygon, &QPushButton::pressed, this, &CImageView2DToolPanel::signal_ROIPolygonSelected);

    if (m_pModeModel)
        connect(m_pModeModel, &CImageViewModeModel::signal_ChangeViewMode, this,
                &CImageView2DToolPanel::slot_ChangeViewMode);
}

CImageView2DToolPanel::~CImageView2DToolPanel() = default;

QPushButton* CImageView2DToolPanel::AddButton(const QString& strText, int nRow, int nColumn)
{
    auto* pButton = new QPushButton(strText, this);
    pButton->setCheckable(true);
    pButton->setAutoExclusive(true);
    m_pGrid->addWidget(pButton, nRow, nColumn);
    return pButton;
}

QPushButton* CImageView2DToolPanel::GetModeButton(int nMode) const
{
    switch (nMode)
    {
    case CImageViewModeModel::EImageView2DMode_Selecting:
        return m_pSelect;
    case CImageViewModeModel::EImageView2DMode_Panning:
        return m_pPanning;
    case CImageViewModeModel::EImageView2DMode_Drawing_Rectanlge:
        return m_pRectangle;
    case CImageViewModeModel::EImageView2DMode_Drawing_Ellipse:
        return m_pEllipse;
    case CImageViewModeModel::EImageView2DMode_Drawing_Circle:
        return m_pCircle;
    case CImageViewModeModel::EImageView2DMode_Drawing_Polygon:
        return m_pPolygon;
    default:
        return nullptr;
    }
}

void CImageView2DToolPanel::slot_ChangeViewMode()
{
    if (!m_pModeModel)
        return;
    const int nMode = m_pModeModel->GetMode();
    const char* szName = QMetaEnum::fromType<CImageViewModeModel::EImageView2DMode>().valueToKey(nMode);
    CLogger::Write(ELogLevel_Debug, "%s", szName ? szName : "");

    if (QPushButton* pButton = GetModeButton(nMode))
    {
        pButton->setChecked(true);
        return;
    }
    // Auto-exclusive buttons refuse to uncheck the last checked one; the ruler has no button, so none may stay on.
    for (int nButton = 0; nButton <= CImageViewModeModel::EImageView2DMode_Drawing_Polygon; ++nButton)
    {
        QPushButton* pButton = GetModeButton(nButton);
        pButton->setAutoExclusive(false);
        pButton->setChecked(false);
        pButton->setAutoExclusive(true);
    }
}
